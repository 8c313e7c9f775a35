#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonValue>
#include <QString>

#include <functional>

// The record of every automation call and event, one JSON object a line, flushed per line
// so that a reader sees each call as soon as it was answered. Without a file it records
// nothing.
class Journal final {
public:
    Journal();
    Q_DISABLE_COPY_MOVE(Journal)

    // Opens (truncates) the journal file; false with `error` set when it cannot be written.
    bool open(const QString& path, QString* error);
    bool isOpen() const { return m_file.isOpen(); }

    // {"t", "call", "args"} plus "result" when `result` is not undefined.
    void call(const QString& name, const QJsonArray& args,
              const QJsonValue& result = QJsonValue(QJsonValue::Undefined));
    // {"t", "call", "args", "error"}
    void failedCall(const QString& name, const QJsonArray& args, const QString& error);
    // {"t", "event", "args"}
    void event(const QString& name, const QJsonArray& args = {});

    // Told the name of each call once it has been answered, journal file or not.
    void setAnsweredCallWatcher(std::function<void(const QString&)> watcher) {
        m_answeredCallWatcher = std::move(watcher);
    }

    // Milliseconds since the journal (the program) started.
    qint64 elapsedMs() const { return m_clock.elapsed(); }

    // One line, without its line end (exposed for tests).
    static QByteArray line(qint64 t, const char* kind, const QString& name, const QJsonArray& args,
                           const QJsonValue& result, const QString& error);

private:
    void write(const QByteArray& line);

    QElapsedTimer m_clock;
    QFile m_file;
    std::function<void(const QString&)> m_answeredCallWatcher;
};
