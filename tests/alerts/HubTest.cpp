// The alarm carried beyond the window: a change left out of the history or recorded twice,
// a line broken by a callsign, a notification without news or for every tick, one that does
// not replace the last, an action that acknowledges nothing, a tick held by the bus, a callsign
// spoken twice, an unwritable history or a missing service that stops the alarm or nags.
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "FakeKestrelHost.h"
#include "alerts/AlertsHub.h"
#include "alerts/DesktopNotifier.h"
#include "engine/AlarmEngine.h"
#include "speech/QtAlarmSpeaker.h"

namespace {

// A notification service of the test's own, on a connection of its own so that the calls go
// through the bus as to a real one: records every Notify and can send ActionInvoked (a signal
// sent before the answer to a call arrives before it).
class FakeNotifications final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    // replaces_id, app_icon, summary, body, actions
    using Call = QVariantList;
    FakeNotifications() {
        bus.registerObject(path, this, QDBusConnection::ExportAllSlots);
        bus.registerService(name);
    }
    ~FakeNotifications() override { QDBusConnection::disconnectFromBus(bus.name()); }
    void invokeAction(uint id, const QString& key) {
        bus.send(QDBusMessage::createSignal(path, name, u"ActionInvoked"_qs) << id << key);
    }

    const QString name = u"org.freedesktop.Notifications"_qs,
                  path = u"/org/freedesktop/Notifications"_qs;
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"fake"_qs);
    QList<Call> calls;

public slots:
    uint Notify(const QString&, uint replacesId, const QString& icon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap&, int) {
        calls.append({replacesId, icon, summary, body, actions});
        return replacesId ? replacesId : 40 + uint(calls.size());
    }
};

class RecordingSpeaker final : public AlarmSpeaker {
public:
    bool available() const override { return engineThere; }
    void say(const QString& text) override { said << text; }
    bool engineThere = true;
    QStringList said;
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
    // "event callsign distance", newest first.
    QStringList events() const {
        QStringList result;
        for (const HistoryEntry& e : AlarmHistory::readLast(path, 100))
            result << QStringList{e.event, e.callsign, e.distanceText}.join(u' ').trimmed();
        return result;
    }

    QTemporaryDir dir;
    QString path = dir.filePath(u"Ringwarden.HST"_qs);
    FakeKestrelHost host;
    AlarmEngine engine{host, host.Map(), nullptr, {}};
    DesktopNotifier notifier;
    RecordingSpeaker speaker;
    AlertsHub hub{engine, path, &notifier, &speaker};
};

TEST_F(Hub, RecordsWhatTicksListAndWhatTheOperatorDoesOneLineEach) {
    const QDateTime start = QDateTime::currentDateTimeUtc().addSecs(-1);
    host.addStation(u"A"_qs, 2.5f);
    host.addStation(u"B"_qs, 3.25f);
    host.addStation(u"EV\nIL|X"_qs, 1.0f);
    engine.Timer1_Timer();
    engine.Timer1_Timer();
    host.stations.resize(1); // B and EV\nIL|X leave
    engine.Timer1_Timer();
    engine.acknowledge(0);
    engine.Timer1_Timer(); // an acknowledged station has not left
    engine.rearm(0);
    engine.Timer1_Timer();
    EXPECT_EQ(engine.addWatch(u"W1"_qs), QString());
    engine.deleteWatch(0);
    const QStringList expected{u"watch-deleted W1"_qs, u"watch-added W1"_qs,
                               u"entered A 2.5"_qs,    u"rearmed A"_qs,
                               u"acked A 2.5"_qs,      u"left EV\\x0AIL\\x7CX 1."_qs,
                               u"left B 3.25"_qs,      u"entered EV\\x0AIL\\x7CX 1."_qs,
                               u"entered B 3.25"_qs,   u"entered A 2.5"_qs};
    EXPECT_EQ(events(), expected);
    for (const HistoryEntry& entry : AlarmHistory::readLast(path, 100))
        EXPECT_TRUE(entry.time >= start && entry.time <= QDateTime::currentDateTimeUtc());
}

