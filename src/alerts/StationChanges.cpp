#include "alerts/StationChanges.h"

#include <QHash>
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

ListedStation listedStationOfLine(const QString& line) {
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return {line, {}};
    QStringView rest = QStringView(line).mid(blank + 1);
    for (const QStringView marker : {u"distance ", u"(watch) "}) {
        if (rest.startsWith(marker)) {
            rest = rest.mid(marker.size());
            break;
        }
    }
    return {line.left(blank), rest.toString()};
}

QList<ListedStation> listedStations(const QStringList& lines) {
    QList<ListedStation> stations;
    stations.reserve(lines.size());
    for (const QString& line : lines)
        stations.append(listedStationOfLine(line));
    return stations;
}

StationChanges compareListedStations(const QList<ListedStation>& previous,
                                     const QList<ListedStation>& current) {
    return {missingFrom(current, callsignsOf(previous)),
            missingFrom(previous, callsignsOf(current))};
}

QList<ListedStation> newestFirst(const QList<ListedStation>& previousNewestFirst,
                                 const QList<ListedStation>& current) {
    QHash<QString, QString> distances;
    for (const ListedStation& station : current) {
        if (!distances.contains(station.callsign))
            distances.insert(station.callsign, station.distanceText);
    }
    QList<ListedStation> stations = compareListedStations(previousNewestFirst, current).entered;
    QSet<QString> seen = callsignsOf(stations);
    for (const ListedStation& earlier : previousNewestFirst) {
        const auto distance = distances.constFind(earlier.callsign);
        if (distance == distances.cend() || seen.contains(earlier.callsign))
            continue;
        seen.insert(earlier.callsign);
        stations.append({earlier.callsign, *distance});
    }
    return stations;
}
