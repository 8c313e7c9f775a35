#pragma once

#include <QString>
#include <QStringList>

// kestrel32's own settings file (INI, ~/.config/kestrel32/kestrel32.conf), so that the
// tracker starts from its desktop entry without options. It is the operator's file: the
// program reads it and writes only the view of its map there (group "map", when the operator
// moved it). Apart from kestrel32.ini in the program folder,
// which is the tracker's file for its add-ons.
QString trackerSettingsPath();

// The file's settings as command-line arguments, leaving out the options named in `given`
// (the command line wins) and empty values. Keys: callsign, latitude, longitude (together
// --own), gpsd, kiss, aprs-is, login (only with an APRS-IS server), range, unit, expire.
QStringList trackerSettingsArguments(const QString& path, const QStringList& given);

// The map's part of the file (group "map"): raster tiles (tile-url, an XYZ template with {z},
// {x} and {y}, empty for the base map alone; tile-attribution, the source's credit drawn on
// the map) and the trails (trail-minutes, trail-points). Missing or unusable values keep the
// defaults.
struct TrackerMapSettings {
    QString tileUrl;
    QString tileAttribution;
    int trailMinutes = 30;
    int trailPoints = 50;
};
TrackerMapSettings trackerMapSettings(const QString& path);
