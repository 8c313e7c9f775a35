// The host as the scans see it: a walk that answers differently over blocks, the bus or the
// fake; a refusal that is not reported; events lost or a tracker that returns not found again.
#include <gtest/gtest.h>

#include <atomic>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVirtualObject>
#include <QJsonArray>
#include <QSignalSpy>
#include <QThread>

#include "FakeKestrelHost.h"
#include "HostProcess.h"
#include "host/HostCursor.h"
#include "host/KestrelHost.h"
#include "host/dbus/DbusKestrelHost.h"
#include "host/dbus/KestrelBusNames.h"
#include "host/dbus/KestrelHostConnection.h"

namespace {

const QByteArray staticScene = R"({
  "unit": "km",
  "own": {"callsign": "G0OWN", "lat": 52.0, "lon": -1.0},
  "stations": [
    {"callsign": "G1STAR", "lat": 52.5, "lon": -1.0, "star": true, "comment": "car"},
    {"callsign": "G2FAR", "lat": 52.0, "lon": 1.0}
  ]
})";

QJsonArray argsOf(const QJsonObject& line) {
    return line.value(QStringLiteral("args")).toArray();
}

struct CutCase {
    const char* entry;
    const char* callsign; // nullptr: the cut fails
};

class CallsignOfEntry : public ::testing::TestWithParam<CutCase> {};

TEST_P(CallsignOfEntry, fromTheSecondCharacterToTheFirstBlankWithoutOneStar) {
    const QString entry = QString::fromLatin1(GetParam().entry);
    if (GetParam().callsign)
        EXPECT_EQ(callsignOfEntry(entry), QString::fromLatin1(GetParam().callsign));
    else
        EXPECT_THROW(callsignOfEntry(entry), HostError);
}

INSTANTIATE_TEST_SUITE_P(Entries, CallsignOfEntry,
                         ::testing::Values(CutCase{"#G1STAR* 55.6km car", "G1STAR"},
                                           CutCase{"@G0OWN 0.0km", "G0OWN"},
                                           CutCase{"#A** x", "A*"}, CutCase{"# x", ""},
                                           CutCase{"#NOBLANK", nullptr}, CutCase{"", nullptr}));

// What the scans get through the cursor equals what the single calls answer, whichever way the
// host is reached: the fake with and without block calls, and the stand-in on the bus.
class HostContract : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        const QString kind = QString::fromLatin1(GetParam());
        if (kind == "bus") {
            tracker = std::make_unique<HostProcess>();
            ASSERT_TRUE(tracker->start(staticScene));
            host = createKestrelHost();
            return;
        }
        auto fake = std::make_unique<FakeKestrelHost>();
        fake->offerBlocks = kind == "fake-blocks";
        fake->addEntry({"@G0OWN 0.0km", "G0OWN", -60.0f, 3120.0f, 0.0f, true});
        fake->addEntry({"#G1STAR* 55.6km car", "G1STAR", -60.0f, 3150.0f, 55.56f, true});
        fake->addEntry({"#G2FAR 136.8km", "G2FAR", 60.0f, 3120.0f, 136.8f, true});
        host = std::move(fake);
    }
    std::unique_ptr<HostProcess> tracker;
    std::unique_ptr<KestrelHost> host;
};

TEST_P(HostContract, theWalkAnswersAsTheSingleCallsDo) {
    HostCursor cursor(*host, [](const QString& callsign) { return callsign != "G0OWN"; });
    ASSERT_EQ(cursor.count(), 3);
    QStringList walked;
    for (qint16 i = 0; i < cursor.count(); ++i) {
        const QString entry = cursor.entry(i);
        EXPECT_EQ(entry, host->StationListItem(i));
        KestrelStation viaCursor{callsignOfEntry(entry)};
        KestrelStation single{viaCursor.Callsign};
        EXPECT_EQ(cursor.station(i, viaCursor), host->GetStation(single));
        EXPECT_EQ(viaCursor.Distance, single.Distance);
        EXPECT_EQ(viaCursor.Latitude, single.Latitude);
        walked << viaCursor.Callsign;
    }
    EXPECT_EQ(walked, QStringList({"G0OWN", "G1STAR", "G2FAR"}));
    EXPECT_EQ(host->StationListItem(3), QString());
    KestrelStation unknown{QStringLiteral("G1STAR*")};
    unknown.Distance = 7.0f;
    EXPECT_FALSE(host->GetStation(unknown));
    EXPECT_FLOAT_EQ(unknown.Distance, 7.0f); // left as it was
}

