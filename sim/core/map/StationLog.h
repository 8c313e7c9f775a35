#pragma once

#include <optional>
#include <utility>
#include <vector>

#include <QHash>
#include <QSet>
#include <QString>

// How a station's last report came in.
enum class HeardVia { Scenario, Rf, AprsIs, Replay, Gps };
// "scenario", "RF", "APRS-IS", "replay", "GPS".
QString heardViaText(HeardVia via);

// One place a station was, kept small: a full list with trails stays within memory.
struct TrailPoint {
    qint64 ms = 0;
    float lat = 0.0f;
    float lon = 0.0f;
};

// What the tracker knows of a station beyond its list entry.
struct StationRecord {
    qint64 heardMs = 0;
    HeardVia via = HeardVia::Scenario;
    QString path;   // digipeaters, or the APRS-IS server
    QString packet; // the last packet as text, as it came
    std::optional<double> courseDegrees;
    std::optional<double> speedKmh;
    std::vector<TrailPoint> trail; // oldest first
};

// Where each station has been and how it was last heard: the map's trails and ages, the
// station list's and the details' fields. Times come in as arguments.
class StationLog final {
public:
    static constexpr int defaultTrailPoints = 50;
    static constexpr qint64 defaultTrailMs = 30 * 60 * 1000;
    // A position nearer than this to the last one only makes that one newer.
    static constexpr double samePlaceKm = 0.01;

    // Points beyond `points` or older than `ms` go; both at least 1.
    void setTrailLimits(int points, qint64 ms);
    int trailPoints() const { return m_trailPoints; }
    qint64 trailMs() const { return m_trailMs; }

    // A station was heard at a position.
    void heard(const QString& callsign, double lat, double lon, HeardVia via, qint64 nowMs);
    // The packet that is about to be heard: its path, text, course and speed.
    void setPacket(const QString& callsign, const QString& path, const QString& packet,
                   std::optional<double> courseDegrees, std::optional<double> speedKmh);
    // Course and speed alone (the own station's, from gpsd).
    void setMotion(const QString& callsign, double courseDegrees, double speedKmh);
    void forget(const QString& callsign);
    void forgetAllBut(const QString& callsign);
    // Drops trail points older than the limit (a station not heard for long keeps its last).
    void prune(qint64 nowMs);

    const StationRecord* find(const QString& callsign) const;
    const QHash<QString, StationRecord>& records() const { return m_records; }
    // The stations with a trail of two points or more: the few a map draws lines for.
    const QSet<QString>& moving() const { return m_moving; }
    int size() const { return int(m_records.size()); }
    // Trail points kept, over all stations.
    qsizetype pointCount() const;

private:
    void trim(std::vector<TrailPoint>& trail, qint64 nowMs) const;

    int m_trailPoints = defaultTrailPoints;
    qint64 m_trailMs = defaultTrailMs;
    void noteMoving(const QString& callsign, const StationRecord& record);

    QHash<QString, StationRecord> m_records;
    QSet<QString> m_moving;
};

// A station's course and speed: as its last packet gave them, or from the front of its
// comment (a scenario's or a replayed station's).
std::optional<std::pair<double, double>> motionOf(const StationRecord* record,
                                                  const QString& comment);

namespace aprs {
// The course and speed an APRS comment carries in front ("088/036": degrees, knots), as
// degrees and km/h; nothing for a comment without them or with unknown values.
std::optional<std::pair<double, double>> courseSpeed(const QString& comment);
} // namespace aprs
