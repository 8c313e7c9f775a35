#pragma once

// Helpers for tests that read and write real files.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QIODevice>

#include <csignal>
#include <cstddef>
#include <sys/resource.h>

// Bytes from a literal, embedded NUL bytes included.
template <std::size_t N> QByteArray bytes(const char (&text)[N]) {
    return QByteArray(text, static_cast<qsizetype>(N - 1));
}

inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

inline bool putFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

inline QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// While alive, no file of this process may grow past limit bytes: a write beyond it fails as
// on a full disk (the process ignores the signal that would otherwise end it). Works for
// root too, unlike read-only permissions.
class FileSizeLimit final {
public:
    explicit FileSizeLimit(rlim_t limit) {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit lowered = m_old;
        lowered.rlim_cur = limit;
        m_active = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool active() const { return m_active; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_active = false;
};

// A device that takes (or gives) only the first `limit` bytes, then fails.
class FailingDevice final : public QIODevice {
public:
    FailingDevice(QByteArray content, qint64 limit)
        : m_content(std::move(content)), m_limit(limit) {}

    QByteArray written() const { return m_written; }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const qint64 left = std::min<qint64>(m_limit, m_content.size()) - m_position;
        if (left <= 0)
            return m_position >= m_content.size() ? 0 : -1;
        const qint64 count = std::min(left, maxSize);
        memcpy(data, m_content.constData() + m_position, static_cast<std::size_t>(count));
        m_position += count;
        return count;
    }
    qint64 writeData(const char* data, qint64 maxSize) override {
        const qint64 left = m_limit - m_written.size();
        if (left <= 0)
            return -1;
        const qint64 count = std::min(left, maxSize);
        m_written.append(data, count);
        return count;
    }
    bool isSequential() const override { return true; }

private:
    QByteArray m_content;
    qint64 m_limit;
    qint64 m_position = 0;
    QByteArray m_written;
};
