#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QPair>
#include <QString>

#include <optional>

// Settings files (Ringwarden.INI, the host's kestrel32.ini) read and written as the Windows
// profile calls do; the text rules are in ProfileText.h. A file name without a folder would
// be looked up in the Windows folder there; there is no such folder here, so it is looked up
// nowhere: reading gives the default and writing fails.

// Files larger than this are not taken for settings files: they are neither read (the
// default comes back) nor rewritten.
inline constexpr qint64 kMaxProfileFileBytes = 16 * 1024 * 1024;

QString readProfileString(const QString& file, const QString& section, const QString& key,
                          const QString& defaultValue, int bufferSize = 500);

// false when the file could not be written; the file is then as it was.
bool writeProfileString(const QString& file, const QString& section, const QString& key,
                        const QString& value);

// Several keys of one section set in the given order with a single rewrite of the file; the
// result is the same as writing them one after another.
bool writeProfileStrings(const QString& file, const QString& section,
                         const QList<QPair<QString, QString>>& keysAndValues);

// The whole content of device, or nothing when it cannot be read to its end or holds more
// than maxBytes.
std::optional<QByteArray> readProfileBytes(QIODevice& device,
                                           qint64 maxBytes = kMaxProfileFileBytes);
