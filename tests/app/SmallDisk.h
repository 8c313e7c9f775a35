#pragma once

#include <QString>
#include <QTemporaryDir>

#include "TestFiles.h"

// A folder on a disk of its own: a small tmpfs mounted over a temporary folder, which can
// be filled up or made read-only. Where mounting is not allowed (no privilege in a
// container), `mounted()` is false and a FileSizeLimit stands in.
class SmallDisk final {
public:
    explicit SmallDisk(qint64 bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return m_mounted; }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }

    // Writes a file that takes all the room left but about `leave` bytes.
    bool fill(qint64 leave);
    // The same disk, read-only from now on (false where that is refused).
    bool makeReadOnly();

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};
