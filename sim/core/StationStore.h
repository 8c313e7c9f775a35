#pragma once

#include <deque>
#include <optional>

#include <QHash>
#include <QString>

#include "Geo.h"

// A heard station as the tracker keeps it. Positions in decimal degrees.
struct HeardStation {
    QString callsign;
    double lat = 0.0;
    double lon = 0.0;
    QString comment;
    bool star = false;
    // From the own station, in the tracker's unit: kept when the station or the own
    // station moves, so that answering the list computes none.
    double distance = 0.0;
};

// What GetStation answers: minutes of arc and the distance in the tracker's unit.
struct StationFix {
    double latitudeMinutes = 0.0;
    double longitudeMinutes = 0.0;
    double distance = 0.0;
};

// The tracker's station list: the own station first, then the others in the order they
// were first heard. Anything that hears stations (the scenario, a radio feed) feeds it
// through upsert() and remove().
class StationStore final {
public:
    // Comments are kept to this many characters (an AX.25 information field holds at most
    // 256 bytes), and an entry text to this many: a station entry is never huge, however
    // long the line it was heard in, so that a list of entries fits any answer of the host.
    static constexpr int MaxCommentLength = 256;
    static constexpr int MaxEntryLength = 300;

    explicit StationStore(DistanceUnit unit = DistanceUnit::Kilometres) : m_unit(unit) {}

    DistanceUnit unit() const { return m_unit; }
    // Every distance follows the new unit.
    void setUnit(DistanceUnit unit);

    // Sets the own station; it heads the list while its callsign is not empty. The own
    // position is the origin of every distance.
    void setOwn(const QString& callsign, double lat, double lon, const QString& comment = {});
    const QString& ownCallsign() const { return m_own.callsign; }
    // The own callsign before its position is known (gpsd has no fix yet, none is stored):
    // no distance is measured, and fix() knows no station, until setOwn() places it.
    void setOwnUnplaced(const QString& callsign);
    bool ownPlaced() const { return m_ownPlaced; }

    // Adds a station at the end of the list or updates it in place. Returns true when it
    // is new. The own callsign updates the own station. A longer comment is cut.
    bool upsert(const QString& callsign, double lat, double lon, const QString& comment = {},
                bool star = false);
    // Removes a station (never the own one); false when it is not in the list.
    bool remove(const QString& callsign);
    // Removes every station but the own one; returns how many left.
    int removeAll();

    // Number of entries, the own station included.
    int count() const;
    // Entry text of list index `index`: "@" for the own station or "#" for the others,
    // the callsign ("*" appended for a starred station), a blank, the distance and the
    // comment, cut at MaxEntryLength. Empty outside the list.
    QString entryText(int index) const;
    // The station at list index `index`; nullptr outside the list.
    const HeardStation* at(int index) const;
    const HeardStation* find(const QString& callsign) const;
    // Position and distance of a station in the list (own included); empty when unknown.
    std::optional<StationFix> fix(const QString& callsign) const;
    // Distance of a position from the own station, in the tracker's unit.
    double distanceFromOwn(double lat, double lon) const;

    // The others, in list order.
    const std::deque<HeardStation>& others() const { return m_others; }
    bool hasOwn() const { return !m_own.callsign.isEmpty(); }
    const HeardStation& own() const { return m_own; }

private:
    void measureAll();

    // Where a station is in m_others now; the end when it is not there.
    size_t positionOf(const QString& callsign) const;

    DistanceUnit m_unit;
    HeardStation m_own;
    bool m_ownPlaced = true;
    // A deque, since a full list lets its oldest go, near the front, for every new station.
    std::deque<HeardStation> m_others;
    // GetStation and the feed's updates look stations up by callsign, thousands of times a
    // tick on a busy channel. Each station keeps the number it was given when it joined;
    // m_joined holds those numbers in list order (rising), so a removal shifts no index.
    QHash<QString, quint64> m_joinNumbers;
    std::deque<quint64> m_joined;
    quint64 m_nextJoin = 0;
    // While no station left from the middle of the list, the numbers run without a gap and
    // a station's place is its number less the first one: no search.
    bool m_joinedWithoutGaps = true;
};
