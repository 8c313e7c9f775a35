#include "BaseMapPaint.h"

#include <QPainter>
#include <QPainterPath>

#include "Clip.h"
#include "MapScene.h"

namespace basemap {

namespace {

// What of the world the view shows, in degrees, for passing over lines it does not meet.
QRectF inDegrees(const MapScene& scene, const QRectF& pixels) {
    const double west = scene.fromPixelX(pixels.left()) / 60.0;
    const double east = scene.fromPixelX(pixels.right()) / 60.0;
    const double north = scene.fromPixelY(pixels.top()) / 60.0;
    const double south = scene.fromPixelY(pixels.bottom()) / 60.0;
    return QRectF(QPointF(west, south), QPointF(east, north));
}

// Whether two boxes in degrees share a point (lines along a parallel have no height).
bool meets(const QRectF& a, const QRectF& b) {
    return a.left() <= b.right() && a.right() >= b.left() && a.top() <= b.bottom() &&
           a.bottom() >= b.top();
}

// The line in pixels, leaving out points less than a pixel from the last one kept: at the
// world view a coast of thousands of points is a few hundred pixels long.
void project(const BaseMapLine& line, const MapScene& scene, std::vector<QPointF>& out) {
    out.clear();
    QPointF last;
    for (size_t i = 0; i < line.points.size(); ++i) {
        const QPointF& p = line.points[i];
        const QPointF at(scene.toPixelX(p.x() * 60.0), scene.toPixelY(p.y() * 60.0));
        const QPointF d = at - last;
        if (i == 0 || i + 1 == line.points.size() || std::abs(d.x()) + std::abs(d.y()) >= 1.0) {
            out.push_back(at);
            last = at;
        }
    }
}

void strokeLines(QPainter& painter, const std::vector<BaseMapLine>& lines, const MapScene& scene,
                 const QRectF& degrees, const QRectF& box, std::vector<QPointF>& pixels) {
    for (const BaseMapLine& line : lines) {
        if (!meets(line.bounds, degrees))
            continue;
        project(line, scene, pixels);
        for (const auto& piece : clip::polyline(pixels, box))
            painter.drawPolyline(piece.data(), int(piece.size()));
    }
}

} // namespace

void paint(QPainter& painter, const BaseMap& map, const MapScene& scene, QRectF region) {
    if (region.isEmpty())
        region = QRectF(0, 0, scene.pixelWidth, scene.pixelHeight);
    painter.save();
    painter.setClipRect(region);
    painter.fillRect(region, seaColour);
    // A little past the edges, so that no cut shows as a line along them.
    const QRectF box = region.adjusted(-4, -4, 4, 4);
    const QRectF degrees = inDegrees(scene, box);
    std::vector<QPointF> pixels;

    // Lakes are holes in the land and islands in them land again: one path, odd-even.
    QPainterPath land;
    land.setFillRule(Qt::OddEvenFill);
    for (const BaseMapLine& ring : map.land) {
        if (!meets(ring.bounds, degrees))
            continue;
        project(ring, scene, pixels);
        const std::vector<QPointF> inside =
            box.contains(scene.toPixelX(ring.bounds.left() * 60.0),
                         scene.toPixelY(ring.bounds.top() * 60.0)) &&
                    box.contains(scene.toPixelX(ring.bounds.right() * 60.0),
                                 scene.toPixelY(ring.bounds.bottom() * 60.0))
                ? pixels
                : clip::polygon(pixels, box);
        if (inside.size() < 3)
            continue;
        land.addPolygon(QPolygonF(QList<QPointF>(inside.begin(), inside.end())));
        land.closeSubpath();
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(landColour);
    painter.drawPath(land);
    painter.setBrush(Qt::NoBrush);

    painter.setPen(QPen(borderColour, 1, Qt::DashLine));
    strokeLines(painter, map.borders, scene, degrees, box, pixels);
    painter.setPen(QPen(coastColour, 1));
    strokeLines(painter, map.coastlines, scene, degrees, box, pixels);
    painter.restore();
}

} // namespace basemap
