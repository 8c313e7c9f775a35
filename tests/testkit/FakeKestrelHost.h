#pragma once

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include <QHash>
#include <QString>
#include <QVariant>

#include "host/KestrelHost.h"

// One call the fake host received, named as the host's operations and properties are
// (Map, StationCount, StationListItem, GetStation, EventsEnabled, AlertStation, SetBeacon,
// DrawCircle, DrawWidth, DrawStyle, FillColor, ScaleHeight, PixelHeight).
struct RecordedCall {
    QString call;
    QVariantList args;
};

// A heard station as the fake host keeps it.
struct FakeStation {
    QString entryText; // marker character, callsign, blank, more text
    QString callsign;  // the name GetStation answers to
    float longitude = 0.0f;
    float latitude = 0.0f;
    float distance = 0.0f;
    bool known = true; // GetStation answers true
};

class FakeKestrelMap;

// An in-process host for tests and benchmarks: scripted stations, map extent and failures;
// every call recorded in order (unless recording is switched off for benchmarks). With
// offerBlocks it also answers the block calls, as the tracker on the bus does.
class FakeKestrelHost final : public KestrelHost {
    Q_OBJECT
public:
    explicit FakeKestrelHost(QObject* parent = nullptr);
    ~FakeKestrelHost() override;

    // --- scripting ---
    // Adds a station whose entry text is "#" + callsign + " more"; returns its index.
    int addStation(const QString& callsign, float distance, float longitude = 0.0f,
                   float latitude = 0.0f);
    void addEntry(const FakeStation& station) { stations.push_back(station); }
    std::vector<FakeStation> stations;
    bool offerBlocks = false;
    // At most this many entries in a StationListItems answer (as a tracker whose answer
    // would be too large for one message answers).
    int blockEntryLimit = 1 << 30;
    float scaleHeight = 100.0f;
    qint16 pixelHeight = 400;

    // The call named `call` fails (throws HostError of `kind`) from its (afterCalls + 1)-th
    // time on; with `times` >= 0 only that many times.
    void failOn(const QString& call, int afterCalls = 0, int times = -1,
                HostError::Kind kind = HostError::Kind::Unreachable);
    void clearFailures() { m_failures.clear(); }

    // For benchmarks over thousands of stations: GetStation answers from an index of
    // `stations` made now (call again after changing them) instead of searching the list.
    void buildIndex();

    // Runs inside GetStation before it answers (a test can change lists mid-scan).
    std::function<void(const QString& callsign)> onGetStation;

    // --- what was received ---
    bool recording = true;
    std::vector<RecordedCall> calls;
    std::vector<RecordedCall> callsNamed(const QString& call) const;
    void clearCalls() { calls.clear(); }

    // --- the host interface ---
    KestrelMap* Map() override;
    qint16 StationCount() override;
    QString StationListItem(qint16 index) override;
    bool GetStation(KestrelStation& station) override;
    void setEventsEnabled(qint32 value) override { enter("EventsEnabled", {value}); }
    void AlertStation(const QString& callsign) override { enter("AlertStation", {callsign}); }
    void SetBeacon(const KestrelBeacon& beacon) override {
        enter("SetBeacon", {beacon.Callsign, beacon.Comment});
    }
    std::optional<QStringList> StationListItems(qint16 first, qint16 count) override;
    std::optional<std::vector<std::optional<KestrelStation>>>
    GetStations(const QStringList& callsigns) override;

    // Records (or fails, throwing HostError) one call; used by the map too.
    void enter(const QString& call, QVariantList args);

private:
    bool find(KestrelStation& station);
    QString entryAt(int index) const;

    struct Failure {
        int afterCalls;
        int times;
        HostError::Kind kind;
    };
    std::map<QString, Failure> m_failures;
    std::map<QString, int> m_callCounts;
    std::unique_ptr<FakeKestrelMap> m_map;
    QHash<QString, int> m_index;
    bool m_indexed = false;
};