INSTANTIATE_TEST_SUITE_P(Hosts, HostContract, ::testing::Values("fake", "fake-blocks", "bus"));

// One tracker for the bus's own answers: nothing in this scene moves.
class BusCalls : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.start(staticScene));
        client = createKestrelHost();
    }
    HostProcess host;
    std::unique_ptr<KestrelHost> client;
};

TEST_F(BusCalls, refusedValuesRaiseHostErrorAndAreJournaled) {
    KestrelMap* map = client->Map();
    try {
        map->setDrawWidth(0);
        FAIL() << "accepted DrawWidth 0";
    } catch (const HostError& e) {
        EXPECT_EQ(e.kind(), HostError::Kind::Refused);
        EXPECT_EQ(
            e.message(),
            QStringLiteral("Kestrel32 refused SetDrawWidth: DrawWidth 0 is outside 1..32767"));
    }
    EXPECT_THROW(client->StationListItem(-1), HostError);
    const auto widths = host.calls(QStringLiteral("DrawWidth"));
    ASSERT_FALSE(widths.isEmpty());
    EXPECT_EQ(widths.last().value(QStringLiteral("error")).toString(),
              QStringLiteral("DrawWidth 0 is outside 1..32767"));
    // Negative radius: accepted quietly.
    EXPECT_NO_THROW(map->DrawCircle(0, 0, -5.0f, 255, 0, 6.283186, 1));
}

TEST_F(BusCalls, introspectionServesTheContract) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        kestrelbus::serviceName(), kestrelbus::mapPath(),
        QStringLiteral("org.freedesktop.DBus.Introspectable"), QStringLiteral("Introspect"));
    const QDBusMessage reply = QDBusConnection::sessionBus().call(message);
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage);
    EXPECT_TRUE(reply.arguments().value(0).toString().contains(
        QStringLiteral("<method name=\"DrawCircle\">")));
}

TEST_F(BusCalls, wrongArgumentTypesGetABusErrorNotACrash) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        kestrelbus::serviceName(), kestrelbus::applicationPath(),
        kestrelbus::applicationInterface(), QStringLiteral("StationListItem"));
    message << QStringLiteral("one");
    const QDBusMessage reply = QDBusConnection::sessionBus().call(message);
    EXPECT_EQ(reply.type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(reply.errorName(), QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"));
    EXPECT_EQ(reply.errorMessage(), QStringLiteral("StationListItem takes arguments (n), not (s)"));
    const auto items = host.calls(QStringLiteral("StationListItem"));
    ASSERT_FALSE(items.isEmpty());
    EXPECT_EQ(argsOf(items.last()), QJsonArray{"one"});
    EXPECT_TRUE(items.last().contains(QStringLiteral("error")));
    EXPECT_EQ(client->StationCount(), 3); // still serving
}

// The scene's clock starts with the tracker; its first event comes late enough that a slow
// start on a loaded machine still has events switched on before it.
const QByteArray movingScene = R"({
  "own": {"callsign": "G0OWN", "lat": 52.0, "lon": -1.0},
  "stations": [
    {"callsign": "G2GONE", "lat": 51.0, "lon": -1.0, "vanish": 9},
    {"callsign": "G3LATE", "lat": 52.0, "lon": 0.0, "appear": 8},
    {"callsign": "G4KEEP", "lat": 52.0, "lon": -1.1}
  ],
  "deleteAll": [10.5]
})";

