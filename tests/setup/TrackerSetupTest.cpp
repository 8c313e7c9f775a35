// The tracker as the operator sets it up, in the test's process on a private bus: a first
// start that writes nothing when cancelled and goes on to the map when accepted, Preferences
// that switch the APRS-IS server live and keep the hand-edited file, the last gpsd fix kept
// for the next start.
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
#include <QTimer>

#include "HostCore.h"
#include "HostProcess.h"
#include "HostProgram.h"
#include "HostWindow.h"
#include "LineServer.h"
#include "SetupWindow.h"
#include "StatusPart.h"
#include "TestFiles.h"
#include "TrackerHome.h"

namespace {

// Cancelled, a first start writes nothing and never joins the bus. Accepted in the program's
// own event loop, the tracker goes on to its map instead of ending with its only window, with
// the file written and a feed from the server it names. (First in the file: the per-user
// store's folder Qt keeps for the process is this test's.)
TEST_F(TrackerHome, aCancelledFirstStartWritesNothingAndAnAcceptedOneGoesOnToTheMap) {
    LineServer aprsIs("# local 1.0\r\n", [](const QByteArray& line) {
        const QByteArray answer = aprsIsLoginAnswer(line);
        return answer.isEmpty() ? answer
                                : answer + "G1NEAR>APRS,TCPIP*:!5201.20N/00100.00W-near\r\n";
    });
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
        setup->findChild<QRadioButton*>("positionFixed")->setChecked(true);
        edit(setup, "latitude")->setText("52 00.00 N");
        edit(setup, "longitude")->setText("1 00.00 W");
        setup->findChild<QGroupBox*>("aprsIs")->setChecked(true);
        edit(setup, "aprsIsServer")->setText(aprsIs.address());
        QTimer::singleShot(0, setup, [setup] { pressOk(setup); });
        QTimer mapShown;
        QObject::connect(&mapShown, &QTimer::timeout, [&] {
            if (program.window() && program.window()->isVisible())
                QCoreApplication::exit(7);
        });
        mapShown.start(20);
        QTimer::singleShot(20000, [] { QCoreApplication::exit(9); });
        ASSERT_EQ(QCoreApplication::exec(), 7) << "the tracker ended when its setup window closed";
        EXPECT_EQ(fileBytes(confPath()), "[General]\ncallsign=G4KST\nlatitude=52\nlongitude=-1\n"
                                         "aprs-is=" +
                                             aprsIs.address().toLatin1() + "\n");
        EXPECT_EQ(fileBytes(path("data/Kestrel32/kestrel32.ini")),
                  "[STATION]\r\nCALLSIGN=G4KST\r\n");
        EXPECT_TRUE(waitUntil([&] { return program.core()->store().find("G1NEAR"); }));
    }
}

TEST_F(TrackerHome, preferencesSwitchTheAprsIsServerLiveAndKeepTheHandEditedFile) {
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
    // A narrow window: the text is cut short, the tooltip keeps all of it.
    program.window()->resize(160, 300);
    EXPECT_TRUE(waitUntil([&] { return aprsIsPart()->text().endsWith(QChar(0x2026)); }))
        << aprsIsPart()->text().toStdString();
    EXPECT_TRUE(aprsIsPart()->toolTip().startsWith("APRS-IS: connected to 127.0.0.1\n"));
    program.window()->resize(800, 600);
    QTest::mouseClick(aprsIsPart(), Qt::LeftButton);
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
    EXPECT_EQ(program.core()->store().unit(), DistanceUnit::NauticalMiles);
    EXPECT_EQ(program.core()->stationListItem(0), "@G4KST 0.0nm");
    QByteArray expected = handEdited;
    expected.replace("aprs-is=" + first.address().toLatin1(),
                     "aprs-is=" + second.address().toLatin1() + "\nlogin=G4KST-5\nunit=nm");
    EXPECT_EQ(fileBytes(confPath()), expected);

    // The tracker closes while the operator is half-way through the preferences: the window
    // goes with it and nothing of the half-typed change is written.
    program.showPreferences();
    ASSERT_TRUE(program.setupWindow());
    edit(program.setupWindow(), "callsign")->setText("G9HALF");
    program.shutdown();
    EXPECT_FALSE(program.setupWindow() && program.setupWindow()->isVisible());
    EXPECT_EQ(fileBytes(confPath()), expected);
}

// No distance before the first fix; the fix is kept in the file when the file chose gpsd
// (and used at the next start), never when the command line did.
TEST_F(TrackerHome, theLastGpsdFixIsKeptInTheFileOnlyWhenTheFileChoseGpsd) {
    const QByteArray tpv = R"({"class":"TPV","mode":3,"lat":52.1,"lon":-1.2})"
                           "\n";
    LineServer gpsd;
    const QByteArray conf = "[General]\ncallsign=G4KST\ngpsd=" + gpsd.address().toLatin1() + "\n";
    for (const bool fromCommandLine : {true, false}) {
        ASSERT_TRUE(putFile(confPath(), conf));
        HostProgram program(optionsFor(fromCommandLine
                                           ? QStringList{"--folder", path("folder"), "--own",
                                                         "G4KST", "--gpsd", gpsd.address()}
                                           : QStringList{"--folder", path("folder")}));
        QString error;
        ASSERT_TRUE(program.start(&error)) << error.toStdString();
        EXPECT_EQ(program.core()->stationListItem(0), "@G4KST");
        EXPECT_FALSE(program.core()->getStation("G4KST")) << "no position, no distance";
        ASSERT_TRUE(waitUntil([&] { return gpsd.connections == (fromCommandLine ? 1 : 2); }));
        gpsd.send(tpv);
        ASSERT_TRUE(waitUntil([&] { return program.core()->getStation("G4KST").has_value(); }));
        EXPECT_EQ(program.core()->getStation("G4KST")->latitudeMinutes, 52.1 * 60.0);
        program.shutdown();
        if (fromCommandLine) {
            EXPECT_EQ(fileBytes(confPath()), conf) << "the command line's run writes nothing";
            continue;
        }
        EXPECT_EQ(fileBytes(confPath()), conf + "latitude=52.1\nlongitude=-1.2\n");
        const HostOptions next = optionsFor({});
        ASSERT_TRUE(next.feed.own && next.feed.own->hasPosition);
        EXPECT_EQ(next.feed.own->latitude, 52.1);
    }
}

} // namespace
