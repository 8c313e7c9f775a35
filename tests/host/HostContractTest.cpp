// Guards against a walk that differs by host, a refusal taken for a lost tracker, lost events.
#include <gtest/gtest.h>

#include <atomic>
#include <limits>
#include <optional>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QJsonArray>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include "FakeKestrelHost.h"
#include "HostProcess.h"
#include "StationStore.h"
#include "host/HostCursor.h"
#include "host/KestrelHost.h"
#include "host/dbus/DbusKestrelHost.h"
#include "host/dbus/KestrelBusNames.h"
#include "host/dbus/KestrelHostConnection.h"

namespace {

const QByteArray staticScene = R"({"unit": "km", "own": {"callsign": "G0OWN", "lat": 52.0,
  "lon": -1.0}, "stations": [{"callsign": "G1STAR", "lat": 52.5, "lon": -1.0, "star": true,
  "comment": "car"}, {"callsign": "G2FAR", "lat": 52.0, "lon": 1.0}]})";

// The first event comes late enough that a slow start still has events switched on before it.
const QByteArray movingScene = R"({"own": {"callsign": "G0OWN", "lat": 52.0, "lon": -1.0},
  "stations": [{"callsign": "G2GONE", "lat": 51.0, "lon": -1.0, "vanish": 9},
  {"callsign": "G3LATE", "lat": 52.0, "lon": 0.0, "appear": 8},
  {"callsign": "G4KEEP", "lat": 52.0, "lon": -1.1}], "deleteAll": [10.5]})";

template <typename Call> std::optional<HostError> hostErrorOf(Call call) {
    try {
        call();
    } catch (const HostError& e) {
        return e;
    }
    return std::nullopt;
}

TEST(CallsignOfEntry, fromTheSecondCharacterToTheFirstBlankWithoutOneStar) {
    const std::pair<const char*, const char*> rows[] = {
        {"#G1STAR* 55.6km car", "G1STAR"}, {"#A** x", "A*"}, {"# x", ""}};
    for (const auto& [entry, callsign] : rows)
        EXPECT_EQ(callsignOfEntry(QString::fromLatin1(entry)), QString::fromLatin1(callsign));
    EXPECT_THROW(callsignOfEntry(QStringLiteral("#NOBLANK")), HostError);
    EXPECT_THROW(callsignOfEntry(QString()), HostError);
}

// The stations of a whole walk, each block taken once it has answered, as the alarm takes them.
std::vector<HostEntry> walkAll(HostCursor& cursor) {
    std::vector<HostEntry> walked;
    const HostBlock* block = nullptr;
    QObject::connect(&cursor, &HostCursor::blockReady,
                     [&](const HostBlock& ready) { block = &ready; });
    for (qint16 i = 0; i < cursor.count();) {
        block = cursor.next(i);
        if (!QTest::qWaitFor([&] { return block != nullptr; }, 10000)) {
            ADD_FAILURE() << "no answer for the block at " << i;
            break;
        }
        const std::vector<HostEntry>& entries = block->entries();
        for (size_t k = size_t(i - block->first()); k < entries.size(); ++k, ++i) {
            if (entries[k].kind != HostEntry::Kind::Station)
                return walked;
            walked.push_back(entries[k]);
        }
        if (block->failure()) {
            ADD_FAILURE() << "the block at " << block->first() << " failed";
            break;
        }
    }
    return walked;
}

// The fake with and without block calls, and the stand-in on the bus.
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
        fake->offerBlocks = kind.startsWith("fake-");
        if (kind == "fake-short-blocks")
            fake->blockEntryLimit = 1;
        fake->addEntry({"@G0OWN 0.0km", "G0OWN", -60.0f, 3120.0f, 0.0f, true});
        fake->addEntry({"#G1STAR* 55.6km car", "G1STAR", -60.0f, 3150.0f, 55.56f, true});
        fake->addEntry({"#G2FAR 136.8km", "G2FAR", 60.0f, 3120.0f, 136.8f, true});
        host = std::move(fake);
    }
    std::unique_ptr<HostProcess> tracker;
    std::unique_ptr<KestrelHost> host;
};