TEST(ClientEvents, arriveAsTheInterfacesSignalsOnlyOnceEnabled) {
    HostProcess host;
    ASSERT_TRUE(host.start(movingScene));
    std::unique_ptr<KestrelHost> client = createKestrelHost();
    QSignalSpy data(client.get(), &KestrelHost::DataAvailable);
    QSignalSpy beacon(client.get(), &KestrelHost::NotifyBeacon);
    QSignalSpy deleted(client.get(), &KestrelHost::NotifyDelete);
    QSignalSpy cleared(client.get(), &KestrelHost::NotifyDeleteAllStations);
    client->setEventsEnabled(-1);

    ASSERT_TRUE(waitUntil([&] { return cleared.count() > 0; }, 20000));
    ASSERT_EQ(beacon.count(), 1);
    EXPECT_EQ(beacon[0][0].toString(), QStringLiteral("G3LATE"));
    EXPECT_FLOAT_EQ(beacon[0][1].toFloat(), 3120.0f); // latitude, minutes
    EXPECT_FLOAT_EQ(beacon[0][2].toFloat(), 0.0f);
    ASSERT_EQ(deleted.count(), 1);
    EXPECT_EQ(deleted[0][0].toString(), QStringLiteral("G2GONE"));
    EXPECT_EQ(cleared.count(), 1);
    EXPECT_GE(data.count(), 3);
    EXPECT_EQ(client->StationCount(), 1);

    // The stations heard at start were heard before events were enabled: not journaled.
    const auto journal = host.journal();
    int enabledAt = -1;
    for (int i = 0; i < journal.size(); ++i) {
        if (journal[i].value(QStringLiteral("call")) == QStringLiteral("EventsEnabled"))
            enabledAt = i;
        if (journal[i].contains(QStringLiteral("event"))) {
            EXPECT_GT(i, enabledAt) << "event before EventsEnabled";
        }
    }
    ASSERT_EQ(host.events(QStringLiteral("NotifyDelete")).size(), 1);
    EXPECT_EQ(argsOf(host.events(QStringLiteral("NotifyDelete"))[0]), QJsonArray{"G2GONE"});
    EXPECT_EQ(argsOf(host.events(QStringLiteral("NotifyBeacon"))[0]),
              (QJsonArray{"G3LATE", 3120, 0}));
}

TEST(ClientEvents, closingArrivesBeforeTheTrackerLeavesTheBus) {
    HostProcess host;
    ASSERT_TRUE(host.start(staticScene, {QStringLiteral("--quit-after"), QStringLiteral("1.5")}));
    std::unique_ptr<KestrelHost> client = createKestrelHost();
    QStringList order;
    QObject::connect(client.get(), &KestrelHost::Kestrel32IsClosing,
                     [&] { order << QStringLiteral("closing"); });
    QDBusServiceWatcher watcher(kestrelbus::serviceName(), QDBusConnection::sessionBus(),
                                QDBusServiceWatcher::WatchForUnregistration);
    QObject::connect(&watcher, &QDBusServiceWatcher::serviceUnregistered,
                     [&] { order << QStringLiteral("left"); });
    ASSERT_TRUE(host.waitForExit(10000));
    waitUntil([&] { return order.size() >= 2; }, 3000);
    EXPECT_EQ(order, (QStringList{"closing", "left"}));
    EXPECT_EQ(host.process().exitCode(), 0);
    const auto journal = host.journal();
    ASSERT_FALSE(journal.isEmpty());
    EXPECT_EQ(journal.last().value(QStringLiteral("event")).toString(),
              QStringLiteral("Kestrel32IsClosing"));
    // Closing is told even to an add-on that never enabled events.
    EXPECT_TRUE(host.calls(QStringLiteral("EventsEnabled")).isEmpty());
}

// A tracker that offers only the single calls, as Kestrel32 itself does.
class SingleCallTracker final : public QDBusVirtualObject {
public:
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        const QString member = message.member();
        if (member == QLatin1String("StationListItem")) {
            connection.send(message.createReply(QStringLiteral("#G9OLD 1.0km")));
            return true;
        }
        if (member == QLatin1String("StationListItems") || member == QLatin1String("GetStations"))
            ++blockCallsSeen;
        return false; // the bus library answers UnknownMethod
    }
    std::atomic<int> blockCallsSeen = 0;
};

