#pragma once

#include <optional>
#include <stdexcept>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "Geo.h"

// A scenario file that cannot be used; the message names the file and the fault.
class ScenarioError : public std::runtime_error {
public:
    explicit ScenarioError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// One point of a station's track: where it is `t` seconds after start.
struct TrackPoint {
    double t = 0.0;
    double lat = 0.0; // decimal degrees, north positive
    double lon = 0.0; // decimal degrees, east positive
};

struct ScenarioStation {
    QString callsign;
    double lat = 0.0;
    double lon = 0.0;
    bool star = false;
    QString comment;
    double appear = 0.0;           // seconds from start
    std::optional<double> vanish;  // seconds from start; never when empty
    std::vector<TrackPoint> track; // in time order
};

struct OverlayFile {
    QString name;      // a plain file name inside the overlays folder
    QStringList lines; // each a Latin-1 text
};

struct Scenario {
    DistanceUnit unit = DistanceUnit::Kilometres;
    QString ownCallsign; // empty: no own station in the list and no CALLSIGN key
    double ownLat = 0.0;
    double ownLon = 0.0;
    QString ownComment;
    std::vector<ScenarioStation> stations;
    std::vector<double> deleteAll; // seconds from start, ascending
    std::vector<OverlayFile> overlays;
};

// Reads a scenario from JSON text. `fileName` only goes into error messages.
// Throws ScenarioError.
Scenario parseScenario(const QByteArray& json, const QString& fileName);
// Reads the scenario file at `path`. Throws ScenarioError.
Scenario readScenarioFile(const QString& path);

// Where a station is `t` seconds after start: at lat/lon before its first track point,
// on the straight line between the two points around `t`, at the last point after it.
TrackPoint positionAt(const ScenarioStation& station, double t);
