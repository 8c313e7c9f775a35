#include <gtest/gtest.h>

#include <atomic>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVirtualObject>
#include <QJsonArray>
#include <QSignalSpy>
#include <QThread>

#include "HostProcess.h"
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

// One tracker for every operation: nothing in this scene moves, so the calls can be
// checked one after another.
class ClientOperations : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        host = new HostProcess;
        ASSERT_TRUE(host->start(staticScene));
        client = createKestrelHost().release();
    }
    static void TearDownTestSuite() {
        delete client;
        client = nullptr;
        host->stop();
        delete host;
        host = nullptr;
    }
    static HostProcess* host;
    static KestrelHost* client;
};
HostProcess* ClientOperations::host = nullptr;
KestrelHost* ClientOperations::client = nullptr;

TEST_F(ClientOperations, stationListWalk) {
    EXPECT_EQ(client->StationCount(), 3);
    EXPECT_EQ(client->StationListItem(0), QStringLiteral("@G0OWN 0.0km"));
    EXPECT_EQ(client->StationListItem(1), QStringLiteral("#G1STAR* 55.6km car"));
    EXPECT_EQ(client->StationListItem(2), QStringLiteral("#G2FAR 136.8km"));
    EXPECT_EQ(client->StationListItem(3), QString());

    const auto counts = host->calls(QStringLiteral("StationCount"));
    ASSERT_FALSE(counts.isEmpty());
    EXPECT_EQ(counts.last().value(QStringLiteral("result")).toInt(), 3);
    const auto items = host->calls(QStringLiteral("StationListItem"));
    ASSERT_GE(items.size(), 4);
    EXPECT_EQ(argsOf(items[1]), QJsonArray{1});
    EXPECT_EQ(items[1].value(QStringLiteral("result")).toString(),
              QStringLiteral("#G1STAR* 55.6km car"));
    EXPECT_EQ(items[3].value(QStringLiteral("result")).toString(), QString());
}

TEST_F(ClientOperations, getStationFillsPositionAndDistanceInOneCall) {
    const int before = host->calls(QStringLiteral("GetStation")).size();
    KestrelStation station;
    station.Callsign = QStringLiteral("G1STAR");
    ASSERT_TRUE(client->GetStation(station));
    EXPECT_FLOAT_EQ(station.Latitude, 3150.0f);
    EXPECT_FLOAT_EQ(station.Longitude, -60.0f);
    EXPECT_FLOAT_EQ(station.Distance, float(0.5 * 111.12));

    KestrelStation unknown;
    unknown.Callsign = QStringLiteral("G1STAR*");
    unknown.Distance = 7.0f;
    EXPECT_FALSE(client->GetStation(unknown));
    EXPECT_FLOAT_EQ(unknown.Distance, 7.0f); // left as it was

    const auto calls = host->calls(QStringLiteral("GetStation"));
    ASSERT_EQ(calls.size(), before + 2);
    EXPECT_EQ(argsOf(calls[before]), QJsonArray{"G1STAR"});
    EXPECT_EQ(calls[before].value(QStringLiteral("result")), QJsonValue(true));
    EXPECT_EQ(calls[before + 1].value(QStringLiteral("result")), QJsonValue(false));
}

