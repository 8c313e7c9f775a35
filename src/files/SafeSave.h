#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <functional>

// Files are rewritten whole; a write that stops half-way (disk full, the process killed)
// must not cost the operator the previous file. These write a new file beside the old one
// and put it in place only once it is complete. In a folder where no new file can be made
// but the file itself is writable, the file is written in place, as before.

// Runs write on the new file; false (the old file untouched) when write returns false or
// the file cannot be opened, written or put in place.
bool saveReplacing(const QString& path, const std::function<bool(QIODevice&)>& write);

// Writes all of bytes to device; false when the device takes fewer.
bool writeAll(QIODevice& device, const QByteArray& bytes);

// Copies source over target (made or replaced only once the copy is complete).
bool copyReplacing(const QString& source, const QString& target);
