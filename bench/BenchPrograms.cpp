#include "BenchPrograms.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

#include "host/dbus/KestrelHostConnection.h"

namespace benchprograms {

QByteArray scrambledScenario(int stations, int inRange) {
    QByteArray json = R"({"own": {"callsign": "G0OWN", "lat": 52.0, "lon": -1.0}, "stations": [)";
    for (int i = 1; i < stations; ++i) {
        const int n = int((qint64(i) * 7919) % stations);
        const bool near = n <= inRange; // n runs from 1
        // Near: a grid of 25 rows 0.0015 degree apart, 0.002 degree between columns.
        const double lat = near ? 52.0 + (n % 25) * 0.0015 : 52.4 + (n % 100) * 0.01;
        const double lon = near ? -1.0 + (n / 25) * 0.002 : -1.5 + (n / 100) * 0.01;
        json += QStringLiteral(R"(%1{"callsign": "ST%2", "lat": %3, "lon": %4})")
                    .arg(i > 1 ? "," : "")
                    .arg(n)
                    .arg(lat, 0, 'f', 5)
                    .arg(lon, 0, 'f', 5)
                    .toUtf8();
    }
    return json + "]}";
}

QProcessEnvironment privateEnvironment(const QString& home) {
    const QDir dir(home);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath(QStringLiteral("run")));
    env.insert(QStringLiteral("HOME"), home);
    QDir().mkpath(dir.filePath(QStringLiteral("run")));
    return env;
}

bool startKestrel32(QProcess& process, const QString& home, const QByteArray& scenario,
                    const QStringList& extraArguments) {
    const QDir dir(home);
    QFile file(dir.filePath(QStringLiteral("scenario.json")));
    if (!file.open(QIODevice::WriteOnly) || file.write(scenario) != scenario.size())
        return false;
    file.close();
    process.setProcessEnvironment(privateEnvironment(home));
    process.start(QStringLiteral(KESTREL32_PROGRAM),
                  QStringList{QStringLiteral("--scenario"), file.fileName(),
                              QStringLiteral("--folder"), dir.filePath(QStringLiteral("k32"))} +
                      extraArguments);
    QDeadlineTimer deadline(30000);
    while (!kestrelHostOnBus()) {
        if (deadline.hasExpired() || process.state() == QProcess::NotRunning)
            return false;
        QThread::msleep(20);
    }
    return true;
}

double residentMb(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1.0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return -1.0;
}

} // namespace benchprograms
