#pragma once

#include <vector>

#include <QRectF>
#include <QString>
#include <QtGlobal>

class MapScene;

// XYZ ("slippy") tiles: 256-pixel squares of the Web Mercator world, 2^z by 2^z at zoom z.
namespace tiles {

inline constexpr int tilePixels = 256;
inline constexpr int maxZoom = 19;
// Web Mercator ends here; the map beyond shows the base map alone.
inline constexpr double maxLatitude = 85.0511287798;
// A view never asks for more tiles than this: a bigger window takes a coarser zoom.
inline constexpr int maxTilesInView = 48;

struct TileId {
    int z = 0;
    int x = 0;
    int y = 0;
    bool operator==(const TileId&) const = default;
};
inline size_t qHash(const TileId& t, size_t seed = 0) {
    return ::qHash((quint64(t.z) << 48) ^ (quint64(t.x) << 24) ^ quint64(t.y), seed);
}

// The zoom whose tiles come closest to their own size in the scene's view.
int zoomFor(const MapScene& scene);
// The tiles the view shows at zoom z, top row first; none outside the Mercator world.
std::vector<TileId> tilesInView(const MapScene& scene, int z);
// What the view needs: tilesInView at zoomFor, coarser when that would be too many.
std::vector<TileId> tilesFor(const MapScene& scene);

// Latitude of a tile row's top edge (row y of 2^z; y may be 2^z for the bottom edge).
double rowLatitude(int z, double y);
double columnLongitude(int z, double x);

// The template with {z}, {x} and {y} filled in ("https://tile.example.org/{z}/{x}/{y}.png").
QString tileUrl(const QString& urlTemplate, const TileId& tile);

} // namespace tiles
