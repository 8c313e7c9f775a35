#pragma once

#include <QChar>
#include <QString>

namespace feed {

// One decoded position: a station, or an object or item that a station reports.
struct PositionReport {
    enum class Kind { Station, Object, Item };

    Kind kind = Kind::Station;
    // Station: the source callsign with its SSID ("N0CALL-9"); object or item: its name
    // without the padding blanks. Never empty, never holds a blank, "|" or a control character.
    QString name;
    // The station that sent the packet; equals name for Kind::Station.
    QString sender;
    double latitude = 0.0;  // decimal degrees, north positive
    double longitude = 0.0; // decimal degrees, east positive
    // Digits left blank by the sender (0 to 4); the position is the middle of that box.
    int ambiguity = 0;
    bool killed = false; // an object or item that its owner has withdrawn
    QChar symbolTable;
    QChar symbolCode;
    // The free text after the position, control characters removed.
    QString comment;
    // Mic-E only: the position comment code ("En Route", "Custom-3", "Emergency").
    QString micEMessage;
};

} // namespace feed
