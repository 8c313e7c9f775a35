#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>

#include "MainWindowFixture.h"
#include "lists/TextList.h"
#include "settings/NumberText.h"
#include "support/Globals.h"
#include "support/WindowTimer.h"

namespace {

class Startup : public MainWindowFixture {};

TEST_F(Startup, FirstStartCreatesTheSettingsFileWithEveryDefault) {
    installHost(QStringLiteral("AB1CD"));
    start();
    ASSERT_TRUE(shown.empty());
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    const double dpi = form->logicalDpi();
    // Centred by the window's size without the window manager's frame.
    const int left = toInt16Rounded((screen.width() - form->width()) * 1440.0 / dpi / 2);
    const int top = toInt16Rounded((screen.height() - form->height()) * 1440.0 / dpi / 2);
    const QByteArray expected = "[SETUP]\r\nMIN_DISTANCE=10\r\nBRING_TO_FRONT=TRUE\r\n"
                                "AUDIBLE_ALARM=TRUE\r\nSCAN_STATIONS=TRUE\r\nSCAN_OVERLAYS=TRUE\r\n"
                                "LEFT=" +
                                QByteArray::number(left) + "\r\nTOP=" + QByteArray::number(top) +
                                "\r\nMINIMIZED=FALSE\r\n";
    EXPECT_EQ(readAll(iniFile()).toStdString(), expected.toStdString());
    EXPECT_EQ(form->txtRadius->text(), "10");
    EXPECT_TRUE(form->gblnAudibleAlarm);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(QFile::exists(listFile())) << "the list file is only written at shutdown";
}

TEST_F(Startup, CaptionBeaconAndEventsInTheirOrder) {
    installHost(QStringLiteral("AB1CD"));
    start();
    EXPECT_EQ(form->windowTitle(), "Kestrel32 add-on Ringwarden V1.1.0");
    EXPECT_EQ(gstrAppTitle, "Kestrel32 add-on Ringwarden V1.1.0");
    EXPECT_EQ(gstrOwnCallsign, "AB1CD");
    EXPECT_EQ(gstrHelpFile, QDir(programFolder()).filePath(QStringLiteral("Ringwarden.html")));
    ASSERT_EQ(hosts.size(), 2u);
    EXPECT_EQ(hosts[0]->callNames(), QStringList{QStringLiteral("Map")});
    const auto& calls = hosts[1]->calls;
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0].call, "SetBeacon");
    EXPECT_EQ(calls[0].args,
              (QVariantList{QStringLiteral("QQ0ZZZ"), QStringLiteral("Beacon by Ferris")}));
    EXPECT_EQ(calls.back().call, "EventsEnabled");
    EXPECT_EQ(calls.back().args, QVariantList{-1});
}

TEST_F(Startup, LowerCaseNocallIsACallsign) {
    installHost(QStringLiteral("nocall"));
    start();
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(gstrOwnCallsign, "nocall");
}

struct MissingCallsign {
    const char* name;
    QString callsign; // null: no CALLSIGN key
    bool trailingSlash;
    bool recordFolder;
};

class StartupWithoutCallsign : public MainWindowFixture,
                               public ::testing::WithParamInterface<MissingCallsign> {};

