#pragma once

#include <optional>
#include <vector>

#include <QPointF>
#include <QRectF>
#include <QString>

class QIODevice;

// One line of the base map in degrees (x longitude, may run past +-180 by a turn; y
// latitude), with the box round it so that a view can pass over lines it does not meet.
struct BaseMapLine {
    std::vector<QPointF> points;
    QRectF bounds;
};

// The offline world map under the stations: land to fill, coastlines and country borders
// to draw (Natural Earth 1:50m, converted by scripts/make-basemap.mjs).
struct BaseMap {
    std::vector<BaseMapLine> land;
    std::vector<BaseMapLine> coastlines;
    std::vector<BaseMapLine> borders;
};

// Either the map or, for a file that is not one, why, in words for the status bar.
struct BaseMapRead {
    std::optional<BaseMap> map;
    QString error;
};

namespace basemap {

// Reads a base map file; never throws, a damaged file gives its error.
BaseMapRead read(QIODevice& device);
// Reads the file at `path`; a file that is not there is an error as well.
BaseMapRead readFile(const QString& path);
// The shipped file: beside the program (a build, or build/bin for the build's other
// programs) or in its data folder (installed).
QString installedPath();

} // namespace basemap
