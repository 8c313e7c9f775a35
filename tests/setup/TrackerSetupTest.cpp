// The tracker as the operator sets it up, in the test's process on a private bus: a first
// start that writes nothing when cancelled and goes on to the map when accepted (its gpsd fix
// kept for the next start), Preferences that switch the APRS-IS server live and keep the
// hand-edited file (and never the fix of the command line's gpsd), and a "Test" of a feed
// that hangs, lies or runs twice.
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
#include <QTcpServer>
#include <QTcpSocket>
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

// A listener on 127.0.0.1 whose queue is full, so that the next client's SYN is dropped and
// its connect never completes: Qt takes the first client into its pending list and then stops
// accepting; the second waits in the kernel's queue of one (backlog 0).
struct FullQueue {
    QTcpServer server;
    QTcpSocket fillers[2];
    bool fill() {
        server.setListenBacklogSize(0);
        server.setMaxPendingConnections(1);
        if (!server.listen(QHostAddress::LocalHost))
            return false;
        for (QTcpSocket& filler : fillers) {
            filler.connectToHost(QHostAddress::LocalHost, server.serverPort());
            if (!filler.waitForConnected(2000) ||
                !waitUntil([&] { return server.hasPendingConnections(); }))
                return false;
        }
        return true;
    }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(server.serverPort()); }
};

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

// What a server answers, and each step it leaves unanswered, is named; a Test pressed twice
// makes one connection, which is hung up; the button works again; nothing is saved.
TEST_F(TrackerHome, testSaysWhatAnsweredAndWhichStepWasNotAnsweredInTime) {
    int applied = 0;
    SetupWindow window{
        SetupWindow::Mode::FirstStart, TrackerConf{}, {}, [&applied](const TrackerConf&) {
            ++applied;
            return QString();
        }};
    window.show();
    const auto result = [&window](const char* label) {
        const QLabel* shown = window.findChild<QLabel*>(label);
        EXPECT_TRUE(waitUntil([&] { return !shown->text().startsWith("Testing"); }, 10000));
        return shown->text();
    };
    FullQueue unreachable;
    ASSERT_TRUE(unreachable.fill());
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost);
    const QString nobody = QStringLiteral("127.0.0.1:%1").arg(closed.serverPort());
    closed.close();
    LineServer aprsIs("# testserver 1.0\r\n", aprsIsLoginAnswer);
    LineServer ssh("SSH-2.0-OpenSSH_9.2\r\n");
    LineServer kiss(feed::kissEncode("not really AX.25 but a frame"));
    LineServer silent;
    LineServer mute("# mute 1.0\r\n");
    window.kissProbe().setWaitMs(500);
    window.aprsIsProbe().setWaitMs(500);
    window.findChild<QGroupBox*>("kiss")->setChecked(true);
    window.findChild<QGroupBox*>("aprsIs")->setChecked(true);
    edit(&window, "aprsIsLogin")->setText("G4KST-1");

    const struct {
        const char* field;
        QString address;
        const char* passcode;
        const char* words;
    } rows[] = {
        {"aprsIsServer", aprsIs.address(), "",
         "Connected to %1 (testserver 1.0); login G4KST-1 unverified (receive only)."},
        {"aprsIsServer", aprsIs.address(), "12345",
         "Connected to %1 (testserver 1.0); login G4KST-1 verified."},
        {"aprsIsServer", ssh.address(), "",
         "Connected to %1, but it does not answer as an APRS-IS server "
         "(\"SSH-2.0-OpenSSH_9.2\")."},
        {"kissAddress", kiss.address(), "", "Connected to %1: KISS frames arrive."},
        {"kissAddress", nobody, "", "Refused: nothing listens on %1."},
        {"kissAddress", silent.address(), "",
         "Connected to %1, but no KISS frames within 0.5 s (nothing heard yet, or not a KISS "
         "port)."},
        {"aprsIsServer", silent.address(), "",
         "Connected to %1, but the server sent no banner within 0.5 s."},
        {"aprsIsServer", mute.address(), "",
         "Connected to %1 (mute 1.0), but no answer to the login within 0.5 s."},
        {"kissAddress", unreachable.address(), "", "Timed out: no answer from %1 within 0.5 s."}};
    for (const auto& row : rows) {
        const bool isKiss = row.field == QLatin1String("kissAddress");
        const char* label = isKiss ? "kissTestResult" : "aprsIsTestResult";
        edit(&window, row.field)->setText(row.address);
        edit(&window, "aprsIsPasscode")->setText(row.passcode);
        QPushButton* button = window.findChild<QPushButton*>(isKiss ? "kissTest" : "aprsIsTest");
        button->click();
        button->click();
        EXPECT_EQ(result(label), QString::fromLatin1(row.words).arg(row.address));
        EXPECT_TRUE(button->isEnabled()) << label;
    }
    EXPECT_TRUE(waitUntil([&] {
        return aprsIs.hangUps == 2 && silent.hangUps == 2 && mute.hangUps == 1;
    })) << aprsIs.hangUps
        << " " << silent.hangUps << " " << mute.hangUps;
    EXPECT_EQ(aprsIs.connections, 2);
    EXPECT_EQ(aprsIs.received, "user G4KST-1 pass -1 vers kestrel32 test\r\n"
                               "user G4KST-1 pass 12345 vers kestrel32 test\r\n");
    EXPECT_EQ(mute.received, "user G4KST-1 pass -1 vers kestrel32 test\r\n");
    EXPECT_EQ(applied, 0) << "a test saves nothing";
}

} // namespace
