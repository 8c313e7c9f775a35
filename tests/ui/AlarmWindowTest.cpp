// The alarm cycle as the window runs it: lists, captions, sound and the host's calls.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "MainWindowFixture.h"
#include "engine/SoundPlayer.h"
#include "lists/TextList.h"
#include "support/WindowTimer.h"
#include "ui/ListBox.h"

namespace {

struct PlayedSound {
    QString file;
    bool toEnd;
};

class RecordingPlayer final : public SoundPlayer {
public:
    explicit RecordingPlayer(std::vector<PlayedSound>& played) : m_played(played) {}
    void playAsync(const QString& path) override { m_played.push_back({path, false}); }
    void playToEnd(const QString& path) override { m_played.push_back({path, true}); }

private:
    std::vector<PlayedSound>& m_played;
};

class AlarmWindow : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        scriptHost = [](FakeKestrelHost& host) {
            host.addStation(QStringLiteral("OWN1"), 0.0f, 300.0f, 3120.0f);
            host.addStation(QStringLiteral("AB1CD"), 3.5f, 301.0f, 3121.0f);
            host.addStation(QStringLiteral("EF2GH"), 1.25f, 302.0f, 3122.0f);
            host.addStation(QStringLiteral("FAR1"), 57.125f, 310.0f, 3180.0f);
        };
        installHost(QStringLiteral("OWN1"));
        QDir(programFolder()).mkpath(QStringLiteral("WAV"));
        writeAll(QDir(programFolder()).filePath(QStringLiteral("WAV/rw_le_4_stations_alarm.wav")),
                 "RIFF");
        start();
        form->setSoundPlayer(std::make_unique<RecordingPlayer>(played));
        form->txtRadius->setText(QStringLiteral("10"));
    }
    FakeKestrelHost& scanHost() { return *hosts.at(1); }
    FakeKestrelHost& mapHost() { return *hosts.at(0); }

    std::vector<PlayedSound> played;
};

TEST_F(AlarmWindow, TickListsStationsInRangeAndSoundsTheAlarm) {
    form->watchCalls->add(QStringLiteral("FAR1"));
    form->Timer1->fire();
    EXPECT_EQ(form->stationLines->items(),
              (QStringList{"AB1CD distance 3.5", "EF2GH distance 1.25", "FAR1 (watch) 57.125"}));
    EXPECT_EQ(form->lblMinDist->text(), "(minimum distance observed is 1.25)");
    EXPECT_DOUBLE_EQ(form->dblMinDist, 1.25);
    ASSERT_EQ(played.size(), 1u);
    EXPECT_TRUE(played[0].toEnd);
    EXPECT_TRUE(played[0].file.endsWith(QStringLiteral("/WAV/rw_le_4_stations_alarm.wav")));
    QStringList alerted;
    for (const auto& call : scanHost().callsNamed(QStringLiteral("AlertStation")))
        alerted << call.args.at(0).toString();
    EXPECT_EQ(alerted, (QStringList{"AB1CD", "EF2GH", "FAR1"}));
    // The range ring and the sweep go to the map host: one ring and 32 arcs.
    EXPECT_EQ(mapHost().callsNamed(QStringLiteral("DrawCircle")).size(), 1u + 32u + 2u);
}

TEST_F(AlarmWindow, AcknowledgedStationIsNotListedAtTheNextTick) {
    form->Timer1->fire();
    form->lstStations->selectRow(form->stationLines->indexOf(QStringLiteral("AB1CD distance 3.5")));
    form->cmdAck->click();
    mapHost().clearCalls();
    form->Timer1->fire();
    EXPECT_EQ(form->stationLines->items(), QStringList{"EF2GH distance 1.25"});
    const auto circles = mapHost().callsNamed(QStringLiteral("DrawCircle"));
    ASSERT_GE(circles.size(), 2u);
    // Station rings come after the 33 calls of the range ring and sweep, in list order.
    EXPECT_EQ(circles[33].args.at(3).toInt(), 65280) << "AB1CD is ringed green";
    EXPECT_EQ(circles[34].args.at(3).toInt(), 255) << "EF2GH is ringed red";
}

TEST_F(AlarmWindow, CommandDuringTheScanLeavesTheListsConsistent) {
    // The operator acknowledges everything while the scan lets events run at EF2GH.
    scanHost().onGetStation = [this](const QString& callsign) {
        if (callsign == QStringLiteral("EF2GH") && form->stationLines->count() > 0)
            form->cmdAckAll->click();
    };
    form->Timer1->fire();
    EXPECT_EQ(form->ackedCalls->items(), QStringList{"AB1CD"});
    EXPECT_EQ(form->stationLines->items(), QStringList{"EF2GH distance 1.25"});
}

TEST_F(AlarmWindow, StationScanOffMeansNoAlarmButOverlaysStillScanned) {
    form->mnuOptionsStations_Click();
    QDir(hostFolder()).mkpath(QStringLiteral("overlays"));
    writeAll(QDir(hostFolder()).filePath(QStringLiteral("overlays/town.pos")),
             "TOWER!5200.60N/00500.00E#water tower\r\n");
    form->txtRadius->setText(QStringLiteral("100"));
    scanHost().stations[0].longitude = 300.0f; // 5 deg E
    scanHost().stations[0].latitude = 3120.0f; // 52 deg N
    form->Timer1->fire();
    EXPECT_TRUE(played.empty());
    EXPECT_EQ(form->stationLines->items(), QStringList{"disabled"});
    ASSERT_EQ(form->overlayLines->count(), 1);
    EXPECT_TRUE(form->overlayLines->at(0).startsWith(QStringLiteral("TOWER 1.1")))
        << form->overlayLines->at(0).toStdString();
    EXPECT_TRUE(form->overlayLines->at(0).endsWith(QStringLiteral("km (water tower)")));
}

TEST_F(AlarmWindow, HostFailureIsReportedOnceAndTicksGoOn) {
    scanHost().failOn(QStringLiteral("GetStation"));
    form->Timer1->fire();
    form->Timer1->fire();
    QApplication::processEvents();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].icon, MessageIcon::Warning);
    EXPECT_TRUE(form->Timer1->isEnabled());
    scanHost().clearFailures();
    form->Timer1->fire();
    EXPECT_EQ(form->stationLines->count(), 2);
}

} // namespace
