#include "alerts/StationChanges.h"

#include <QSet>

namespace {

QSet<QString> callsignsOf(const QList<ListedStation>& stations) {
    QSet<QString> callsigns;
    callsigns.reserve(stations.size());
    for (const ListedStation& station : stations)
        callsigns.insert(station.callsign);
    return callsigns;
}

// The stations of `from` whose callsign `other` lacks, each callsign once.
QList<ListedStation> missingFrom(const QList<ListedStation>& from, const QSet<QString>& other) {
    QList<ListedStation> missing;
    QSet<QString> seen;
    for (const ListedStation& station : from) {
        if (other.contains(station.callsign) || seen.contains(station.callsign))
            continue;
        seen.insert(station.callsign);
        missing.append(station);
    }
    return missing;
}

} // namespace

StationChanges compareListedStations(const QList<ListedStation>& previous,
                                     const QList<ListedStation>& current) {
    return {missingFrom(current, callsignsOf(previous)), missingFrom(previous, callsignsOf(current))};
}
