#pragma once

#include <csignal>
#include <unistd.h>

#include <QFile>
#include <QProcess>

// One NMEA sentence with its XOR checksum and CR LF, as a receiver sends it.
inline QByteArray nmeaSentence(const QByteArray& body) {
    quint8 sum = 0;
    for (const char c : body)
        sum ^= static_cast<quint8>(c);
    return "$" + body + "*" + QByteArray::number(sum, 16).rightJustified(2, '0').toUpper() + "\r\n";
}

// gpsfake (and the gpsd it starts) replaying a log once on 127.0.0.1:port, one sentence
// every `seconds`, in a process group of its own so that both end together.
struct FakeGpsd {
    QProcess process;
    FakeGpsd(quint16 port, const QString& log, const char* seconds) {
        process.setChildProcessModifier([] { ::setsid(); });
        process.start(QStringLiteral("gpsfake"), {"-q", "-1", "-c", QString::fromLatin1(seconds),
                                                  "-P", QString::number(port), log});
    }
    ~FakeGpsd() {
        const pid_t group = static_cast<pid_t>(process.processId());
        if (group <= 0)
            return;
        ::kill(-group, SIGINT);
        if (!process.waitForFinished(5000))
            ::kill(-group, SIGKILL);
        process.waitForFinished(2000);
        QFile::remove(QStringLiteral("/tmp/gpsfake-%1.sock").arg(group));
    }
};
