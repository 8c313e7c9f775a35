#pragma once

#include <QColor>

#include "BaseMapFile.h"

class MapScene;
class QPainter;

namespace basemap {

inline const QColor seaColour(178, 208, 230);
inline const QColor landColour(238, 236, 222);
inline const QColor coastColour(70, 110, 150);
inline const QColor borderColour(150, 130, 150);

// Paints the base map in the scene's projection (sea, land, coastlines, borders) over
// `region` of its view, or over the whole view (pixelWidth x pixelHeight) when empty.
// Lines that do not meet the region cost next to nothing.
void paint(QPainter& painter, const BaseMap& map, const MapScene& scene, QRectF region = {});

} // namespace basemap
