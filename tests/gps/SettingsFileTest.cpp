// Guards against the settings file overriding the command line, being ignored, or a fault in it
// blamed on the options.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "CommandLine.h"

namespace {

struct Start {
    const char* name;
    QByteArray file; // empty: no settings file
    QStringList args;
    // What came out: every value that the file or the line may set, or the error.
    const char* outcome;
};

QString outcomeOf(const HostOptions& o) {
    const feed::FeedOptions& f = o.feed;
    QString own = QStringLiteral("-");
    if (f.own)
        own = f.own->callsign +
              (f.own->hasPosition
                   ? QStringLiteral(",%1,%2").arg(f.own->latitude).arg(f.own->longitude)
                   : QString());
    return QStringLiteral("own %1 gpsd %2:%3 kiss %4:%5 aprs-is %6:%7 login %8 range %9 "
                          "unit %10 expire %11")
        .arg(own, f.gpsdHost)
        .arg(f.gpsdPort)
        .arg(f.kissHost)
        .arg(f.kissPort)
        .arg(f.aprsIsHost)
        .arg(f.aprsIsPort)
        .arg(f.login)
        .arg(f.rangeKm)
        .arg(o.unit ? geo::unitName(*o.unit) : QStringLiteral("-"))
        .arg(f.expireMinutes);
}

class SettingsFile : public testing::TestWithParam<Start> {};

TEST_P(SettingsFile, FillsWhatTheCommandLineLeavesOut) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kestrel32.conf"));
    if (!GetParam().file.isEmpty()) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(GetParam().file);
    }
    HostOptions options;
    QString text;
    const CommandLineResult result = parseCommandLine(
        QStringList{QStringLiteral("kestrel32")} + GetParam().args, options, text, path);
    const QString outcome = result == CommandLineResult::Run ? outcomeOf(options) : text;
    EXPECT_EQ(outcome, QString::fromUtf8(GetParam().outcome).replace(QStringLiteral("%F"), path));
}

const QByteArray everything = "[General]\ncallsign=G0MOB-9\ngpsd=127.0.0.1:2948\n"
                              "kiss=127.0.0.1:8001\naprs-is=rotate.example:14580\n"
                              "login=G0MOB\nrange=25\nunit=nm\nexpire=30\n";

INSTANTIATE_TEST_SUITE_P(
    Starts, SettingsFile,
    testing::Values(
        Start{
            "noFile", {}, {}, "own - gpsd :0 kiss :0 aprs-is :0 login  range 100 unit - expire 60"},
        Start{"fileAlone",
              everything,
              {},
              "own G0MOB-9 gpsd 127.0.0.1:2948 kiss 127.0.0.1:8001 aprs-is rotate.example:14580 "
              "login G0MOB range 25 unit nm expire 30"},
        Start{"optionsWin",
              everything,
              {"--own", "N0CALL,52,-1", "--gpsd", "--kiss", "h:1", "--range", "7", "--unit", "mi"},
              "own N0CALL,52,-1 gpsd 127.0.0.1:2947 kiss h:1 aprs-is rotate.example:14580 "
              "login G0MOB range 7 unit mi expire 30"},
        Start{"fixedPositionWithoutGps",
              "[General]\ncallsign=G0FIX\nlatitude=51.5\nlongitude=-0.1\n",
              {},
              "own G0FIX,51.5,-0.1 gpsd :0 kiss :0 aprs-is :0 login  range 100 unit - expire 60"},
        Start{"loginOnlyWithAServer",
              "[General]\nlogin=G0MOB\ngpsd=\n",
              {"--gpsd=h:5"},
              "own - gpsd h:5 kiss :0 aprs-is :0 login  range 100 unit - expire 60"},
        Start{"faultInTheFile",
              "[General]\nkiss=nowhere\n",
              {},
              "kestrel32: %F: --kiss needs HOST:PORT, not 'nowhere'"},
        Start{"callsignWithoutGps",
              "[General]\ncallsign=G0MOB\n",
              {},
              "kestrel32: %F: --own CALL without a position needs --gpsd"},
        Start{"faultOnTheLine",
              everything,
              {"--range", "0"},
              "kestrel32: --range needs a whole number of kilometres from 1 to 20000, not '0'\n"
              "Try 'kestrel32 --help'."}),
    [](const testing::TestParamInfo<Start>& info) { return std::string(info.param.name); });

} // namespace