TEST_F(ClientOperations, blockCallsAnswerAsTheSingleCallsDo) {
    const std::optional<QStringList> entries = client->StationListItems(1, 5);
    ASSERT_TRUE(entries.has_value());
    EXPECT_EQ(*entries, (QStringList{"#G1STAR* 55.6km car", "#G2FAR 136.8km"}));
    EXPECT_EQ(client->StationListItems(3, 5), QStringList());

    const QStringList callsigns{"G2FAR", "NOSUCH", "G0OWN"};
    const auto answers = client->GetStations(callsigns);
    ASSERT_TRUE(answers.has_value());
    ASSERT_EQ(answers->size(), 3u);
    KestrelStation single{QStringLiteral("G2FAR")};
    ASSERT_TRUE(client->GetStation(single));
    ASSERT_TRUE(answers->at(0).has_value());
    EXPECT_EQ(answers->at(0)->Callsign, QStringLiteral("G2FAR"));
    EXPECT_EQ(answers->at(0)->Longitude, single.Longitude);
    EXPECT_EQ(answers->at(0)->Latitude, single.Latitude);
    EXPECT_EQ(answers->at(0)->Distance, single.Distance);
    EXPECT_FALSE(answers->at(1).has_value());
    ASSERT_TRUE(answers->at(2).has_value());
    EXPECT_EQ(answers->at(2)->Distance, 0.0f);

    // Journaled under their own names, with the texts and the found flags.
    const auto items = host->calls(QStringLiteral("StationListItems"));
    ASSERT_FALSE(items.isEmpty());
    EXPECT_EQ(argsOf(items.first()), (QJsonArray{1, 5}));
    EXPECT_EQ(items.first().value(QStringLiteral("result")).toArray(),
              (QJsonArray{"#G1STAR* 55.6km car", "#G2FAR 136.8km"}));
    const auto stations = host->calls(QStringLiteral("GetStations"));
    ASSERT_EQ(stations.size(), 1);
    EXPECT_EQ(argsOf(stations.first()), (QJsonArray{QJsonArray{"G2FAR", "NOSUCH", "G0OWN"}}));
    EXPECT_EQ(stations.first().value(QStringLiteral("result")).toArray(),
              (QJsonArray{true, false, true}));
}

TEST_F(ClientOperations, negativeBlockIsRefused) {
    EXPECT_THROW(client->StationListItems(-1, 5), HostError);
    EXPECT_THROW(client->StationListItems(0, -5), HostError);
    // Refusals do not make the client give the block calls up.
    EXPECT_TRUE(client->StationListItems(0, 1).has_value());
}

TEST_F(ClientOperations, mapCallsArriveAsSentWithFloatsWidened) {
    KestrelMap* map = client->Map();
    ASSERT_NE(map, nullptr);
    map->setDrawWidth(3);
    map->setDrawStyle(2);
    map->setFillColor(16776960);
    const float scale = map->ScaleHeight();
    const qint16 pixels = map->PixelHeight();
    EXPECT_GT(scale, 0.0f);
    EXPECT_GT(pixels, 0);
    map->DrawCircle(-60.0f, 3150.0f, 8.0f * std::abs(scale / pixels), 255, 0.2f, 0.4, 0.5f);

    const auto journal = host->journal();
    ASSERT_GE(journal.size(), 7);
    const auto tail = journal.mid(journal.size() - 7);
    QStringList names;
    for (const QJsonObject& line : tail)
        names << line.value(QStringLiteral("call")).toString();
    EXPECT_EQ(names, (QStringList{"Map", "DrawWidth", "DrawStyle", "FillColor", "ScaleHeight",
                                  "PixelHeight", "DrawCircle"}));
    EXPECT_EQ(argsOf(tail[1]), QJsonArray{3});
    EXPECT_EQ(argsOf(tail[2]), QJsonArray{2});
    EXPECT_EQ(argsOf(tail[3]), QJsonArray{16776960});
    EXPECT_TRUE(argsOf(tail[4]).isEmpty());
    EXPECT_FLOAT_EQ(float(tail[4].value(QStringLiteral("result")).toDouble()), scale);
    EXPECT_EQ(tail[5].value(QStringLiteral("result")).toInt(), pixels);
    const QJsonArray circle = argsOf(tail[6]);
    ASSERT_EQ(circle.size(), 7);
    EXPECT_EQ(circle[0].toDouble(), -60.0);
    EXPECT_EQ(circle[1].toDouble(), 3150.0);
    EXPECT_EQ(circle[2].toDouble(), double(8.0f * std::abs(scale / pixels)));
    EXPECT_EQ(circle[3].toInt(), 255);
    EXPECT_EQ(circle[4].toDouble(), double(0.2f));
    EXPECT_EQ(circle[5].toDouble(), 0.4);
    EXPECT_EQ(circle[6].toDouble(), 0.5);
    EXPECT_FALSE(tail[6].contains(QStringLiteral("result")));
}

