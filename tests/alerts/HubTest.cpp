// A change lost or doubled in the history, a notification without news, doubled, or left on
// screen after the operator answered, speech that goes on after the answer.
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "FakeKestrelHost.h"
#include "FakeNotifications.h"
#include "TickToEnd.h"
#include "alerts/AlarmSpeaker.h"
#include "alerts/AlertsHub.h"
#include "alerts/DesktopNotifier.h"
#include "engine/AlarmEngine.h"

namespace {

// Says one text at a time, as the real engine does; the test says when it has been said.
struct RecordingSpeaker final : AlarmSpeaker {
    bool available() const override { return engineThere; }
    void speak(const QString& text, std::function<void()> spoken) override {
        said << text;
        pending = std::move(spoken);
    }
    void finish() {
        if (auto spoken = std::exchange(pending, nullptr))
            spoken();
        QCoreApplication::processEvents();
    }
    bool engineThere = true;
    QStringList said;
    std::function<void()> pending;
};

class Hub : public ::testing::Test {
protected:
    Hub() {
        QLocale::setDefault(QLocale::c());
        engine.setOwnCallsign(u"OWN"_qs);
        engine.setSwitch(AlarmEngine::Switch::ScanOverlays, false);
    }
    ~Hub() override { QLocale::setDefault(QLocale::system()); }
    static bool waitFor(const std::function<bool()>& done) { return QTest::qWaitFor(done, 10000); }
    int rowOf(const QString& callsign) {
        for (int row = 0; row < engine.alarmLines().count(); ++row) {
            if (engine.alarmLines().at(row).startsWith(callsign + u' '))
                return row;
        }
        return -1;
    }

