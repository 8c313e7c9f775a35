// The tracker as the operator sets it up, in the test's process on a private bus: a first
// start that writes nothing when cancelled, Preferences that switch the APRS-IS server live
// and keep the hand-edited file, and the whole pair after a setup through the window.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QGroupBox>
#include <QJsonArray>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include "HostCore.h"
#include "HostProcess.h"
#include "HostProgram.h"
#include "HostWindow.h"
#include "LineServer.h"
#include "SetupWindow.h"
#include "StatusPart.h"
#include "TestFiles.h"

namespace {

// A home of the test's own for the tracker in this process.
class Home : public testing::Test {
protected:
    void SetUp() override {
        for (const auto& [name, path] :
             {std::pair{"HOME", QString()}, std::pair{"XDG_CONFIG_HOME", QStringLiteral("/config")},
              std::pair{"XDG_DATA_HOME", QStringLiteral("/data")}})
            qputenv(name, (m_home.path() + path).toLocal8Bit());
    }
    QString path(const QString& below) const { return m_home.filePath(below); }
    QString confPath() const { return path(QStringLiteral("config/kestrel32/kestrel32.conf")); }
    HostOptions optionsFor(const QStringList& arguments) {
        HostOptions options;
        QString text;
        EXPECT_EQ(parseCommandLine(QStringList{"kestrel32"} + arguments, options, text, confPath()),
                  CommandLineResult::Run)
            << text.toStdString();
        return options;
    }
    static QLineEdit* edit(QWidget* window, const char* name) {
        return window->findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    static void pressOk(QWidget* window) {
        window->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    }

    QTemporaryDir m_home;
};

TEST_F(Home, aCancelledFirstStartWritesNothingAndNeverJoinsTheBus) {
    HostProgram program(optionsFor({}));
    ASSERT_TRUE(program.needsSetup());
    program.startWithSetup();
    ASSERT_TRUE(program.setupWindow());
    EXPECT_TRUE(program.setupWindow()->windowTitle().contains("Setup"));
    EXPECT_FALSE(program.window()) << "the map waits for the setup";
    edit(program.setupWindow(), "callsign")->setText("G4KST");
    program.setupWindow()->reject();
    EXPECT_FALSE(HostProcess::waitForBusName(true, 300));
    EXPECT_FALSE(QFile::exists(confPath()));
    EXPECT_TRUE(QDir(path("data")).isEmpty() || !QDir(path("data")).exists());
    EXPECT_FALSE(QFile::exists(path("config/Brightmoor/Kestrel32.conf")));
}

TEST_F(Home, preferencesSwitchTheAprsIsServerLiveAndKeepTheHandEditedFile) {
    LineServer first("# first 1.0\r\n", aprsIsLoginAnswer);
    LineServer second("# second 1.0\r\n", aprsIsLoginAnswer);
    const QByteArray handEdited = "# written by hand\n[General]\ncallsign=G4KST\n"
                                  "; home\nLatitude = 52.0\nlongitude=-1.0\ncolour=green\n"
                                  "aprs-is=" +
                                  first.address().toLatin1() + "\n\n[Notes]\nsomething=else\n";
    ASSERT_TRUE(putFile(confPath(), handEdited));
    HostProgram program(optionsFor({"--folder", path("folder")}));
    ASSERT_FALSE(program.needsSetup());
    QString error;
    ASSERT_TRUE(program.start(&error)) << error.toStdString();
    EXPECT_TRUE(waitUntil([&] { return first.received.contains("user G4KST pass -1 vers"); }));
    EXPECT_EQ(program.window()->statusBar()->currentMessage(),
              confPath() + ": unknown keys colour, Notes/something (left as written)");

    // The status bar says it in words, and a click on it opens the preferences.
    const auto aprsIsPart = [&] {
        for (StatusPart* part : program.window()->findChildren<StatusPart*>())
            if (part->fullText().startsWith("APRS-IS"))
                return part;
        return static_cast<StatusPart*>(nullptr);
    };
    ASSERT_TRUE(waitUntil([&] {
        return aprsIsPart() && aprsIsPart()->fullText() == "APRS-IS: connected to 127.0.0.1";
    })) << (aprsIsPart() ? aprsIsPart()->fullText().toStdString() : "no APRS-IS part");
    EXPECT_EQ(aprsIsPart()->toolTip(),
              "APRS-IS: connected to 127.0.0.1\nClick for the preferences.");
    program.window()->statusBar()->clearMessage();
    QTest::mouseClick(aprsIsPart(), Qt::LeftButton);
    SetupWindow* preferences = program.setupWindow();
    ASSERT_TRUE(preferences);
    EXPECT_EQ(preferences->windowTitle(), "Kestrel32 tracker Preferences");
    EXPECT_EQ(edit(preferences, "aprsIsServer")->text(), first.address());
    program.showPreferences(); // asked again: the same window
    EXPECT_EQ(program.setupWindow(), preferences);

    edit(preferences, "aprsIsServer")->setText(second.address());
    edit(preferences, "aprsIsLogin")->setText("G4KST-5");
    preferences->findChild<QComboBox*>("unit")->setCurrentIndex(2);
    pressOk(preferences);
    EXPECT_TRUE(waitUntil([&] { return second.received.contains("user G4KST-5 pass -1 vers"); }));
    EXPECT_TRUE(waitUntil([&] { return first.hangUps == 1; })) << "the first server hung up";
    EXPECT_EQ(first.connections, 1);
    EXPECT_EQ(program.core()->store().unit(), DistanceUnit::NauticalMiles);
    EXPECT_EQ(program.core()->stationListItem(0), "@G4KST 0.0nm");
    QByteArray expected = handEdited;
    expected.replace("aprs-is=" + first.address().toLatin1(),
                     "aprs-is=" + second.address().toLatin1() + "\nlogin=G4KST-5\nunit=nm");
    EXPECT_EQ(fileBytes(confPath()), expected);
    program.shutdown();
}

TEST_F(Home, aHomeSetUpThroughTheWindowThenRingwardenAlarmsForAStationTheServerSends) {
    // The server sends a station 2.2 km from home once the tracker has logged in.
    LineServer aprsIs("# local 1.0\r\n", [](const QByteArray& line) {
        const QByteArray answer = aprsIsLoginAnswer(line);
        return answer.isEmpty() ? answer
                                : answer + "G1NEAR>APRS,TCPIP*:!5201.20N/00100.00W-near\r\n";
    });
    const QString journal = path("journal.jsonl");
    HostProgram program(optionsFor({"--journal", journal}));
    ASSERT_TRUE(program.needsSetup());
    program.startWithSetup();
    QWidget* setup = program.setupWindow();
    ASSERT_TRUE(setup);
    edit(setup, "callsign")->setText("G4KST");
    setup->findChild<QRadioButton*>("positionFixed")->setChecked(true);
    edit(setup, "latitude")->setText("52 00.00 N");
    edit(setup, "longitude")->setText("1 00.00 W");
    setup->findChild<QGroupBox*>("aprsIs")->setChecked(true);
    edit(setup, "aprsIsServer")->setText(aprsIs.address());
    pressOk(setup);
    ASSERT_TRUE(program.window()) << "the tracker started after OK";
    EXPECT_TRUE(program.window()->isVisible());
    EXPECT_EQ(fileBytes(confPath()), "[General]\ncallsign=G4KST\nlatitude=52\nlongitude=-1\n"
                                     "aprs-is=" +
                                         aprsIs.address().toLatin1() + "\n");
    ASSERT_TRUE(waitUntil([&] { return program.core()->store().find("G1NEAR"); }));

    // Ringwarden, copied with its files, started with no arguments beside it.
    const QString bin = path("bin");
    ASSERT_EQ(QProcess::execute("cp", {"-a", QFileInfo(HostProcess::program()).path(), bin}), 0);
    ASSERT_TRUE(putFile(bin + "/Ringwarden.INI",
                        "[SETUP]\r\nMIN_DISTANCE=10\r\nBRING_TO_FRONT=FALSE\r\n"
                        "AUDIBLE_ALARM=FALSE\r\n"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString runtime = path("runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    env.insert("XDG_RUNTIME_DIR", runtime);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess ringwarden;
    ringwarden.setProcessEnvironment(env);
    ringwarden.setProcessChannelMode(QProcess::ForwardedChannels);
    ringwarden.start(bin + "/Ringwarden", {});
    ASSERT_TRUE(ringwarden.waitForStarted(5000));

    // A red ring round G1NEAR: Ringwarden found the own callsign and raised the alarm.
    const auto redRings = [&] {
        int rings = 0;
        QFile file(journal);
        if (file.open(QIODevice::ReadOnly))
            for (const QByteArray& line : file.readAll().split('\n'))
                if (line.contains("\"DrawCircle\"") && line.contains(",255,"))
                    ++rings;
        return rings;
    };
    EXPECT_TRUE(waitUntil([&] { return redRings() > 0; }, 45000))
        << "Ringwarden running: " << (ringwarden.state() == QProcess::Running);
    EXPECT_EQ(fileBytes(program.options().folder.isEmpty()
                            ? path("data/Kestrel32/kestrel32.ini")
                            : program.options().folder + "/kestrel32.ini"),
              "[STATION]\r\nCALLSIGN=G4KST\r\n");
    program.shutdown();
    EXPECT_TRUE(waitUntil([&] { return ringwarden.state() == QProcess::NotRunning; }, 15000));
}

} // namespace