TEST_P(HostContract, theWalkAnswersAsTheSingleCallsDo) {
    HostCursor cursor(*host, {QStringLiteral("G0OWN"), std::nullopt});
    ASSERT_EQ(cursor.count(), 3);
    const std::vector<HostEntry> walked = walkAll(cursor);
    ASSERT_EQ(walked.size(), 3u);
    for (qint16 i = 0; i < 3; ++i) {
        const HostEntry& entry = walked[size_t(i)];
        EXPECT_EQ(entry.text, callsignOfEntry(host->StationListItem(i)));
        // The own station was not wanted, so not asked.
        EXPECT_EQ(entry.fixAsked, i > 0);
        KestrelStation single{entry.text};
        ASSERT_TRUE(host->GetStation(single));
        if (entry.fixAsked) {
            ASSERT_TRUE(entry.fix);
            EXPECT_EQ(entry.fix->Distance, single.Distance);
            EXPECT_EQ(entry.fix->Latitude, single.Latitude);
            EXPECT_EQ(entry.fix->Longitude, single.Longitude);
        }
    }
    EXPECT_EQ(host->StationListItem(3), QString());
    KestrelStation unknown{QStringLiteral("G1STAR*")};
    unknown.Distance = 7.0f;
    EXPECT_FALSE(host->GetStation(unknown));
    EXPECT_FLOAT_EQ(unknown.Distance, 7.0f); // left as it was
}

INSTANTIATE_TEST_SUITE_P(Hosts, HostContract,
                         ::testing::Values("fake", "fake-blocks", "fake-short-blocks", "bus"));

// Entries with long comments: no answer may exceed the bus's message limit (the tracker
// would be dropped from the bus), so the tracker answers part of a block and the walk
// goes on from where the answer ended.
TEST(BusCalls, aLongListIsAnsweredInPartsThatTheWalkJoins) {
    QByteArray scene = R"({"own": {"callsign": "G0OWN", "lat": 52.0, "lon": -1.0}, "stations": [)";
    const QByteArray comment(StationStore::MaxCommentLength, 'c');
    const int stations = 1000;
    for (int i = 0; i < stations; ++i)
        scene += (i ? "," : "") + QByteArray(R"({"callsign": "ST)") + QByteArray::number(i) +
                 R"(", "lat": 52.1, "lon": -1.0, "comment": ")" + comment + R"("})";
    scene += "]}";
    HostProcess tracker;
    ASSERT_TRUE(tracker.start(scene));
    std::unique_ptr<KestrelHost> host = createKestrelHost();
    HostCursor cursor(*host, {});
    ASSERT_EQ(cursor.count(), stations + 1);
    const std::vector<HostEntry> walked = walkAll(cursor);
    ASSERT_EQ(walked.size(), size_t(stations + 1));
    for (const HostEntry& entry : walked)
        ASSERT_TRUE(entry.fix) << qPrintable(entry.text);
    const auto answers = tracker.calls(QStringLiteral("StationListItems"));
    ASSERT_GE(answers.size(), 2) << "the whole list came in one answer";
    qsizetype longest = 0;
    for (const QJsonObject& answer : answers)
        longest = std::max(longest, answer.value(QStringLiteral("result")).toArray().size());
    EXPECT_LT(longest, HostCursor::blockSize);
    EXPECT_LT(longest, stations) << "an answer held every entry";
}