    QTemporaryDir dir;
    QString path = dir.filePath(u"Ringwarden.HST"_qs);
    FakeKestrelHost host;
    AlarmEngine engine{host, host.Map(), nullptr};
    FakeNotifications service;
    DesktopNotifier notifier;
    RecordingSpeaker speaker;
    AlertsHub hub{engine, path, &notifier, &speaker};
    const QStringList actions{u"default"_qs, u"Show Ringwarden"_qs, u"acknowledge-all"_qs,
                              u"Acknowledge all"_qs};
};

// A second hub whose history cannot be written speaks; the fixture's, speech off, must not.
TEST_F(Hub, RecordsEachChangeOnceAndAnUnwritableHistoryIsToldOnceWhileTheAlarmGoesOn) {
    QFile(dir.filePath(u"folder"_qs)).open(QIODevice::WriteOnly); // a file where a folder goes
    AlertsHub unwritable(engine, dir.filePath(u"folder/Ringwarden.HST"_qs), nullptr, &speaker);
    unwritable.setSpeakOn(true);
    QSignalSpy told(&unwritable, &AlertsHub::historyFailed);
    host.addStation(u"PD1AAA"_qs, 2.5f);
    tickToEnd(engine);
    tickToEnd(engine);
    speaker.engineThere = false;
    host.addStation(u"EV\nIL|X"_qs, 1.0f);
    tickToEnd(engine);
    host.stations.resize(1);
    tickToEnd(engine);
    engine.acknowledge(0);
    tickToEnd(engine); // an acknowledged station has not left
    engine.rearm(0);
    tickToEnd(engine);
    QStringList events; // newest first
    for (const HistoryEntry& e : AlarmHistory::readLast(path, 100))
        events << QStringList{e.event, e.callsign, e.distanceText}.join(u' ').trimmed();
    EXPECT_EQ(events, (QStringList{u"entered PD1AAA 2.5"_qs, u"rearmed PD1AAA"_qs,
                                   u"acked PD1AAA 2.5"_qs, u"left EV\\x0AIL\\x7CX 1."_qs,
                                   u"entered EV\\x0AIL\\x7CX 1."_qs, u"entered PD1AAA 2.5"_qs}));
    ASSERT_EQ(told.count(), 1);
    EXPECT_TRUE(told.value(0).value(0).toString().contains(u"folder/Ringwarden.HST"_qs));
    EXPECT_EQ(speaker.said, QStringList{u"P D 1 A A A, 2.5"_qs});
}

TEST_F(Hub, ACrowdIsSummedUpAndAcknowledgedStationsAreNotSpoken) {
    hub.setSpeakOn(true);
    for (int i = 1; i <= 20; ++i)
        host.addStation(u"A%1"_qs.arg(i, 2, 10, QLatin1Char('0')), float(i) / 4);
    tickToEnd(engine);
    EXPECT_EQ(speaker.said, QStringList{u"A 0 1, .25"_qs});
    EXPECT_EQ(hub.waitingSpeech(),
              (QStringList{u"A 0 2, .5"_qs, u"A 0 3, .75"_qs, u"and 17 more"_qs}));
    engine.acknowledge(rowOf(u"A02"_qs));
    engine.acknowledge(rowOf(u"A10"_qs));
    EXPECT_EQ(hub.waitingSpeech(), (QStringList{u"A 0 3, .75"_qs, u"and 16 more"_qs}));
    speaker.finish();
    engine.acknowledgeAll();
    EXPECT_TRUE(hub.waitingSpeech().isEmpty());
    speaker.finish();
    EXPECT_EQ(speaker.said, (QStringList{u"A 0 1, .25"_qs, u"A 0 3, .75"_qs}));
    host.addStation(u"B"_qs, 1.0f); // spoken at once: nothing is left behind
    tickToEnd(engine);
    EXPECT_EQ(speaker.said.last(), u"B, 1."_qs);
}

TEST_F(Hub, TheNotificationListsTheStationsInRangeAndGoesWhenTheyAreAnswered) {
    QSignalSpy shown(&notifier, &DesktopNotifier::shown);
    QSignalSpy raise(&notifier, &DesktopNotifier::raiseRequested);
    hub.setNotifyOn(true);
    host.addStation(u"B"_qs, 3.25f);
    host.addStation(u"C"_qs, 4.5f);
    tickToEnd(engine);
    EXPECT_TRUE(service.calls.isEmpty()); // the tick did not wait for the service
    ASSERT_TRUE(waitFor([&] { return shown.count() == 1; }));
    EXPECT_EQ(service.calls,
              (QList<QVariantList>{{0u, u"ringwarden"_qs, u"Ringwarden: 2 stations in range"_qs,
                                    u"B 3.25\nC 4.5"_qs, actions}}));
    tickToEnd(engine);
    host.addStation(u"D"_qs, 5.0f);
    tickToEnd(engine);
    // Not ours, or not an action we offered: they come before the answer.
    service.invokeAction(7, u"acknowledge-all"_qs);
    service.invokeAction(41, u"snooze"_qs);
    ASSERT_TRUE(waitFor([&] { return shown.count() == 2; }));
    ASSERT_EQ(service.calls.size(), 2);         // none for the tick without news
    EXPECT_EQ(service.calls.last().at(0), 41u); // in place of the first
    service.invokeAction(41, u"default"_qs);
    ASSERT_TRUE(waitFor([&] { return raise.count() == 1; }));
    EXPECT_EQ(engine.alarmLines().count(), 3);

    engine.acknowledge(rowOf(u"B"_qs));
    host.stations.erase(host.stations.begin() + 1); // C leaves
    tickToEnd(engine);
    QTest::qWait(100);
    EXPECT_TRUE(service.closed.isEmpty()) << "D is still unanswered";
    service.invokeAction(41, u"acknowledge-all"_qs);
    ASSERT_TRUE(waitFor([&] { return !service.closed.isEmpty(); }));
    EXPECT_EQ(engine.ackedCalls().items(), (QStringList{u"B"_qs, u"D"_qs}));
    EXPECT_EQ(service.closed, QList<uint>{41u});

    // Out of range does as much as acknowledged (the way out takes one off the screen too:
    // the whole-program test in tests/app sees that).
    host.addStation(u"E"_qs, 1.0f);
    tickToEnd(engine);
    ASSERT_TRUE(waitFor([&] { return shown.count() == 3; }));
    EXPECT_EQ(service.calls.last().at(0), 0u);
    host.stations.pop_back();
    tickToEnd(engine);
    ASSERT_TRUE(waitFor([&] { return service.closed.size() == 2; }));
    EXPECT_EQ(service.closed, (QList<uint>{41u, 43u}));
}

// The bus gives up on an answer after 25 s; the service may still show the notification.
TEST_F(Hub, AServiceThatAnswersLateShowsOneNotification) {
    QSignalSpy shown(&notifier, &DesktopNotifier::shown);
    service.holdReplies = true;
    hub.setNotifyOn(true);
    host.addStation(u"B"_qs, 1.0f);
    tickToEnd(engine);
    ASSERT_TRUE(waitFor([&] { return service.heldCount() == 1; }));
    host.addStation(u"C"_qs, 2.0f);
    tickToEnd(engine);
    QTest::qWait(26000);
    EXPECT_EQ(service.calls.size(), 1) << "sent before the first was answered";
    service.holdReplies = false;
    service.answerHeld();
    ASSERT_TRUE(waitFor([&] { return shown.count() == 2; }));
    ASSERT_EQ(service.calls.size(), 2);
    EXPECT_EQ(service.calls.last().mid(0, 4),
              (QVariantList{41u, u"ringwarden"_qs, u"Ringwarden: 2 stations in range"_qs,
                            u"C 2.\nB 1."_qs}));
}

TEST(Notifier, WithNoServiceNothingIsShownAndNothingWaits) {
    DesktopNotifier lonely(QDBusConnection::sessionBus(), u"org.example.NoNotifications"_qs);
    QSignalSpy unavailable(&lonely, &DesktopNotifier::unavailable);
    lonely.notify({{u"X"_qs, u"1."_qs}});
    ASSERT_TRUE(QTest::qWaitFor([&] { return unavailable.count() == 1; }, 10000));
    EXPECT_FALSE(lonely.isShown());
    lonely.withdrawBeforeEnd();
}

} // namespace