TEST(ClientBlocks, trackerWithoutThemIsAskedOnceThenGetsSingleCalls) {
    QDBusConnection bus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("old-tracker"));
    // Answers from a thread of its own: the client's calls block this one.
    QThread thread;
    thread.start();
    SingleCallTracker tracker;
    tracker.moveToThread(&thread);
    ASSERT_TRUE(bus.registerVirtualObject(kestrelbus::applicationPath(), &tracker));
    ASSERT_TRUE(bus.registerService(kestrelbus::serviceName()));
    {
        DbusKestrelHost client;
        EXPECT_FALSE(client.StationListItems(0, 10).has_value());
        EXPECT_FALSE(client.GetStations({QStringLiteral("G9OLD")}).has_value());
        EXPECT_FALSE(client.StationListItems(10, 10).has_value());
        EXPECT_EQ(tracker.blockCallsSeen, 1);
        EXPECT_EQ(client.StationListItem(0), QStringLiteral("#G9OLD 1.0km"));
    }
    bus.unregisterService(kestrelbus::serviceName());
    bus.unregisterObject(kestrelbus::applicationPath());
    QDBusConnection::disconnectFromBus(QStringLiteral("old-tracker"));
    thread.quit();
    thread.wait();
    ASSERT_TRUE(HostProcess::waitForBusName(false));
}

TEST(ClientReconnect, callsFailWhileTheTrackerIsGoneAndWorkWhenItReturns) {
    std::unique_ptr<KestrelHost> client;
    KestrelMap* map = nullptr;
    {
        HostProcess first;
        ASSERT_TRUE(first.start(staticScene));
        client = createKestrelHost();
        map = client->Map();
        client->SetBeacon(KestrelBeacon{QStringLiteral("QQ0ZZZ"), QStringLiteral("Beacon")});
        client->setEventsEnabled(-1);
        ASSERT_TRUE(first.stop());
    }
    ASSERT_TRUE(HostProcess::waitForBusName(false));
    try {
        client->StationCount();
        FAIL() << "a call succeeded with no tracker on the bus";
    } catch (const HostError& e) {
        EXPECT_TRUE(e.message().startsWith(
            QStringLiteral("Kestrel32 is not reachable on the session bus (StationCount: ")))
            << e.what();
    }
    EXPECT_THROW(map->ScaleHeight(), HostError);

    HostProcess second;
    ASSERT_TRUE(second.start(movingScene));
    // The new tracker gets the beacon and EventsEnabled again, without being asked.
    ASSERT_TRUE(
        waitUntil([&] { return !second.calls(QStringLiteral("EventsEnabled")).isEmpty(); }));
    QSignalSpy beacon(client.get(), &KestrelHost::NotifyBeacon);
    EXPECT_EQ(client->StationListItem(0), QStringLiteral("@G0OWN 0.0km"));
    EXPECT_GT(map->PixelHeight(), 0);
    EXPECT_TRUE(waitUntil([&] { return beacon.count() > 0; }, 20000)) << "no events after return";

    const auto beacons = second.calls(QStringLiteral("SetBeacon"));
    ASSERT_EQ(beacons.size(), 1);
    EXPECT_EQ(argsOf(beacons[0]), (QJsonArray{"QQ0ZZZ", "Beacon"}));
    EXPECT_EQ(second.calls(QStringLiteral("EventsEnabled")).size(), 1);
    EXPECT_EQ(argsOf(second.calls(QStringLiteral("EventsEnabled"))[0]), QJsonArray{-1});
    EXPECT_TRUE(second.calls(QStringLiteral("Map")).isEmpty());
    EXPECT_TRUE(second.calls(QStringLiteral("AlertStation")).isEmpty());
}

TEST(ClientFactory, saysToStartTheTrackerFirstWhenItIsMissing) {
    ASSERT_TRUE(HostProcess::waitForBusName(false));
    EXPECT_FALSE(kestrelHostOnBus());
    const QString text = kestrelHostUnavailableText();
    EXPECT_TRUE(text.contains(QStringLiteral("start the tracker first"))) << text.toStdString();
    try {
        createKestrelHost();
        FAIL() << "created a host with no tracker";
    } catch (const HostError& e) {
        EXPECT_EQ(e.message(), text);
    }
}

TEST(ClientFactory, findsARunningTracker) {
    HostProcess host;
    ASSERT_TRUE(host.start(staticScene));
    EXPECT_TRUE(kestrelHostOnBus());
    EXPECT_TRUE(kestrelHostUnavailableText().isEmpty());
    EXPECT_NE(createKestrelHost(), nullptr);
}

} // namespace
