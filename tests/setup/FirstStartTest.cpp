// The pair as a new operator meets it: a fresh home set up through the tracker's window (the
// tracker in the test's process, alone in it, so that its per-user store is this home's),
// then Ringwarden started with no arguments beside it rings a station the test's APRS-IS
// server sends.
#include <gtest/gtest.h>

#include <cmath>

#include <QDir>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRadioButton>
#include <QTimer>

#include "HostCore.h"
#include "HostProcess.h"
#include "HostProgram.h"
#include "HostWindow.h"
#include "LineServer.h"
#include "SetupWindow.h"
#include "TestFiles.h"
#include "TrackerHome.h"

namespace {

TEST_F(TrackerHome, aHomeSetUpThroughTheWindowThenRingwardenAlarmsForAStationTheServerSends) {
    // The server sends a station 2.2 km from home once the tracker has logged in.
    LineServer aprsIs("# local 1.0\r\n", [](const QByteArray& line) {
        const QByteArray answer = aprsIsLoginAnswer(line);
        return answer.isEmpty() ? answer
                                : answer + "G1NEAR>APRS,TCPIP*:!5201.20N/00100.00W-near\r\n";
    });
    const QString journal = path("journal.jsonl");
    HostProgram program(optionsFor({"--journal", journal}));
    ASSERT_TRUE(program.needsSetup());
    QString startError;
    ASSERT_TRUE(program.startWithSetup(&startError)) << startError.toStdString();
    QWidget* setup = program.setupWindow();
    ASSERT_TRUE(setup);
    edit(setup, "callsign")->setText("G4KST");
    setup->findChild<QRadioButton*>("positionFixed")->setChecked(true);
    edit(setup, "latitude")->setText("52 00.00 N");
    edit(setup, "longitude")->setText("1 00.00 W");
    setup->findChild<QGroupBox*>("aprsIs")->setChecked(true);
    edit(setup, "aprsIsServer")->setText(aprsIs.address());
    // OK closes the only window there is, in the program's own event loop: the tracker goes
    // on to its map instead of ending with the window.
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
            for (const QByteArray& line : file.readAll().split('\n')) {
                const QJsonObject o = QJsonDocument::fromJson(line).object();
                const QJsonArray a = o.value("args").toArray();
                if (o.value("call") == "DrawCircle" && a.size() == 7 && a[0].toDouble() == -60.0 &&
                    std::abs(a[1].toDouble() - 52.02 * 60.0) < 1e-3 && a[3].toDouble() == 255.0)
                    ++rings;
            }
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