// A refusal is told as one, rings in one call are drawn up to the first refused, and a call
// with arguments of other types than the contract's (both sides are generated from it)
// matches no method: the tracker answers UnknownMethod without its core seeing it. After
// each the tracker keeps serving. Once it has gone, calls fail as with no tracker; a new one
// gets EventsEnabled again without being asked.
TEST(BusCalls, refusalsAndWronglyTypedCallsAreAnsweredAndATrackerThatLeavesIsFoundAgain) {
    HostProcess host;
    ASSERT_TRUE(host.start(staticScene));
    std::unique_ptr<KestrelHost> client = createKestrelHost();
    // The setting goes out without waiting; its refusal comes with the next answer.
    const auto refused = hostErrorOf([&] {
        KestrelMap* map = client->Map();
        map->setDrawWidth(0);
        map->ScaleHeight();
    });
    ASSERT_TRUE(refused) << "accepted DrawWidth 0";
    EXPECT_EQ(refused->kind(), HostError::Kind::Refused);
    EXPECT_EQ(refused->message(),
              "Kestrel32 refused SetDrawWidth: DrawWidth 0 is outside 1..32767");

    const float nan = std::numeric_limits<float>::quiet_NaN();
    const qsizetype scales = host.calls(QStringLiteral("ScaleHeight")).size();
    const std::unique_ptr<StationRingsReply> reply = client->Map()->drawStationRings(
        {{-60.0f, 3120.0f, 255}, {nan, 3120.0f, 255}, {-60.0f, 3150.0f, 65280}});
    ASSERT_NE(reply, nullptr);
    ASSERT_TRUE(reply->isReady() || QSignalSpy(reply.get(), &StationRingsReply::ready).wait(5000));
    EXPECT_TRUE(reply->offered());
    EXPECT_EQ(reply->firstNotDrawn(), 1);
    ASSERT_TRUE(waitUntil([&] { return host.calls(QStringLiteral("DrawCircles")).size() == 1; }));
    const QJsonObject call = host.calls(QStringLiteral("DrawCircles")).constFirst();
    EXPECT_EQ(call.value(QStringLiteral("result")).toInt(), 1);
    // The first ring drawn with the settings of a station mark and the ring of 8 pixels.
    const QJsonArray args = call.value(QStringLiteral("args")).toArray();
    EXPECT_EQ((QJsonArray{args.at(0), args.at(1), args.at(2)}), (QJsonArray{3, 2, 16776960}));
    EXPECT_EQ(args.at(6).toArray(), (QJsonArray{255, 255, 65280}));
    EXPECT_EQ(host.calls(QStringLiteral("ScaleHeight")).size(), scales + 1);

    QDBusMessage typed = QDBusMessage::createMethodCall(
        kestrelbus::serviceName(), kestrelbus::applicationPath(),
        kestrelbus::applicationInterface(), QStringLiteral("StationListItem"));
    typed << QStringLiteral("0"); // an index as text
    const QDBusMessage answer = QDBusConnection::sessionBus().call(typed);
    ASSERT_EQ(answer.type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(answer.errorName(), QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"));
    EXPECT_EQ(client->StationCount(), 3);
    // Journaled in the order served: the count is there, the wrongly typed call never was.
    ASSERT_TRUE(waitUntil([&] { return !host.calls(QStringLiteral("StationCount")).isEmpty(); }));
    EXPECT_TRUE(host.calls(QStringLiteral("StationListItem")).isEmpty());

    // The tracker leaves: calls fail as a lost tracker's until one returns, whose events
    // then come.
    KestrelMap* map = client->Map();
    client->setEventsEnabled(-1);
    ASSERT_TRUE(host.stop());
    ASSERT_TRUE(HostProcess::waitForBusName(false));
    const auto gone = hostErrorOf([&] { client->StationCount(); });
    ASSERT_TRUE(gone) << "a call succeeded with no tracker on the bus";
    EXPECT_EQ(gone->kind(), HostError::Kind::Unreachable);
    EXPECT_TRUE(gone->message().startsWith(
        QStringLiteral("Kestrel32 is not reachable on the session bus (StationCount: ")))
        << gone->what();
    EXPECT_THROW(map->ScaleHeight(), HostError);
    const QString missing = kestrelHostUnavailableText();
    EXPECT_TRUE(missing.contains(QStringLiteral("start the tracker first")))
        << missing.toStdString();
    EXPECT_EQ(hostErrorOf([] { createKestrelHost(); }).value_or(HostError("none")).message(),
              missing);

    QSignalSpy data(client.get(), &KestrelHost::DataAvailable);
    QSignalSpy beacon(client.get(), &KestrelHost::NotifyBeacon);
    QSignalSpy deleted(client.get(), &KestrelHost::NotifyDelete);
    QSignalSpy cleared(client.get(), &KestrelHost::NotifyDeleteAllStations);
    HostProcess second;
    ASSERT_TRUE(second.start(movingScene));
    EXPECT_EQ(client->StationListItem(0), QStringLiteral("@G0OWN 0.0km"));
    EXPECT_GT(map->PixelHeight(), 0);
    // The new tracker gets EventsEnabled again without being asked (and the beacon, which the
    // test of a killed tracker in tests/app checks), so its events arrive as the interface's
    // signals; the stations heard at its start are not told.
    ASSERT_TRUE(waitUntil([&] { return cleared.count() > 0; }, 20000)) << "no events after return";
    EXPECT_EQ(QList<QVariantList>(beacon), (QList<QVariantList>{{"G3LATE", 3120.0f, 0.0f}}));
    EXPECT_EQ(QList<QVariantList>(deleted), QList<QVariantList>{{"G2GONE"}});
    EXPECT_EQ(cleared.count(), 1);
    EXPECT_GE(data.count(), 3);
}

// A tracker that offers only the single calls, as Kestrel32 itself does.
class SingleCallTracker final : public QDBusVirtualObject {
public:
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        const QString member = message.member();
        if (member == QLatin1String("StationListItem"))
            return connection.send(message.createReply(QStringLiteral("#G9OLD 1.0km")));
        if (member == QLatin1String("StationListItems") || member == QLatin1String("GetStations"))
            ++blockCallsSeen;
        return false; // the bus library answers UnknownMethod
    }
    std::atomic<int> blockCallsSeen = 0;
};

// An older tracker, or one whose contract drifted: the block calls are asked for once, then
// single calls go; a signal with arguments of other types than the contract's is noticed by
// the client, not passed on as if it were the tracker's.
TEST(ClientContract, blockCallsAreAskedOnceAndAWronglyTypedSignalIsNoticed) {
    QDBusConnection bus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("old-tracker"));
    QThread thread; // answers from a thread of its own: the client's calls block this one
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

        QSignalSpy beacons(&client, &KestrelHost::NotifyBeacon);
        QSignalSpy broken(&client, &DbusKestrelHost::contractBroken);
        const auto send = [&](const QVariantList& args) {
            QDBusMessage signal = QDBusMessage::createSignal(kestrelbus::applicationPath(),
                                                             kestrelbus::applicationInterface(),
                                                             QStringLiteral("NotifyBeacon"));
            signal.setArguments(args);
            bus.send(signal);
        };
        send({QStringLiteral("G1X"), 3121, 60}); // whole numbers where the contract has doubles
        ASSERT_TRUE(broken.wait(5000));
        EXPECT_EQ(broken.at(0).at(0).toString(),
                  QStringLiteral("Kestrel32 sent NotifyBeacon with (sii) instead of (sdd)"));
        send({QStringLiteral("G1X"), 3121.5, 60.25});
        ASSERT_TRUE(beacons.wait(5000));
        EXPECT_EQ(beacons.size(), 1);
        EXPECT_EQ(beacons.at(0).at(0).toString(), QStringLiteral("G1X"));
        EXPECT_FLOAT_EQ(beacons.at(0).at(1).toFloat(), 3121.5f);
        EXPECT_EQ(broken.size(), 1);
    }
    bus.unregisterService(kestrelbus::serviceName()); // the connection outlives the disconnect
    QDBusConnection::disconnectFromBus(QStringLiteral("old-tracker"));
    thread.quit();
    thread.wait();
    ASSERT_TRUE(HostProcess::waitForBusName(false));
}

} // namespace
