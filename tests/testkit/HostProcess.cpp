#include "HostProcess.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDebug>
#include <QFile>
#include <QJsonDocument>

#include "TestFiles.h"
#include "host/dbus/KestrelBusNames.h"

static bool nameOnBus() {
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(
        kestrelbus::serviceName());
}

HostProcess::HostProcess() {
    m_process.setProcessEnvironment(environment());
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
}

HostProcess::~HostProcess() {
    m_process.terminate(); // nothing when it is not running
    if (!m_process.waitForFinished(5000))
        m_process.kill();
    m_process.waitForFinished(2000);
}

QProcessEnvironment HostProcess::environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir() + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), dir() + QStringLiteral("/data"));
    env.insert(QStringLiteral("HOME"), dir());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

QString HostProcess::program() {
    return QStringLiteral(RINGWARDEN_BIN_DIR "/kestrel32");
}

QString HostProcess::writeScenario(const QByteArray& json, const QString& name) {
    const QString path = dir() + QLatin1Char('/') + name;
    putFile(path, json);
    return path;
}

bool HostProcess::start(const QByteArray& scenarioJson, const QStringList& extra) {
    const QString scenario = writeScenario(scenarioJson);
    m_process.start(program(),
                    QStringList{QStringLiteral("--scenario"), scenario, QStringLiteral("--folder"),
                                folder(), QStringLiteral("--journal"), journalPath()} +
                        extra);
    const bool started =
        m_process.waitForStarted(5000) &&
        waitUntil([&] { return m_process.state() == QProcess::NotRunning || nameOnBus(); }) &&
        m_process.state() == QProcess::Running;
    // A tracker that ended says why on its standard error: keep that in the test's log.
    if (!started && m_process.state() == QProcess::NotRunning)
        qWarning().noquote() << "kestrel32 did not start:"
                             << m_process.readAllStandardError().trimmed();
    return started;
}

int HostProcess::runToEnd(const QStringList& arguments, QString* standardError) {
    m_process.start(program(), arguments);
    if (!m_process.waitForFinished(20000))
        return -1;
    if (standardError)
        *standardError = QString::fromLocal8Bit(m_process.readAllStandardError());
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

bool HostProcess::stop() {
    m_process.terminate();
    return waitUntil([&] { return m_process.state() == QProcess::NotRunning; });
}

QList<QJsonObject> HostProcess::journal(const QString& key, const QString& name) const {
    QList<QJsonObject> lines;
    QFile file(journalPath());
    if (file.open(QIODevice::ReadOnly))
        for (const QByteArray& line : file.readAll().split('\n'))
            if (const QJsonObject o = QJsonDocument::fromJson(line).object();
                !line.isEmpty() && (key.isEmpty() || o.value(key).toString() == name))
                lines << o;
    return lines;
}

bool HostProcess::waitForBusName(bool present, int ms) {
    return waitUntil([&] { return nameOnBus() == present; }, ms);
}
