#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One line of the alarm's station list as a tick leaves it: the callsign and the distance as
// the list shows it (already formatted, unit and decimals as the operator set them).
struct ListedStation {
    QString callsign;
    QString distanceText;

    friend bool operator==(const ListedStation&, const ListedStation&) = default;
};

// An alarm line as the engine lists it: "CALL distance 2.5" or, for a watched station,
// "CALL (watch) 2.5". The callsign is the text before the first blank, as the engine's
// commands take it; a line of another form is all callsign.
ListedStation listedStationOfLine(const QString& line);
QList<ListedStation> listedStations(const QStringList& lines);

// What changed between the station lists of two consecutive ticks.
struct StationChanges {
    // In the current list and not in the previous one, in the current list's order.
    QList<ListedStation> entered;
    // In the previous list and not in the current one, in the previous list's order, with
    // the distance they were last listed at.
    QList<ListedStation> left;

    bool isEmpty() const { return entered.isEmpty() && left.isEmpty(); }
};

// Stations are the same when their callsigns are equal (case-sensitive, as the host lists
// them); a station whose distance changed neither enters nor leaves.
StationChanges compareListedStations(const QList<ListedStation>& previous,
                                     const QList<ListedStation>& current);

// The stations in range, newest first: those of `current` that `previousNewestFirst` lacks
// (in the current list's order), then the earlier ones still listed, in their order, with
// their current distance; each callsign once.
QList<ListedStation> newestFirst(const QList<ListedStation>& previousNewestFirst,
                                 const QList<ListedStation>& current);
