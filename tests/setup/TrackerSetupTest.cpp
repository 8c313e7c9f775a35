// The tracker as the operator sets it up, in the test's process on a private bus: a first
// start that writes nothing when cancelled and goes on to the map when accepted (its gpsd fix
// kept for the next start), Preferences that switch the APRS-IS server live and keep the
// hand-edited file (and never the fix of the command line's gpsd).
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>

#include "CommandLine.h"
#include "HostCore.h"
#include "HostProcess.h"
#include "HostProgram.h"
#include "HostWindow.h"
#include "LineServer.h"
#include "SetupWindow.h"
#include "TestFiles.h"
#include "feed/Ax25Frame.h"
#include "feed/KissDeframer.h"
#include "feed/Tnc2.h"

namespace {

// A home of the test's own for the tracker in this process.
class TrackerHome : public testing::Test {
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

// What a gpsd with a fix sends to each client.
const QByteArray gpsdFix = R"({"class":"VERSION","release":"3.22"})"
                           "\n"
                           R"({"class":"TPV","mode":3,"lat":52.1,"lon":-1.2})"
                           "\n";

// Cancelled, a first start writes nothing and never joins the bus. A wrong field or a failed
// save keeps the window open. Accepted in the program's own event loop, the tracker goes on to its
// map instead of ending with its only window, with the file written and the feeds it names
// (APRS-IS, KISS) filling the list; its position, from gpsd, may wait, the window shows the fix
// live, and the last fix is kept in the file for the next start. (First in the file: the per-user
// store's folder Qt keeps for the process is this test's.)
TEST_F(TrackerHome, aCancelledFirstStartWritesNothingAndAnAcceptedOneGoesOnToTheMap) {
    LineServer aprsIs("# local 1.0\r\n", [](const QByteArray& line) {
        const QByteArray answer = aprsIsLoginAnswer(line);
        return answer.isEmpty() ? answer
                                : answer + "G1NEAR>APRS,TCPIP*:!5201.20N/00100.00W-near\r\n";
    });
    LineServer gpsd(gpsdFix);
    LineServer tnc(feed::kissEncode(
        feed::encodeAx25(feed::parseTnc2("G2RF>APRS:!5201.00N/00100.00W-").frame)));
    for (const bool accept : {false, true}) {
        HostProgram program(optionsFor({}));
        ASSERT_TRUE(program.needsSetup());
        QString startError;
        ASSERT_TRUE(program.startWithSetup(&startError)) << startError.toStdString();
        SetupWindow* setup = program.setupWindow();
        ASSERT_TRUE(setup);
        EXPECT_FALSE(program.window()) << "the map waits for the setup";
        edit(setup, "callsign")->setText("G4KST");
        if (!accept) {
            setup->reject();
            EXPECT_FALSE(HostProcess::waitForBusName(true, 300));
            EXPECT_FALSE(QFile::exists(confPath()));
            EXPECT_TRUE(QDir(path("data")).isEmpty() || !QDir(path("data")).exists());
            EXPECT_FALSE(QFile::exists(path("config/Brightmoor/Kestrel32.conf")));
            continue;
        }
        setup->findChild<QRadioButton*>("positionGpsd")->setChecked(true);
        edit(setup, "gpsd")->setText(gpsd.address());
        const auto fix = [setup] { return setup->findChild<QLabel*>("gpsdFix")->text(); };
        EXPECT_TRUE(waitUntil([&] { return fix().contains("52.10000 -1.20000"); }))
            << fix().toStdString();
        setup->findChild<QGroupBox*>("aprsIs")->setChecked(true);
        edit(setup, "aprsIsServer")->setText(aprsIs.address());
        setup->findChild<QGroupBox*>("kiss")->setChecked(true);
        edit(setup, "kissAddress")->setText(tnc.address());
        // Refused beside the wrong field, and nothing written; a save that fails keeps the
        // window open with what was typed and says why.
        edit(setup, "callsign")->setText("g4kst");
        pressOk(setup);
        EXPECT_EQ(setup->findChild<QLabel*>("callsignProblem")->text(),
                  "Use capital letters: G4KST.");
        EXPECT_EQ(setup->focusWidget(), edit(setup, "callsign"));
        EXPECT_FALSE(QFile::exists(confPath()));
        edit(setup, "callsign")->setText("G4KST");
        ASSERT_TRUE(putFile(path("config/kestrel32"), "")); // a file where the folder goes
        pressOk(setup);
        EXPECT_TRUE(setup->isVisible());
        EXPECT_EQ(setup->findChild<QLabel*>("saveProblem")->text(), "cannot write " + confPath());
        ASSERT_TRUE(QFile::remove(path("config/kestrel32")));
        QTimer::singleShot(0, setup, [setup] { pressOk(setup); });
        QTimer mapShown;
        QObject::connect(&mapShown, &QTimer::timeout, [&] {
            if (program.window() && program.window()->isVisible())
                QCoreApplication::exit(7);
        });
        mapShown.start(20);
        QTimer::singleShot(20000, [] { QCoreApplication::exit(9); });
        ASSERT_EQ(QCoreApplication::exec(), 7) << "the tracker ended when its setup window closed";
        const QByteArray conf = "[General]\ncallsign=G4KST\ngpsd=" + gpsd.address().toLatin1() +
                                "\nkiss=" + tnc.address().toLatin1() +
                                "\naprs-is=" + aprsIs.address().toLatin1() + "\n";
        EXPECT_EQ(fileBytes(path("data/Kestrel32/kestrel32.ini")),
                  "[STATION]\r\nCALLSIGN=G4KST\r\n");
        EXPECT_TRUE(waitUntil([&] {
            return program.core()->store().find("G1NEAR") && program.core()->store().find("G2RF");
        })) << "a station of each feed in the list";
        ASSERT_TRUE(waitUntil([&] { return program.core()->getStation("G4KST").has_value(); }));
        program.shutdown();
        EXPECT_EQ(fileBytes(confPath()), conf + "latitude=52.1\nlongitude=-1.2\n");
        const HostOptions next = optionsFor({});
        ASSERT_TRUE(next.feed.own && next.feed.own->hasPosition);
        EXPECT_EQ(next.feed.own->latitude, 52.1);
    }
}

TEST_F(TrackerHome, preferencesSwitchTheAprsIsServerLiveAndKeepTheHandEditedFileAsWritten) {
    LineServer first("# first 1.0\r\n", aprsIsLoginAnswer);
    LineServer second("# second 1.0\r\n", aprsIsLoginAnswer);
    LineServer gpsd(gpsdFix);
    const QByteArray handEdited = "# written by hand\n[General]\ncallsign=G4KST\n"
                                  "; home\nLatitude = 52.0\nlongitude=-1.0\ncolour=green\n"
                                  "gpsd=" +
                                  gpsd.address().toLatin1() +
                                  "\naprs-is=" + first.address().toLatin1() +
                                  "\n\n[Notes]\nsomething=else\n";
    ASSERT_TRUE(putFile(confPath(), handEdited));
    // The command line's gpsd overrides the file's for the run: its fix is never written.
    HostProgram program(
        optionsFor({"--folder", path("folder"), "--own", "G4KST", "--gpsd", gpsd.address()}));
    ASSERT_FALSE(program.needsSetup());
    QString error;
    ASSERT_TRUE(program.start(&error)) << error.toStdString();
    EXPECT_TRUE(waitUntil([&] { return first.received.contains("user G4KST pass -1 vers"); }));
    EXPECT_EQ(program.window()->statusBar()->currentMessage(),
              confPath() + ": unknown keys colour, Notes/something (left as written)");

    program.showPreferences();
    SetupWindow* preferences = program.setupWindow();
    ASSERT_TRUE(preferences);
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
    EXPECT_EQ(program.core()->stationListItem(0), "@G4KST 0.0nm");
    QByteArray expected = handEdited;
    expected.replace("aprs-is=" + first.address().toLatin1(),
                     "aprs-is=" + second.address().toLatin1() + "\nlogin=G4KST-5\nunit=nm");
    EXPECT_EQ(fileBytes(confPath()), expected);

    // The tracker closes while the operator is half-way through the preferences: the window
    // goes with it and nothing of the half-typed change is written.
    ASSERT_TRUE(waitUntil([&] { return program.core()->getStation("G4KST").has_value(); }));
    program.showPreferences();
    ASSERT_TRUE(program.setupWindow());
    edit(program.setupWindow(), "callsign")->setText("G9HALF");
    program.shutdown();
    EXPECT_FALSE(program.setupWindow() && program.setupWindow()->isVisible());
    EXPECT_EQ(fileBytes(confPath()), expected);
}

} // namespace