// Speech too: the main hub, switched off, says nothing.
TEST_F(Hub, AHistoryThatCannotBeWrittenIsToldOnceAndTheAlarmAndSpeechGoOn) {
    QFile(dir.filePath(u"folder"_qs)).open(QIODevice::WriteOnly); // a folder root cannot write
    AlertsHub unwritable(engine, dir.filePath(u"folder/Ringwarden.HST"_qs), nullptr, &speaker);
    unwritable.setSpeakOn(true);
    QSignalSpy told(&unwritable, &AlertsHub::historyFailed);
    host.addStation(u"PD1AAA"_qs, 2.5f);
    engine.Timer1_Timer();
    host.addStation(u"B"_qs, 3.0f);
    engine.Timer1_Timer();
    speaker.engineThere = false;
    host.addStation(u"C"_qs, 4.0f);
    engine.Timer1_Timer();
    engine.acknowledgeAll();
    EXPECT_EQ(told.count(), 1);
    EXPECT_TRUE(told.value(0).value(0).toString().contains(u"folder/Ringwarden.HST"_qs));
    EXPECT_EQ(speaker.said, (QStringList{u"P D 1 A A A, 2.5"_qs, u"B, 3."_qs}));
    EXPECT_EQ(engine.ackedCalls().items(), (QStringList{u"B"_qs, u"C"_qs, u"PD1AAA"_qs}));
}

TEST(QtAlarmSpeaker, AsksTheSystemForItsEnginesWithoutHarm) {
    QtAlarmSpeaker speaker;
    speaker.say(u"P D 1 A A A, 2.5"_qs);
    EXPECT_TRUE(speaker.available() || speaker.queued() == 0); // nothing held for no engine
}

// A notification sent without news would arrive first and be caught as the wrong one.
TEST_F(Hub, NotifiesOncePerTickWithNewsReplacingTheLastAndItsActionAcknowledgesAll) {
    QSignalSpy shown(&notifier, &DesktopNotifier::shown);
    QSignalSpy unavailable(&notifier, &DesktopNotifier::unavailable);
    notifier.setAutoStart(false); // or the bus may start a notification daemon of the system
    host.addStation(u"A"_qs, 2.5f);
    engine.Timer1_Timer();
    hub.setNotifyOn(true);
    engine.Timer1_Timer();
    host.addStation(u"X"_qs, 1.0f);
    engine.Timer1_Timer(); // no service yet: nothing happens but the error
    ASSERT_TRUE(waitFor([&] { return unavailable.count() == 1; }));

    FakeNotifications service;
    host.addStation(u"B"_qs, 3.25f);
    host.addStation(u"C"_qs, 4.5f);
    engine.Timer1_Timer();
    EXPECT_TRUE(service.calls.isEmpty()); // the tick did not wait for the service
    ASSERT_TRUE(waitFor([&] { return shown.count() == 1; }));
    const QStringList actions{QString::fromLatin1(DesktopNotifier::kAcknowledgeAllKey),
                              u"Acknowledge all"_qs};
    EXPECT_EQ(service.calls, (QList<FakeNotifications::Call>{{0u, u"ringwarden"_qs,
                                                              u"Ringwarden: 4 stations in range"_qs,
                                                              u"B 3.25\nC 4.5"_qs, actions}}));
    engine.Timer1_Timer();
    for (const QString& callsign : {u"D"_qs, u"E"_qs}) {
        host.addStation(callsign, 5.0f);
        engine.Timer1_Timer();
        // Not ours: another notification, or not the action; they arrive before the answer.
        service.invokeAction(7, actions.at(0));
        service.invokeAction(41, u"default"_qs);
        ASSERT_TRUE(waitFor([&, count = shown.count() + 1] { return shown.count() == count; }));
        EXPECT_EQ(service.calls.last().at(0), 41u);
        EXPECT_EQ(service.calls.last().at(3), callsign + u" 5."_qs);
    }
    EXPECT_EQ(service.calls.size(), 3);
    EXPECT_EQ(unavailable.count(), 1);
    EXPECT_EQ(engine.alarmLines().count(), 6);
    service.invokeAction(41, actions.at(0));
    ASSERT_TRUE(waitFor([&] { return engine.alarmLines().count() == 0; }));
    EXPECT_EQ(engine.ackedCalls().count(), 6);
}

} // namespace

#include "HubTest.moc"
