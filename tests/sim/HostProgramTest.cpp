// Guards against a tracker that starts wrongly: files written after it is on the bus, a second
// tracker touching the first one's files, a bad start not refused clearly, no display fatal.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QSettings>

#include "HostProcess.h"
#include "TestFiles.h"

namespace {

const QByteArray filesScene = R"({
  "own": {"callsign": "G0OWN", "lat": 52.0, "lon": -1.0},
  "overlays": {"town.pos": ["Church!5200.00N/00100.00W!", "Caf\u00e9 Nord"]}
})";

// The first tracker writes its files before it is on the bus (start() waits for the name);
// a second one is refused and touches none of its own.
TEST(HostStart, writesItsFilesBeforeJoiningTheBusAndASecondTrackerIsRefused) {
    HostProcess first;
    ASSERT_TRUE(putFile(first.folder() + "/overlays/mine.pos", "mine\r\n"));
    ASSERT_TRUE(
        putFile(first.folder() + "/kestrel32.ini", "[STATION]\r\nCALLSIGN=OLD\r\nQRA=IO92\r\n"));
    ASSERT_TRUE(first.start(filesScene));
    EXPECT_EQ(fileBytes(first.folder() + "/kestrel32.ini"),
              QByteArray("[STATION]\r\nCALLSIGN=G0OWN\r\nQRA=IO92\r\n"));
    EXPECT_EQ(fileBytes(first.folder() + "/overlays/town.pos"),
              QByteArray("Church!5200.00N/00100.00W!\r\nCaf\xe9 Nord\r\n"));
    EXPECT_EQ(fileBytes(first.folder() + "/overlays/mine.pos"), QByteArray("mine\r\n"));
    QSettings store(first.dir() + "/config/Brightmoor/Kestrel32.conf", QSettings::IniFormat);
    EXPECT_EQ(store.value(QStringLiteral("Program Folder")).toString(), first.folder() + "/");

    HostProcess second;
    QString error;
    EXPECT_EQ(
        second.runToEnd(
            {"--folder", second.folder(), "--scenario", second.writeScenario(filesScene)}, &error),
        2);
    EXPECT_TRUE(error.contains("kestrel32: the bus name net.brightmoor.Kestrel32 is already taken"))
        << error.toStdString();
    EXPECT_FALSE(QFile::exists(second.folder() + "/kestrel32.ini"));
    EXPECT_FALSE(QFile::exists(second.dir() + "/config/Brightmoor/Kestrel32.conf"));
}

// A refusal at the program's level: exit code 2, the message, and never on the bus. (A bad
// scenario's words are ScenarioTest's; it goes the same way.)
TEST(HostStart, badStartsAreRefusedWithExitCodeTwoAndAClearMessage) {
    for (const auto& [extra, message] : std::vector<std::pair<QStringList, QString>>{
             {{"--journal", "/nonexistent/dir/j.jsonl"},
              "kestrel32: cannot write the journal /nonexistent/dir/j.jsonl"},
             {{"--replay", "/nonexistent/feed.txt"},
              "kestrel32: cannot read the replay file '/nonexistent/feed.txt': "}}) {
        HostProcess host;
        QString error;
        EXPECT_EQ(host.runToEnd(extra + QStringList{"--folder", host.folder()}, &error), 2);
        EXPECT_TRUE(error.contains(message)) << error.toStdString();
        EXPECT_FALSE(HostProcess::waitForBusName(true, 200));
    }
}

// Over ssh or on a server: no display and no platform chosen. A run goes offscreen with a
// note instead of aborting (--help and a refusal are answered before any platform, and would
// go the same way).
TEST(HostWithoutDisplay, runsOffscreenWithoutAborting) {
    // A home of its own, so that the run writes nothing into the operator's settings.
    const HostProcess home;
    QProcessEnvironment environment = home.environment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(HostProcess::program(), {"--quit-after", "1", "--folder", home.folder()});
    ASSERT_TRUE(process.waitForFinished(20000));
    ASSERT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    const QString text = QString::fromLocal8Bit(process.readAllStandardError());
    EXPECT_TRUE(text.contains("kestrel32: no display; running offscreen")) << text.toStdString();
    // Without a callsign this was a first start whose setup window the time-out closed:
    // nothing is written.
    EXPECT_FALSE(QFile::exists(home.dir() + "/config/kestrel32/kestrel32.conf"));
    EXPECT_FALSE(QFile::exists(home.folder() + "/kestrel32.ini"));
}

} // namespace
