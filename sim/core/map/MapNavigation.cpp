#include "MapNavigation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include <QDir>
#include <QFileInfo>

#include "MapScene.h"
#include "StationStore.h"
#include "TrackerSettings.h"
#include "settings/ProfileFile.h"

namespace navigation {

namespace {
const QString centreLatitudeKey = QStringLiteral("centre-latitude");
const QString centreLongitudeKey = QStringLiteral("centre-longitude");
const QString scaleKey = QStringLiteral("minutes-per-pixel");
const QString projectionKey = QStringLiteral("projection-latitude");

QString numberText(double value) {
    return QString::number(value, 'g', 15);
}
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

bool saveView(const QString& path, const MapScene& scene) {
    // The latitude whose scale the map was fitted to (the projection keeps it while panning).
    const double projection =
        std::acos(std::clamp(scene.xScale, 0.0, 1.0)) * 180.0 / std::numbers::pi;
    // A first save may come before the file's folder exists.
    QDir().mkpath(QFileInfo(path).path());
    return writeProfileStrings(path, trackerMapSection,
                               {{centreLatitudeKey, numberText(scene.centreY / 60.0)},
                                {centreLongitudeKey, numberText(scene.centreX / 60.0)},
                                {scaleKey, numberText(scene.unitsPerPixel)},
                                {projectionKey, numberText(projection)}});
}

bool loadView(const QString& path, MapScene& scene) {
    bool ok[4] = {};
    const auto number = [&](const QString& key, bool* good) {
        return readProfileString(path, trackerMapSection, key, {}).trimmed().toDouble(good);
    };
    const double lat = number(centreLatitudeKey, &ok[0]);
    const double lon = number(centreLongitudeKey, &ok[1]);
    const double scale = number(scaleKey, &ok[2]);
    const double projection = number(projectionKey, &ok[3]);
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
