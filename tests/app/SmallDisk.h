#pragma once

#include <QString>
#include <QTemporaryDir>

// A folder on a disk of its own: a small tmpfs mounted over a temporary folder, which can
// be filled up or made read-only. Where mounting is not allowed (no privilege in a
// container), `mounted()` is false and a file-size limit stands in (FileSizeLimit).
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

// While it lives, no file of this process can grow beyond `bytes`: a write past the limit
// fails (EFBIG) instead of raising SIGXFSZ, as a full disk's write fails.
class FileSizeLimit final {
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    qint64 m_oldSoft;
    void (*m_oldHandler)(int);
};

// The names in a folder but "." and "..", sorted.
QStringList folderEntries(const QString& path);