TEST_P(StartupWithoutCallsign, ShowsTheCriticalMessageAndWritesNothing) {
    const MissingCallsign& c = GetParam();
    if (c.recordFolder)
        installHost(c.callsign, c.trailingSlash);
    int ticksInsideTheBox = 0;
    setMessageBoxShower([&](const MessageBoxRequest& r) {
        shown.push_back(r);
        // A tick that falls due while the box is open must not reach the host.
        const size_t before = hosts.empty() ? 0 : hosts.back()->calls.size();
        form->Timer1->fire();
        ticksInsideTheBox += hosts.empty() ? 0 : int(hosts.back()->calls.size() - before);
    });
    startExpectingEnd(1);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(shown[0].text.contains(
        QStringLiteral("\r\n\r\nError getting station callsign from Kestrel32.INI\r\n\r\n")));
    EXPECT_EQ(ticksInsideTheBox, 0);
    EXPECT_TRUE(readAll(listFile()).isNull());
    EXPECT_FALSE(QFile::exists(listFile()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartupWithoutCallsign,
    ::testing::Values(MissingCallsign{"NoKey", QString(), true, true},
                      MissingCallsign{"ExactlyNocall", QStringLiteral("NOCALL"), true, true},
                      MissingCallsign{"FolderWithoutSeparator", QStringLiteral("AB1CD"), false,
                                      true},
                      MissingCallsign{"NoHostFolderRecorded", QString(), true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Startup, BrokenSettingsStoreIsReportedAndStartupGoesOnWithoutAFolder) {
    // A folder where the store's file should be: the store cannot be read at all.
    const QString store = configFolder() + QStringLiteral("/Brightmoor/Kestrel32.conf");
    ASSERT_TRUE(QDir().mkpath(store));
    startExpectingEnd(1);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(shown[0].title, "Ringwarden");
    EXPECT_TRUE(shown[0].text.startsWith(QStringLiteral(
        "An error occurred getting the Kestrel folder. The system error message is '")))
        << shown[0].text.toStdString();
    EXPECT_TRUE(shown[0].text.endsWith(QLatin1Char('\'')));
    EXPECT_TRUE(shown[1].text.contains(QStringLiteral("Error getting station callsign")));
}

TEST_F(Startup, SecondInstanceIsRefusedAndTouchesNothing) {
    installHost(QStringLiteral("AB1CD"));
    start();
    const QByteArray iniBefore = readAll(iniFile());
    auto first = std::move(form);
    auto firstLock = std::move(lock);
    shown.clear();
    startExpectingEnd(0);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(shown[0].title, "Kestrel32 add-on Ringwarden V1.1.0");
    EXPECT_EQ(shown[0].text, "Another instance of this program (Kestrel32 add-on Ringwarden "
                             "V1.1.0) is already running");
    EXPECT_EQ(readAll(iniFile()), iniBefore);
    EXPECT_FALSE(QFile::exists(listFile()));
}

TEST_F(Startup, UnreachableHostEndsWithAClearMessage) {
    env.createHost = []() -> std::unique_ptr<KestrelHost> {
        throw HostError(QStringLiteral("Kestrel32 is not running: start kestrel32 first."));
    };
    startExpectingEnd(2);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Kestrel32 is not running: start kestrel32 first.");
    EXPECT_FALSE(QFile::exists(iniFile()));
}

TEST_F(Startup, ListsAreReadBackSorted) {
    installHost(QStringLiteral("AB1CD"));
    writeAll(listFile(), "ZZ9ZZ|Acknowledged\r\nAB1CD|Acknowledged\r\nQQ1|Watched\r\nAA1|x\r\n");
    start();
    EXPECT_EQ(form->ackedCalls->items(), (QStringList{"AB1CD", "ZZ9ZZ"}));
    EXPECT_EQ(form->watchCalls->items(), (QStringList{"QQ1", "AA1"}));
}

// --- shutdown ---

TEST_F(Startup, ExitWritesSettingsAndListsOnceAndEnds) {
    installHost(QStringLiteral("AB1CD"));
    start();
    form->ackedCalls->add(QStringLiteral("EF2GH"));
    form->ackedCalls->add(QStringLiteral("AB1CD"));
    form->watchCalls->add(QStringLiteral("IJ3KL"));
    form->txtRadius->setText(QStringLiteral("  25 "));
    QFile::remove(iniFile());
    try {
        form->mnuFileExit_Click();
        FAIL() << "Exit returned";
    } catch (const ProcessEnded& ended) {
        EXPECT_EQ(ended.code, 0);
    }
    EXPECT_EQ(readAll(listFile()), "AB1CD|Acknowledged\r\nEF2GH|Acknowledged\r\nIJ3KL|Watched\r\n");
    EXPECT_TRUE(
        readAll(iniFile()).startsWith("[SETUP]\r\nMIN_DISTANCE=25\r\nAUDIBLE_ALARM=TRUE\r\n"));
    QFile::remove(iniFile());
    QFile::remove(listFile());
    form.reset();
    EXPECT_FALSE(QFile::exists(iniFile())) << "written a second time";
    EXPECT_FALSE(QFile::exists(listFile())) << "written a second time";
}

TEST_F(Startup, ClosingTheWindowWritesBothFilesOnce) {
    installHost(QStringLiteral("AB1CD"));
    start();
    form->watchCalls->add(QStringLiteral("IJ3KL"));
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(form->isUnloaded());
    EXPECT_EQ(readAll(listFile()), "IJ3KL|Watched\r\n");
    QFile::remove(listFile());
    form->close();
    form.reset();
    EXPECT_FALSE(QFile::exists(listFile()));
}

TEST_F(Startup, HostClosingClosesTheWindowAndWritesBothFiles) {
    installHost(QStringLiteral("AB1CD"));
    start();
    QFile::remove(iniFile());
    emit hosts[1]->Kestrel32IsClosing();
    EXPECT_TRUE(form->isUnloaded());
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(QFile::exists(iniFile()));
    EXPECT_TRUE(QFile::exists(listFile()));
    EXPECT_EQ(readAll(listFile()), QByteArray());
}

TEST_F(Startup, CloseDuringATickIsCarriedOutAfterIt) {
    installHost(QStringLiteral("AB1CD"));
    start();
    {
        frmMain::BusyScope tick(*form);
        form->close();
        EXPECT_FALSE(form->isUnloaded());
        EXPECT_TRUE(form->isVisible());
        EXPECT_FALSE(QFile::exists(listFile()));
    }
    QApplication::processEvents();
    EXPECT_TRUE(form->isUnloaded());
    EXPECT_TRUE(QFile::exists(listFile()));
}

TEST_F(Startup, NextStartRestoresPlaceAndMinimisedState) {
    installHost(QStringLiteral("AB1CD"));
    start();
    form->move(120, 90);
    QApplication::processEvents();
    form->Form_Resize();
    form->showMinimized();
    QApplication::processEvents();
    form->close();
    const QByteArray ini = readAll(iniFile());
    EXPECT_TRUE(ini.contains("LEFT=1800\r\nTOP=1350\r\nMINIMIZED=TRUE\r\n")) << ini.constData();
    form.reset();
    lock.reset();

    start();
    EXPECT_TRUE(form->isMinimized());
    EXPECT_EQ(form->pos(), QPoint(120, 90));
}

} // namespace
