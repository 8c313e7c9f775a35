#include "MapNavigation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include <QSettings>

#include "MapScene.h"
#include "StationStore.h"

namespace navigation {

namespace {
const QString centreLatitudeKey = QStringLiteral("map/centre-latitude");
const QString centreLongitudeKey = QStringLiteral("map/centre-longitude");
const QString scaleKey = QStringLiteral("map/minutes-per-pixel");
const QString projectionKey = QStringLiteral("map/projection-latitude");
} // namespace

void zoomCentre(MapScene& scene, double factor) {
    scene.zoom(factor, scene.pixelWidth / 2.0, scene.pixelHeight / 2.0);
}

void panStepwise(MapScene& scene, int dx, int dy) {
    // The map moves against the key: "right" shows what lies to the east.
    scene.pan(-dx * panStep * scene.pixelWidth, -dy * panStep * scene.pixelHeight);
}

void centreOn(MapScene& scene, double lat, double lon) {
    scene.centreX = lon * 60.0;
    scene.centreY = lat * 60.0;
}

void showAll(MapScene& scene, const StationStore& store) {
    if (store.count() == 0)
        return;
    double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
    for (int i = 0; i < store.count(); ++i) {
        const HeardStation* s = store.at(i);
        minX = std::min(minX, s->lon * 60.0);
        maxX = std::max(maxX, s->lon * 60.0);
        minY = std::min(minY, s->lat * 60.0);
        maxY = std::max(maxY, s->lat * 60.0);
    }
    scene.fit(minX, minY, maxX, maxY);
}

bool inMiddleHalf(const MapScene& scene, double lat, double lon) {
    const double x = scene.toPixelX(lon * 60.0);
    const double y = scene.toPixelY(lat * 60.0);
    return x >= scene.pixelWidth * 0.25 && x <= scene.pixelWidth * 0.75 &&
           y >= scene.pixelHeight * 0.25 && y <= scene.pixelHeight * 0.75;
}

bool keepInMiddleHalf(MapScene& scene, double lat, double lon) {
    if (inMiddleHalf(scene, lat, lon))
        return false;
    centreOn(scene, lat, lon);
    return true;
}

void saveView(QSettings& settings, const MapScene& scene) {
    settings.setValue(centreLatitudeKey, scene.centreY / 60.0);
    settings.setValue(centreLongitudeKey, scene.centreX / 60.0);
    settings.setValue(scaleKey, scene.unitsPerPixel);
    // The latitude whose scale the map was fitted to (the projection keeps it while panning).
    settings.setValue(projectionKey,
                      std::acos(std::clamp(scene.xScale, 0.0, 1.0)) * 180.0 / std::numbers::pi);
}

bool loadView(QSettings& settings, MapScene& scene) {
    bool ok[4] = {};
    const double lat = settings.value(centreLatitudeKey).toDouble(&ok[0]);
    const double lon = settings.value(centreLongitudeKey).toDouble(&ok[1]);
    const double scale = settings.value(scaleKey).toDouble(&ok[2]);
    const double projection = settings.value(projectionKey).toDouble(&ok[3]);
    if (!(ok[0] && ok[1] && ok[2] && ok[3]) || !(std::fabs(lat) <= 90.0) ||
        !(std::fabs(lon) <= 540.0) || !(scale >= 1e-4 && scale <= 600.0) ||
        !(std::fabs(projection) < 89.5))
        return false;
    centreOn(scene, lat, lon);
    scene.unitsPerPixel = scale;
    scene.xScale = std::max(std::cos(projection * std::numbers::pi / 180.0), 0.01);
    return true;
}

} // namespace navigation
