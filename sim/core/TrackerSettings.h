#pragma once

#include <QString>
#include <QStringList>

// kestrel32's own settings file (INI, ~/.config/kestrel32/kestrel32.conf), so that the
// tracker starts from its desktop entry without options; the setup window writes it (see
// setup/TrackerConf.h). Apart from kestrel32.ini in the program folder, which is the
// tracker's file for its add-ons.
QString trackerSettingsPath();

// The map's part of the file, section [map], read and written as the profile calls do (the
// rest of the file stays as it was): raster tiles (tile-url, an XYZ template with {z}, {x}
// and {y}, empty for the base map alone; tile-attribution, the source's credit drawn on the
// map), the trails (trail-minutes, trail-points) and the view the operator left
// (centre-latitude, centre-longitude, minutes-per-pixel, projection-latitude).
inline const QString trackerMapSection = QStringLiteral("map");
const QStringList& trackerMapKeys();

struct TrackerMapSettings {
    QString tileUrl;
    QString tileAttribution;
    int trailMinutes = 30;
    int trailPoints = 50;
    bool operator==(const TrackerMapSettings&) const = default;
};
// Missing or unusable values keep the defaults.
TrackerMapSettings trackerMapSettings(const QString& path);
// Writes the keys whose values differ between `before` (what the file says) and `after`, the
// rest of the file as it was (nothing at all when none differ); false when it cannot be
// written.
bool saveTrackerMapSettings(const QString& path, const TrackerMapSettings& before,
                            const TrackerMapSettings& after);
// What is wrong with a tile template, in words for beside its field; empty when it can be used
// (an empty template too: no tiles).
QString tileTemplateProblem(const QString& urlTemplate);
