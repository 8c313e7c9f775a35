// A change lost or doubled in the history, a notification without news or not replacing the last.
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "FakeKestrelHost.h"
#include "TickToEnd.h"
#include "alerts/AlarmSpeaker.h"
#include "alerts/AlertsHub.h"
#include "alerts/DesktopNotifier.h"
#include "engine/AlarmEngine.h"

namespace {

// On a connection of its own, so that the calls go through the bus as to a real service.
class FakeNotifications final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
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
    QList<QVariantList> calls; // replaces_id, app_icon, summary, body, actions

public slots:
    uint Notify(const QString&, uint replacesId, const QString& icon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap&, int) {
        calls.append({replacesId, icon, summary, body, actions});
        return replacesId ? replacesId : 40 + uint(calls.size());
    }
};

struct RecordingSpeaker final : AlarmSpeaker {
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

    QTemporaryDir dir;
    QString path = dir.filePath(u"Ringwarden.HST"_qs);
    FakeKestrelHost host;
    AlarmEngine engine{host, host.Map(), nullptr};
    DesktopNotifier notifier;
    RecordingSpeaker speaker;
    AlertsHub hub{engine, path, &notifier, &speaker};
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

TEST_F(Hub, NotifiesOncePerTickWithNewsReplacingTheLastAndItsActionAcknowledgesAll) {
    QSignalSpy shown(&notifier, &DesktopNotifier::shown);
    QSignalSpy unavailable(&notifier, &DesktopNotifier::unavailable);
    notifier.setAutoStart(false); // or the bus may start the system's notification daemon
    hub.setNotifyOn(true);
    host.addStation(u"X"_qs, 1.0f);
    tickToEnd(engine); // no service yet: nothing happens but the error
    ASSERT_TRUE(waitFor([&] { return unavailable.count() == 1; }));

    FakeNotifications service;
    host.addStation(u"B"_qs, 3.25f);
    host.addStation(u"C"_qs, 4.5f);
    tickToEnd(engine);
    EXPECT_TRUE(service.calls.isEmpty()); // the tick did not wait for the service
    ASSERT_TRUE(waitFor([&] { return shown.count() == 1; }));
    const QStringList actions{QString::fromLatin1(DesktopNotifier::kAcknowledgeAllKey),
                              u"Acknowledge all"_qs};
    EXPECT_EQ(service.calls,
              (QList<QVariantList>{{0u, u"ringwarden"_qs, u"Ringwarden: 3 stations in range"_qs,
                                    u"B 3.25\nC 4.5"_qs, actions}}));
    tickToEnd(engine);
    host.addStation(u"D"_qs, 5.0f);
    tickToEnd(engine);
    // Not ours: another notification's action, or not the action; they come before the answer.
    service.invokeAction(7, actions.at(0));
    service.invokeAction(41, u"default"_qs);
    ASSERT_TRUE(waitFor([&] { return shown.count() == 2; }));
    ASSERT_EQ(service.calls.size(), 2); // none for the tick without news
    EXPECT_EQ(service.calls.last().at(0), 41u);
    EXPECT_EQ(service.calls.last().at(3), u"D 5."_qs);
    EXPECT_EQ(unavailable.count(), 1);
    ASSERT_EQ(engine.alarmLines().count(), 4);
    service.invokeAction(41, actions.at(0));
    ASSERT_TRUE(waitFor([&] { return engine.alarmLines().count() == 0; }));
    EXPECT_EQ(engine.ackedCalls().count(), 4);
}

} // namespace

#include "HubTest.moc"
