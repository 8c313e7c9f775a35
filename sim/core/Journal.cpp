#include "Journal.h"

#include <QJsonDocument>

namespace {

QByteArray encode(const QJsonValue& value) {
    // QJsonDocument only serialises containers: wrap and strip the brackets.
    const QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return wrapped.mid(1, wrapped.size() - 2);
}

} // namespace

Journal::Journal() {
    m_clock.start();
}

bool Journal::open(const QString& path, QString* error) {
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        if (error)
            *error =
                QStringLiteral("cannot write the journal %1 (%2)").arg(path, m_file.errorString());
        return false;
    }
    return true;
}

QByteArray Journal::line(qint64 t, const char* kind, const QString& name, const QJsonArray& args,
                         const QJsonValue& result, const QString& error) {
    // Keys in a fixed, readable order: t first, then what happened.
    QByteArray text = "{\"t\":" + QByteArray::number(t) + ",\"" + kind + "\":" + encode(name) +
                      ",\"args\":" + QJsonDocument(args).toJson(QJsonDocument::Compact);
    if (!result.isUndefined())
        text += ",\"result\":" + encode(result);
    if (!error.isNull())
        text += ",\"error\":" + encode(error);
    return text + '}';
}

void Journal::call(const QString& name, const QJsonArray& args, const QJsonValue& result) {
    if (m_file.isOpen())
        write(line(elapsedMs(), "call", name, args, result, QString()));
    if (m_answeredCallWatcher)
        m_answeredCallWatcher(name);
}

void Journal::failedCall(const QString& name, const QJsonArray& args, const QString& error) {
    if (m_file.isOpen())
        write(line(elapsedMs(), "call", name, args, QJsonValue(QJsonValue::Undefined),
                   error.isNull() ? QStringLiteral("") : error));
}

void Journal::event(const QString& name, const QJsonArray& args) {
    if (m_file.isOpen())
        write(line(elapsedMs(), "event", name, args, QJsonValue(QJsonValue::Undefined), QString()));
}

void Journal::write(const QByteArray& line) {
    // Unbuffered: each line reaches the file in one write, whole.
    m_file.write(line + '\n');
}
