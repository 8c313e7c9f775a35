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
