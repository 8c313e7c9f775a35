#include "TileMath.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "MapScene.h"

namespace tiles {

namespace {

double rowOf(int z, double lat) {
    const double phi = std::clamp(lat, -maxLatitude, maxLatitude) * std::numbers::pi / 180.0;
    const double n = std::ldexp(1.0, z);
    return (1.0 - std::log(std::tan(phi) + 1.0 / std::cos(phi)) / std::numbers::pi) / 2.0 * n;
}

double columnOf(int z, double lon) {
    return (lon + 180.0) / 360.0 * std::ldexp(1.0, z);
}

} // namespace

double rowLatitude(int z, double y) {
    const double n = std::ldexp(1.0, z);
    return std::atan(std::sinh(std::numbers::pi * (1.0 - 2.0 * y / n))) * 180.0 / std::numbers::pi;
}

double columnLongitude(int z, double x) {
    return x / std::ldexp(1.0, z) * 360.0 - 180.0;
}

int zoomFor(const MapScene& scene) {
    // Degrees of longitude a view pixel shows, against 360 / (256 * 2^z) for a tile pixel.
    // (Both the view and Mercator scale latitude to longitude by the cosine there.)
    const double degreesPerPixel = scene.unitsPerPixel / 60.0 / scene.xScale;
    const double z = std::log2(360.0 / (tilePixels * degreesPerPixel));
    if (!std::isfinite(z))
        return 0;
    return std::clamp(int(std::lround(z)), 0, maxZoom);
}

std::vector<TileId> tilesInView(const MapScene& scene, int z) {
    std::vector<TileId> found;
    const int n = 1 << z;
    const double west = scene.fromPixelX(0) / 60.0;
    const double east = scene.fromPixelX(scene.pixelWidth) / 60.0;
    const double north = scene.fromPixelY(0) / 60.0;
    const double south = scene.fromPixelY(scene.pixelHeight) / 60.0;
    if (east <= -180.0 || west >= 180.0 || south >= maxLatitude || north <= -maxLatitude)
        return found;
    const int x0 = std::clamp(int(std::floor(columnOf(z, std::max(west, -180.0)))), 0, n - 1);
    const int x1 = std::clamp(int(std::ceil(columnOf(z, std::min(east, 180.0)))) - 1, 0, n - 1);
    const int y0 = std::clamp(int(std::floor(rowOf(z, north))), 0, n - 1);
    const int y1 = std::clamp(int(std::ceil(rowOf(z, south))) - 1, 0, n - 1);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            found.push_back({z, x, y});
    return found;
}

std::vector<TileId> tilesFor(const MapScene& scene) {
    for (int z = zoomFor(scene); z >= 0; --z) {
        std::vector<TileId> found = tilesInView(scene, z);
        if (int(found.size()) <= maxTilesInView)
            return found;
    }
    return {};
}

QString tileUrl(const QString& urlTemplate, const TileId& tile) {
    QString url = urlTemplate;
    url.replace(QStringLiteral("{z}"), QString::number(tile.z));
    url.replace(QStringLiteral("{x}"), QString::number(tile.x));
    url.replace(QStringLiteral("{y}"), QString::number(tile.y));
    return url;
}

} // namespace tiles
