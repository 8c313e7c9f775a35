#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include "HostProcess.h"

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QByteArray filesScene = R"({
  "own": {"callsign": "G0OWN", "lat": 52.0, "lon": -1.0},
  "overlays": {"town.pos": ["Church!5200.00N/00100.00W!", "Caf\u00e9 Nord"]}
})";

TEST(HostStart, writesItsFilesBeforeJoiningTheBus) {
    HostProcess host;
    QDir(host.folder()).mkpath(QStringLiteral("overlays"));
    QFile other(host.folder() + QStringLiteral("/overlays/mine.pos"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("mine\r\n");
    other.close();
    QFile ini(host.folder() + QStringLiteral("/kestrel32.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[STATION]\r\nCALLSIGN=OLD\r\nQRA=IO92\r\n");
    ini.close();

    ASSERT_TRUE(host.start(filesScene));
    EXPECT_EQ(readAll(host.folder() + QStringLiteral("/kestrel32.ini")),
              QByteArray("[STATION]\r\nCALLSIGN=G0OWN\r\nQRA=IO92\r\n"));
    EXPECT_EQ(readAll(host.folder() + QStringLiteral("/overlays/town.pos")),
              QByteArray("Church!5200.00N/00100.00W!\r\nCaf\xe9 Nord\r\n"));
    EXPECT_EQ(readAll(host.folder() + QStringLiteral("/overlays/mine.pos")),
              QByteArray("mine\r\n"));

    const QString conf = host.dir() + QStringLiteral("/config/Brightmoor/Kestrel32.conf");
    QSettings store(conf, QSettings::IniFormat);
    EXPECT_EQ(store.value(QStringLiteral("Program Folder")).toString(),
              host.folder() + QStringLiteral("/"));
}

TEST(HostStart, secondTrackerIsRefusedAndTouchesNoFile) {
    HostProcess first;
    ASSERT_TRUE(first.start(filesScene));
    HostProcess second;
    QString error;
    const int code =
        second.runToEnd({QStringLiteral("--folder"), second.folder(), QStringLiteral("--scenario"),
                         second.writeScenario(filesScene)},
                        &error);
    EXPECT_EQ(code, 2);
    EXPECT_TRUE(error.contains(
        QStringLiteral("kestrel32: the bus name net.brightmoor.Kestrel32 is already taken")))
        << error.toStdString();
    EXPECT_FALSE(QFile::exists(second.folder() + QStringLiteral("/kestrel32.ini")));
    EXPECT_FALSE(QFile::exists(second.dir() + QStringLiteral("/config/Brightmoor/Kestrel32.conf")));
}

struct BadStart {
    const char* name;
    QByteArray scenario; // empty: none written
    QStringList extra;
    const char* message; // expected in standard error; %S stands for the scenario path
};

class HostRefuses : public ::testing::TestWithParam<BadStart> {};

TEST_P(HostRefuses, withExitCodeTwoAndAClearMessage) {
    const BadStart& c = GetParam();
    HostProcess host;
    QStringList args = c.extra;
    QString scenario;
    if (!c.scenario.isEmpty()) {
        scenario = host.writeScenario(c.scenario);
        args << QStringLiteral("--scenario") << scenario;
    }
    args << QStringLiteral("--folder") << host.folder();
    QString error;
    EXPECT_EQ(host.runToEnd(args, &error), 2);
    const QString expected = QString::fromUtf8(c.message).replace(QStringLiteral("%S"), scenario);
    EXPECT_TRUE(error.contains(expected))
        << "stderr: " << error.toStdString() << "\nexpected: " << expected.toStdString();
    EXPECT_FALSE(HostProcess::waitForBusName(true, 200));
}

INSTANTIATE_TEST_SUITE_P(
    , HostRefuses,
    ::testing::Values(
        BadStart{"notJson", "{stations: ]", {}, "kestrel32: scenario %S: not valid JSON ("},
        BadStart{"missingLat",
                 R"({"stations": [{"callsign": "A", "lon": 1}]})",
                 {},
                 "kestrel32: scenario %S: station 1 (A): missing \"lat\""},
        BadStart{"outOfRange",
                 R"({"own": {"callsign": "A", "lat": 0, "lon": 200}})",
                 {},
                 "kestrel32: scenario %S: own: \"lon\" 200 is outside -180..180"},
        BadStart{"trackOrder",
                 R"({"stations": [{"callsign": "A", "lat": 1, "lon": 1, "track":
                    [{"t": 3, "lat": 1, "lon": 1}, {"t": 3, "lat": 2, "lon": 1}]}]})",
                 {},
                 "kestrel32: scenario %S: station 1 (A) track point 2: \"t\" 3 is not after 3"},
        BadStart{"missingFile",
                 {},
                 {"--scenario", "/nonexistent/s.json"},
                 "kestrel32: scenario /nonexistent/s.json: cannot be read"},
        BadStart{"badOption", {}, {"--frobnicate"}, "kestrel32: Unknown option 'frobnicate'."},
        BadStart{"badQuitAfter",
                 {},
                 {"--quit-after", "x"},
                 "kestrel32: --quit-after needs a number of seconds, not 'x'"},
        BadStart{"missingReplay",
                 {},
                 {"--replay", "/nonexistent/feed.txt"},
                 "kestrel32: cannot read the replay file '/nonexistent/feed.txt': "},
        BadStart{"journalUnwritable",
                 {},
                 {"--journal", "/nonexistent/dir/j.jsonl"},
                 "kestrel32: cannot write the journal /nonexistent/dir/j.jsonl"}),
    [](const ::testing::TestParamInfo<BadStart>& info) { return std::string(info.param.name); });

// Over ssh or on a server: no display and no platform chosen. The command line is answered
// without one, and a real run goes offscreen with a note instead of aborting.
struct NoDisplayRun {
    const char* name;
    QStringList arguments;
    int exitCode;
    bool onStandardOutput;
    const char* output;
};

class HostWithoutDisplay : public ::testing::TestWithParam<NoDisplayRun> {};

TEST_P(HostWithoutDisplay, answersWithoutAborting) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(environment);
    QTemporaryDir folder;
    process.start(HostProcess::program(),
                  GetParam().arguments + QStringList{QStringLiteral("--folder"), folder.path()});
    ASSERT_TRUE(process.waitForFinished(20000));
    ASSERT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), GetParam().exitCode);
    const QString output =
        QString::fromLocal8Bit(GetParam().onStandardOutput ? process.readAllStandardOutput()
                                                           : process.readAllStandardError());
    EXPECT_TRUE(output.contains(QString::fromUtf8(GetParam().output))) << output.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostWithoutDisplay,
    ::testing::Values(
        NoDisplayRun{"help", {"--help"}, 0, true, "--quit-after <SECONDS>"},
        NoDisplayRun{"badOption", {"--frobnicate"}, 2, false, "Try 'kestrel32 --help'."},
        NoDisplayRun{
            "run", {"--quit-after", "1"}, 0, false, "kestrel32: no display; running offscreen"}),
    [](const ::testing::TestParamInfo<NoDisplayRun>& info) {
        return std::string(info.param.name);
    });

} // namespace
