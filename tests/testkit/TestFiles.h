// File helpers for tests that read and write real files byte for byte.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>

#include <csignal>
#include <sys/resource.h>

// Bytes from a literal, embedded NUL bytes included.
template <std::size_t N> QByteArray bytes(const char (&text)[N]) {
    return QByteArray(text, static_cast<qsizetype>(N - 1));
}

inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Writes `content` as the whole file, making its folder first.
inline bool putFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

inline QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// While alive, no file of this process may grow past limit bytes: a write beyond it fails as
// on a full disk. Works for root too, unlike read-only permissions.
class FileSizeLimit final {
public:
    explicit FileSizeLimit(rlim_t limit) : m_oldHandler(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        const rlimit lowered{limit, m_old.rlim_max};
        m_active = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    bool active() const { return m_active; }

private:
    void (*m_oldHandler)(int);
    rlimit m_old{};
    bool m_active = false;
};