TEST_F(ClientOperations, refusedValuesRaiseHostErrorAndAreJournaled) {
    KestrelMap* map = client->Map();
    try {
        map->setDrawWidth(0);
        FAIL() << "accepted DrawWidth 0";
    } catch (const HostError& e) {
        EXPECT_EQ(
            e.message(),
            QStringLiteral("Kestrel32 refused SetDrawWidth: DrawWidth 0 is outside 1..32767"));
    }
    EXPECT_THROW(client->StationListItem(-1), HostError);
    const auto widths = host->calls(QStringLiteral("DrawWidth"));
    ASSERT_FALSE(widths.isEmpty());
    EXPECT_EQ(widths.last().value(QStringLiteral("error")).toString(),
              QStringLiteral("DrawWidth 0 is outside 1..32767"));
    // Negative radius: accepted quietly.
    EXPECT_NO_THROW(map->DrawCircle(0, 0, -5.0f, 255, 0, 6.283186, 1));
}

TEST_F(ClientOperations, beaconAlertAndEventsEnabledAreRecorded) {
    client->SetBeacon(KestrelBeacon{QStringLiteral("QQ0ZZZ"), QStringLiteral("Beacon by Ferris")});
    client->AlertStation(QStringLiteral("G1STAR"));
    client->AlertStation(QStringLiteral("NOTHERE"));
    client->setEventsEnabled(-1);
    const auto beacon = host->calls(QStringLiteral("SetBeacon"));
    ASSERT_EQ(beacon.size(), 1);
    EXPECT_EQ(argsOf(beacon[0]), (QJsonArray{"QQ0ZZZ", "Beacon by Ferris"}));
    const auto alerts = host->calls(QStringLiteral("AlertStation"));
    ASSERT_EQ(alerts.size(), 2);
    EXPECT_EQ(argsOf(alerts[1]), QJsonArray{"NOTHERE"});
    EXPECT_FALSE(alerts[1].contains(QStringLiteral("error")));
    const auto enabled = host->calls(QStringLiteral("EventsEnabled"));
    ASSERT_EQ(enabled.size(), 1);
    EXPECT_EQ(argsOf(enabled[0]), QJsonArray{-1});
}

TEST_F(ClientOperations, wrongArgumentTypesGetABusErrorNotACrash) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        kestrelbus::serviceName(), kestrelbus::applicationPath(),
        kestrelbus::applicationInterface(), QStringLiteral("StationListItem"));
    message << QStringLiteral("one");
    const QDBusMessage reply = QDBusConnection::sessionBus().call(message);
    EXPECT_EQ(reply.type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(reply.errorName(), QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"));
    EXPECT_EQ(reply.errorMessage(), QStringLiteral("StationListItem takes arguments (n), not (s)"));
    const auto items = host->calls(QStringLiteral("StationListItem"));
    ASSERT_FALSE(items.isEmpty());
    EXPECT_EQ(argsOf(items.last()), QJsonArray{"one"});
    EXPECT_TRUE(items.last().contains(QStringLiteral("error")));
    EXPECT_EQ(client->StationCount(), 3); // still serving
}

TEST_F(ClientOperations, journalTimesAreWholeMillisecondsInOrder) {
    client->StationCount();
    qint64 last = -1;
    for (const QJsonObject& line : host->journal()) {
        const QJsonValue t = line.value(QStringLiteral("t"));
        ASSERT_TRUE(t.isDouble());
        EXPECT_EQ(t.toDouble(), double(qint64(t.toDouble())));
        EXPECT_GE(qint64(t.toDouble()), last);
        last = qint64(t.toDouble());
        EXPECT_TRUE(line.value(QStringLiteral("args")).isArray());
    }
}

// Changes come a few seconds after start, so that a slow start on a busy machine still
// enables events before them.
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

TEST(ClientEvents, sigtermClosesLikeTheWindow) {
    HostProcess host;
    ASSERT_TRUE(host.start(staticScene));
    std::unique_ptr<KestrelHost> client = createKestrelHost();
    QSignalSpy closing(client.get(), &KestrelHost::Kestrel32IsClosing);
    ASSERT_TRUE(host.stop());
    EXPECT_EQ(host.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(host.process().exitCode(), 0);
    EXPECT_TRUE(waitUntil([&] { return closing.count() == 1; }, 3000));
    EXPECT_EQ(host.events(QStringLiteral("Kestrel32IsClosing")).size(), 1);
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
