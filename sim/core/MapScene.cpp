#include "MapScene.h"

#include <algorithm>
#include <cmath>
#include <numbers>

void MapScene::addCircle(double x, double y, double radius, quint32 colour, double startAngle,
                         double endAngle, double aspect, qint64 nowMs) {
    const MapMark mark{x,      y,         radius,    colour,     startAngle, endAngle,
                       aspect, drawWidth, drawStyle, fillColour, nowMs};
    // An add-on draws the same rings on every scan: the new one takes the old one's place
    // (on top, fresh), so that a busy map keeps one mark per ring instead of one per scan
    // for as long as they fade, which made each paint hold the bus up for 100 ms and more.
    const auto same = std::find_if(m_marks.begin(), m_marks.end(), [&](const MapMark& m) {
        return m.x == mark.x && m.y == mark.y && m.radius == mark.radius &&
               m.colour == mark.colour && m.startAngle == mark.startAngle &&
               m.endAngle == mark.endAngle && m.aspect == mark.aspect && m.width == mark.width &&
               m.style == mark.style && m.fillColour == mark.fillColour;
    });
    if (same != m_marks.end())
        m_marks.erase(same);
    m_marks.push_back(mark);
}

void MapScene::prune(qint64 nowMs) {
    std::erase_if(m_marks, [&](const MapMark& m) { return nowMs - m.drawnMs >= fadeMs; });
    std::erase_if(m_alerts, [&](const auto& entry) { return nowMs - entry.second >= fadeMs; });
}

double MapScene::opacity(qint64 drawnMs, qint64 nowMs) {
    return std::clamp(1.0 - double(nowMs - drawnMs) / double(fadeMs), 0.0, 1.0);
}

std::optional<SweepWedge> MapScene::sweepWedge(const MapMark& mark) const {
    constexpr double turn = 2.0 * std::numbers::pi;
    const double start = std::fabs(mark.startAngle);
    const double end = std::fabs(mark.endAngle);
    const bool whole = start == 0.0 && std::fabs(end - turn) < 1e-3;
    if (whole || mark.aspect == 1.0 || !(mark.aspect > 0.0) || !(mark.radius > 0.0) ||
        !std::isfinite(start) || !std::isfinite(end))
        return std::nullopt;
    double span = std::fmod(end - start, turn);
    if (span < 0.0)
        span += turn;
    if (!(span > 0.0))
        return std::nullopt;
    constexpr double degrees = 180.0 / std::numbers::pi;
    return SweepWedge{toPixelX(mark.x), toPixelY(mark.y), toPixels(mark.radius),
                      std::fmod(start, turn) * degrees, span * degrees};
}

double MapScene::toPixelX(double x) const {
    return pixelWidth / 2.0 + (x - centreX) * xScale / unitsPerPixel;
}

double MapScene::toPixelY(double y) const {
    return pixelHeight / 2.0 - (y - centreY) / unitsPerPixel;
}

double MapScene::fromPixelX(double px) const {
    return centreX + (px - pixelWidth / 2.0) * unitsPerPixel / xScale;
}

double MapScene::fromPixelY(double py) const {
    return centreY - (py - pixelHeight / 2.0) * unitsPerPixel;
}

void MapScene::zoom(double factor, double px, double py) {
    if (!(factor > 0.0))
        return;
    const double x = fromPixelX(px);
    const double y = fromPixelY(py);
    unitsPerPixel = std::clamp(unitsPerPixel / factor, 1e-4, 600.0);
    // Put the point that was under the cursor back under it.
    centreX += x - fromPixelX(px);
    centreY += y - fromPixelY(py);
}

void MapScene::pan(double dx, double dy) {
    centreX -= dx * unitsPerPixel / xScale;
    centreY += dy * unitsPerPixel;
}

void MapScene::fit(double minX, double minY, double maxX, double maxY) {
    centreX = (minX + maxX) / 2.0;
    centreY = (minY + maxY) / 2.0;
    xScale = std::max(std::cos(centreY / 60.0 * std::numbers::pi / 180.0), 0.01);
    const double w = std::max((maxX - minX) * xScale, 1.0) * 1.2;
    const double h = std::max(maxY - minY, 1.0) * 1.2;
    unitsPerPixel = std::max(w / std::max(pixelWidth, 1), h / std::max(pixelHeight, 1));
}
