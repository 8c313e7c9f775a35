// Guards against the settings file beating the command line, being ignored, or blamed wrongly,
// and against a bad command line taken silently.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "CommandLine.h"
#include "TestFiles.h"

namespace {

struct Start {
    QByteArray file;
    QStringList args;
    const char* outcome; // own, gpsd, kiss, APRS-IS, login, range, unit, expiry; or the error
                         // (%F the settings file, %T the hint to --help)
};

QString outcomeOf(const HostOptions& o) {
    const feed::FeedOptions& f = o.feed;
    const auto address = [](const QString& host, quint16 port) {
        return port ? host + QLatin1Char(':') + QString::number(port) : QStringLiteral("-");
    };
    QString own = f.own ? f.own->callsign : QStringLiteral("-");
    if (f.own && f.own->hasPosition)
        own += QStringLiteral(",%1,%2").arg(f.own->latitude).arg(f.own->longitude);
    return QStringList{own,
                       address(f.gpsdHost, f.gpsdPort),
                       address(f.kissHost, f.kissPort),
                       address(f.aprsIsHost, f.aprsIsPort),
                       f.login.isEmpty() ? "-" : f.login,
                       QString::number(f.rangeKm),
                       o.unit ? geo::unitName(*o.unit) : "-",
                       QString::number(f.expireMinutes)}
        .join(QLatin1Char(' '));
}

const QByteArray everything = "[General]\ncallsign=G0MOB-9\ngpsd=127.0.0.1:2948\n"
                              "kiss=127.0.0.1:8001\naprs-is=rotate.example:14580\n"
                              "login=G0MOB\nrange=25\nunit=nm\nexpire=30\n";

TEST(SettingsFile, FillsWhatTheCommandLineLeavesOut) {
    const Start rows[] = {
        {everything,
         {},
         "G0MOB-9 127.0.0.1:2948 127.0.0.1:8001 rotate.example:14580 G0MOB 25 nm 30"},
        {everything,
         {"--own", "N0CALL,52,-1", "--gpsd", "--kiss", "h:1", "--range", "7", "--unit", "mi"},
         "N0CALL,52,-1 127.0.0.1:2947 h:1 rotate.example:14580 G0MOB 7 mi 30"},
        {"[General]\ncallsign=G0FIX\nlatitude=51.5\nlongitude=-0.1\nlogin=G0\ngpsd=\n",
         {},
         "G0FIX,51.5,-0.1 - - - - 100 - 60"},
        {"[General]\nkiss=nowhere:0\n",
         {},
         "kestrel32: %F: key kiss: The port after \":\" is a number from 1 to 65535."},
        // The command line's own refusals, one of each kind.
        {{}, {"extra"}, "kestrel32: unexpected argument 'extra'%T"},
        {{}, {"--quit-after", "-1"}, "kestrel32: --quit-after needs a number of seconds, not '-1'"},
        {{}, {"--folder", "a", "--folder", "b"}, "kestrel32: --folder given more than once"},
        {{}, {"--aprs-is", "host:14580"}, "kestrel32: --aprs-is needs --login CALL%T"},
        {{},
         {"--aprs-is", "host:14580", "--login", "N0CALL\r\nuser X"},
         "kestrel32: --login needs a callsign of letters, digits and '-', not 'N0CALL\r\nuser "
         "X'%T"},
        {{},
         {"--own", "N0CALL,91,0"},
         "kestrel32: --own needs CALL,LAT,LON (degrees, north and east positive), not "
         "'N0CALL,91,0'%T"},
        {{},
         {"--range", "12.5"},
         "kestrel32: --range needs a whole number of kilometres from 1 to 20000, not "
         "'12.5'%T"}};
    for (const Start& row : rows) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kestrel32.conf"));
        ASSERT_TRUE(putFile(path, row.file));
        HostOptions options;
        QString text;
        if (parseCommandLine(QStringList{"kestrel32"} + row.args, options, text, path) ==
            CommandLineResult::Run)
            text = outcomeOf(options);
        EXPECT_EQ(text,
                  QString::fromUtf8(row.outcome)
                      .replace(QStringLiteral("%F"), path)
                      .replace(QStringLiteral("%T"), QStringLiteral("\nTry 'kestrel32 --help'.")))
            << row.args.join(' ').toStdString();
    }
}

} // namespace
