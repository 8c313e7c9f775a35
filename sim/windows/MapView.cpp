#include "MapView.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <numbers>
#include <tuple>
#include <unordered_map>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QUrl>
#include <QWheelEvent>

#include "Geo.h"
#include "HostCore.h"
#include "LabelPlacement.h"
#include "ScaleBar.h"
#include "map/BaseMapPaint.h"
#include "map/Clip.h"
#include "map/Compass.h"
#include "map/MapNavigation.h"
#include "map/TileFetcher.h"

namespace {

QColor windowsColour(quint32 value, double opacity) {
    QColor colour(int(value & 0xff), int((value >> 8) & 0xff), int((value >> 16) & 0xff));
    colour.setAlphaF(float(opacity));
    return colour;
}

Qt::PenStyle penStyle(int drawStyle) {
    switch (drawStyle) {
    case 1:
        return Qt::DashLine;
    case 2:
        return Qt::DotLine;
    case 3:
        return Qt::DashDotLine;
    case 4:
        return Qt::DashDotDotLine;
    case 5:
        return Qt::NoPen;
    default:
        return Qt::SolidLine;
    }
}

// A point on an ellipse at `angle` radians, counted anticlockwise from three o'clock.
QPointF onEllipse(const QPointF& centre, double rx, double ry, double angle) {
    return {centre.x() + rx * std::cos(angle), centre.y() - ry * std::sin(angle)};
}

// A ring, arc or pie too large for the painter, drawn from the pieces that cross the view:
// the outline where it crosses, the fill (of the pie of each piece with the centre) cut to
// the view, and all of the view filled when it lies inside the ellipse.
void paintLargeEllipse(QPainter& painter, const QPointF& centre, double rx, double ry, double start,
                       double span, const QBrush& fill, bool outline) {
    const QPen pen = painter.pen();
    const double margin = pen.widthF() + 2.0;
    const QRectF box = QRectF(painter.viewport()).adjusted(-margin, -margin, margin, margin);
    const bool filled = fill.style() != Qt::NoBrush;
    const auto pieces = clip::ellipseArc(centre, rx, ry, start, span, box);
    if (filled) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        if (span >= 2.0 * std::numbers::pi && clip::boxInsideEllipse(centre, rx, ry, box)) {
            painter.drawRect(box);
        } else {
            for (const auto& piece : pieces) {
                std::vector<QPointF> pie{centre};
                pie.insert(pie.end(), piece.begin(), piece.end());
                const auto inside = clip::polygon(pie, box);
                if (!inside.empty())
                    painter.drawPolygon(inside.data(), int(inside.size()));
            }
        }
        painter.setBrush(Qt::NoBrush);
        painter.setPen(pen);
    }
    if (!outline)
        return;
    for (const auto& piece : pieces)
        for (const auto& line : clip::polyline(piece, box))
            painter.drawPolyline(line.data(), int(line.size()));
}

// A line from the centre, cut to the view.
void paintSpoke(QPainter& painter, const QPointF& from, const QPointF& to) {
    const double margin = painter.pen().widthF() + 2.0;
    const QRectF box = QRectF(painter.viewport()).adjusted(-margin, -margin, margin, margin);
    for (const auto& line : clip::polyline({from, to}, box))
        painter.drawPolyline(line.data(), int(line.size()));
}

} // namespace

// A small whole ring as a picture, drawn once for its look (size, pen, fill, fade in 32 steps)
// and copied to each place: an add-on rings hundreds of stations alike on every scan, and
// stroking each dotted ring anew took a quarter of a paint.
class RingPictures {
public:
    static constexpr double largestRadius = 64.0;

    void paint(QPainter& painter, const QPointF& centre, double rx, double ry, const QPen& pen,
               const QBrush& fill) {
        const std::array<qint64, 7> look{qint64(pen.color().rgba()),
                                         qint64(fill.color().rgba()),
                                         qint64(pen.width()),
                                         qint64(pen.style()),
                                         std::llround(rx * 4),
                                         std::llround(ry * 4),
                                         qint64(painter.device()->devicePixelRatio())};
        const QByteArray key(reinterpret_cast<const char*>(look.data()), sizeof(look));
        auto found = m_pictures.find(key);
        const double margin = pen.width() + 2.0;
        const QSizeF size(2 * (rx + margin), 2 * (ry + margin));
        if (found == m_pictures.end()) {
            if (m_pictures.size() > 1000)
                m_pictures.clear();
            const qreal ratio = painter.device()->devicePixelRatio();
            QPixmap picture((size * ratio).toSize() + QSize(1, 1));
            picture.setDevicePixelRatio(ratio);
            picture.fill(Qt::transparent);
            QPainter ring(&picture);
            ring.setPen(pen);
            ring.setBrush(fill);
            ring.drawEllipse(QPointF(rx + margin, ry + margin), rx, ry);
            ring.end();
            found = m_pictures.insert(key, picture);
        }
        painter.drawPixmap((centre - QPointF(rx + margin, ry + margin)).toPoint(), *found);
    }

private:
    QHash<QByteArray, QPixmap> m_pictures;
};

namespace {

void paintMark(QPainter& painter, const MapScene& scene, const MapMark& mark, double opacity,
               RingPictures& rings) {
    if (!(mark.radius > 0.0) || !(mark.aspect > 0.0))
        return;
    const QPointF centre(scene.toPixelX(mark.x), scene.toPixelY(mark.y));
    const double r = scene.toPixels(mark.radius);
    // The aspect is height over width; the radius is the longer of the two half-axes.
    const double rx = mark.aspect <= 1.0 ? r : r / mark.aspect;
    const double ry = mark.aspect <= 1.0 ? r * mark.aspect : r;
    QPen pen(windowsColour(mark.colour, opacity), mark.width, penStyle(mark.style));
    painter.setPen(pen);

    const double turn = 2.0 * std::numbers::pi;
    const double start = std::fabs(mark.startAngle);
    const double end = std::fabs(mark.endAngle);
    const bool whole = start == 0.0 && std::fabs(end - turn) < 1e-3;
    const QRectF box(centre.x() - rx, centre.y() - ry, 2 * rx, 2 * ry);
    const bool large = std::max(rx, ry) > clip::largeRingPixels;
    if (whole) {
        // A faint fill keeps the stations underneath readable.
        const QBrush fill(windowsColour(mark.fillColour, opacity * 0.15));
        if (large) {
            paintLargeEllipse(painter, centre, rx, ry, 0.0, turn, fill, true);
            return;
        }
        if (std::max(rx, ry) <= RingPictures::largestRadius) {
            // The fade in steps a picture can be kept for.
            const double stepped = std::ceil(opacity * 32.0) / 32.0;
            QPen steppedPen = pen;
            steppedPen.setColor(windowsColour(mark.colour, stepped));
            rings.paint(painter, centre, rx, ry, steppedPen,
                        QBrush(windowsColour(mark.fillColour, stepped * 0.15)));
            return;
        }
        painter.setBrush(fill);
        painter.drawEllipse(box);
        painter.setBrush(Qt::NoBrush);
        return;
    }
    double span = end - start;
    if (span < 0)
        span += turn;
    painter.setBrush(Qt::NoBrush);
    if (large) {
        paintLargeEllipse(painter, centre, rx, ry, start, span, Qt::NoBrush, true);
        if (mark.startAngle < 0)
            paintSpoke(painter, centre, onEllipse(centre, rx, ry, start));
        if (mark.endAngle < 0)
            paintSpoke(painter, centre, onEllipse(centre, rx, ry, end));
        return;
    }
    painter.drawArc(box, int(std::lround(start * 180.0 / std::numbers::pi * 16)),
                    int(std::lround(span * 180.0 / std::numbers::pi * 16)));
    // A negative angle joins that end of the arc to the centre.
    if (mark.startAngle < 0)
        painter.drawLine(centre, onEllipse(centre, rx, ry, start));
    if (mark.endAngle < 0)
        painter.drawLine(centre, onEllipse(centre, rx, ry, end));
}

// A sweep step: a slice of the range disc. The newest steps round a centre are bright and
// the older ones fade behind them, so that the sweep reads as a turning beam with its trail
// even in a still picture; all of it fades with the mark.
void paintWedge(QPainter& painter, const MapMark& mark, const SweepWedge& wedge, int newerSteps,
                double opacity) {
    constexpr double trailSteps = 10.0;
    const double beam = std::max(0.0, 1.0 - newerSteps / trailSteps);
    const QRectF box(wedge.centreX - wedge.radius, wedge.centreY - wedge.radius, 2 * wedge.radius,
                     2 * wedge.radius);
    const int start = int(std::lround(wedge.startDegrees * 16));
    const int span = int(std::lround(wedge.spanDegrees * 16));
    const QBrush fill(windowsColour(mark.colour, opacity * (0.06 + 0.4 * beam)));
    if (wedge.radius > clip::largeRingPixels) {
        constexpr double radians = std::numbers::pi / 180.0;
        painter.setPen(QPen(windowsColour(mark.colour, opacity), mark.width, penStyle(mark.style)));
        paintLargeEllipse(painter, QPointF(wedge.centreX, wedge.centreY), wedge.radius,
                          wedge.radius, wedge.startDegrees * radians, wedge.spanDegrees * radians,
                          fill, true);
        return;
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    // Smoothed, or the seams between the steps show as a row of dots.
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.drawPie(box, start, span);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(windowsColour(mark.colour, opacity), mark.width, penStyle(mark.style)));
    painter.drawArc(box, start, span);
}

void paintScaleBar(QPainter& painter, const MapScene& scene, const QString& unit) {
    // At most a quarter of the map's width, at least long enough to read.
    const double mapUnitsPerPixel = 1.0 / scene.toPixels(1.0);
    const double length = scalebar::roundLength(scene.pixelWidth / 4.0 * mapUnitsPerPixel);
    const double pixels = scene.toPixels(length);
    if (!(length > 0.0) || pixels < 8.0)
        return;
    const QString text = scalebar::caption(length, unit);
    const QFontMetricsF metrics(painter.font());
    const double left = 12.0;
    const double bottom = scene.pixelHeight - 12.0;
    const QRectF back(left - 6, bottom - metrics.height() - 10,
                      std::max(pixels, metrics.horizontalAdvance(text)) + 12,
                      metrics.height() + 14);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 190));
    painter.drawRect(back);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(QPointF(left, bottom), QPointF(left + pixels, bottom));
    painter.drawLine(QPointF(left, bottom - 5), QPointF(left, bottom));
    painter.drawLine(QPointF(left + pixels, bottom - 5), QPointF(left + pixels, bottom));
    painter.drawText(QPointF(left, bottom - 6 - metrics.descent()), text);
}

} // namespace

QPixmap MapView::dotPixmap(const QColor& fill, double pixelRatio) {
    // Drawn once: smoothing tens of thousands of small circles on every paint took a tenth
    // of a second; copying a picture of one takes a fraction of that.
    QPixmap dot(QSize(dotPixels, dotPixels) * pixelRatio);
    dot.setDevicePixelRatio(pixelRatio);
    dot.fill(Qt::transparent);
    QPainter painter(&dot);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(fill);
    painter.drawEllipse(QPointF(dotPixels, dotPixels) / 2, labelPointRadius, labelPointRadius);
    return dot;
}

QPixmap MapView::highlightPixmap(double pixelRatio) {
    // The glow round a station in alarm, faded with the painter's opacity.
    QPixmap glow(QSize(highlightPixels, highlightPixels) * pixelRatio);
    glow.setDevicePixelRatio(pixelRatio);
    glow.fill(Qt::transparent);
    QPainter painter(&glow);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 200, 0, 200));
    painter.drawEllipse(QPointF(highlightPixels, highlightPixels) / 2, 11, 11);
    return glow;
}

MapView::MapView(HostCore& core, QWidget* parent)
    : QWidget(parent), m_core(core), m_rings(std::make_unique<RingPictures>()) {
    setObjectName(QStringLiteral("map"));
    setMinimumSize(200, 150);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(236, 240, 228));
    setPalette(p);
    m_repaint.setSingleShot(true);
    m_repaint.setInterval(quietMs);
    connect(&m_repaint, &QTimer::timeout, this, [this] {
        m_unpainted.invalidate();
        update();
    });
    setFocusPolicy(Qt::StrongFocus);
    connect(&m_core, &HostCore::changed, this, [this] {
        if (m_following && m_core.store().hasOwn()) {
            const HeardStation& own = m_core.store().own();
            navigation::keepInMiddleHalf(m_core.scene(), own.lat, own.lon);
        }
        if (!m_unpainted.isValid())
            m_unpainted.start();
        if (m_unpainted.elapsed() < longestWaitMs)
            m_repaint.start(); // (again): wait for the calls to pause
        else if (!m_repaint.isActive())
            m_repaint.start(0);
    });
    // Overlay files change seldom and by hand: read again every few seconds.
    m_overlayReload.setInterval(overlayReloadMs);
    connect(&m_overlayReload, &QTimer::timeout, this, &MapView::reloadOverlays);
    m_overlayReload.start();
    reloadOverlays();
}

MapView::~MapView() = default;

void MapView::setBaseMap(std::shared_ptr<const BaseMap> map) {
    m_baseMap = std::move(map);
    // The base map covers the whole view: filling it with the background first is wasted.
    setAutoFillBackground(!m_baseMap);
    setAttribute(Qt::WA_OpaquePaintEvent, bool(m_baseMap));
    m_basePictureView.clear();
    update();
}

void MapView::setTiles(TileFetcher* fetcher, const QString& attribution) {
    if (m_tiles)
        m_tiles->disconnect(this);
    m_tiles = fetcher;
    m_attribution = attribution;
    if (m_tiles)
        connect(m_tiles, &TileFetcher::tileArrived, this, [this] { update(); });
    update();
}

void MapView::paintTiles(QPainter& painter) {
    if (!m_tiles || !m_tiles->enabled())
        return;
    const MapScene& scene = m_core.scene();
    const std::vector<tiles::TileId> inView = tiles::tilesFor(scene);
    m_tiles->want(inView);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    for (const tiles::TileId& id : inView) {
        const QImage* image = m_tiles->tile(id);
        if (!image)
            continue; // the base map shows through until it comes, or when it fails
        // Mercator rows are not evenly spaced in latitude: the tile is laid in slices, few at
        // close zooms where the difference is under a pixel.
        const int slices = id.z < 8 ? 16 : 2;
        const double west = scene.toPixelX(tiles::columnLongitude(id.z, id.x) * 60.0);
        const double east = scene.toPixelX(tiles::columnLongitude(id.z, id.x + 1) * 60.0);
        const double rowHeight = double(image->height()) / slices;
        for (int k = 0; k < slices; ++k) {
            const double top =
                scene.toPixelY(tiles::rowLatitude(id.z, id.y + double(k) / slices) * 60.0);
            const double bottom =
                scene.toPixelY(tiles::rowLatitude(id.z, id.y + double(k + 1) / slices) * 60.0);
            painter.drawImage(QRectF(QPointF(west, top), QPointF(east, bottom)), *image,
                              QRectF(0, k * rowHeight, image->width(), rowHeight));
        }
    }
    painter.restore();
}

void MapView::paintAttribution(QPainter& painter) {
    if (!m_tiles || !m_tiles->enabled())
        return;
    const QString text = m_attribution.isEmpty()
                             ? QStringLiteral("Tiles: ") + QUrl(m_tiles->urlTemplate()).host()
                             : m_attribution;
    const QFontMetricsF metrics(painter.font());
    const QSizeF size(metrics.horizontalAdvance(text) + 8, metrics.height() + 4);
    const QRectF box(QPointF(width() - size.width() - 2, height() - size.height() - 2), size);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 200));
    painter.drawRect(box);
    painter.setPen(QColor(40, 40, 40));
    painter.drawText(box, Qt::AlignCenter, text);
}

void MapView::setFollowing(bool on) {
    if (on == m_following)
        return;
    m_following = on;
    if (on && m_core.store().hasOwn()) {
        const HeardStation& own = m_core.store().own();
        navigation::keepInMiddleHalf(m_core.scene(), own.lat, own.lon);
        update();
    }
    emit followingChanged(on);
}

void MapView::operatorPanned() {
    m_movedByOperator = true;
    setFollowing(false);
}

void MapView::paintBaseMap(QPainter& painter) {
    if (!m_baseMap)
        return;
    const MapScene& scene = m_core.scene();
    const std::vector<double> view{scene.centreX,      scene.centreY,   scene.unitsPerPixel,
                                   scene.xScale,       double(width()), double(height()),
                                   devicePixelRatioF()};
    // Drawing the world's coasts costs more than a frame; copying a picture of them does not.
    if (view == m_basePictureView) {
        painter.drawPixmap(QPoint(0, 0), m_basePicture);
        return;
    }
    QPixmap next(size() * devicePixelRatioF());
    next.setDevicePixelRatio(devicePixelRatioF());
    QPainter picture(&next);
    // A pan by whole pixels moves the old picture and draws only the strips it uncovers.
    const bool sameScale = !m_basePictureView.empty() &&
                           std::equal(view.begin() + 2, view.end(), m_basePictureView.begin() + 2);
    const double shiftX = (m_basePictureView.empty() ? 0.0 : m_basePictureView[0] - view[0]) *
                          scene.xScale / scene.unitsPerPixel;
    const double shiftY =
        (m_basePictureView.empty() ? 0.0 : view[1] - m_basePictureView[1]) / scene.unitsPerPixel;
    const int dx = int(std::lround(shiftX));
    const int dy = int(std::lround(shiftY));
    const bool wholePixels = std::fabs(shiftX - dx) < 1e-6 && std::fabs(shiftY - dy) < 1e-6;
    if (sameScale && wholePixels && std::abs(dx) < width() / 2 && std::abs(dy) < height() / 2) {
        picture.drawPixmap(QPoint(dx, dy), m_basePicture);
        const double w = width(), h = height();
        if (dx > 0)
            basemap::paint(picture, *m_baseMap, scene, QRectF(0, 0, dx, h));
        else if (dx < 0)
            basemap::paint(picture, *m_baseMap, scene, QRectF(w + dx, 0, -dx, h));
        if (dy > 0)
            basemap::paint(picture, *m_baseMap, scene, QRectF(0, 0, w, dy));
        else if (dy < 0)
            basemap::paint(picture, *m_baseMap, scene, QRectF(0, h + dy, w, -dy));
    } else {
        basemap::paint(picture, *m_baseMap, scene);
    }
    picture.end();
    m_basePicture = next;
    m_basePictureView = view;
    painter.drawPixmap(QPoint(0, 0), m_basePicture);
}

void MapView::paintTrails(QPainter& painter, qint64 now) {
    const MapScene& scene = m_core.scene();
    const StationLog& log = m_core.log();
    const QRectF box = QRectF(rect()).adjusted(-2, -2, 2, 2);
    const double span = double(log.trailMs());
    // Older parts fade: a trail is drawn in a few runs by age, each age with one pen, since a
    // pen a segment costs more than the lines of 500 trails together.
    constexpr int fadeSteps = 6;
    std::array<std::vector<QPolygonF>, fadeSteps> others, own;
    const QString& ownCallsign = m_core.store().ownCallsign();
    for (const QString& callsign : log.moving()) {
        const StationRecord* record = log.find(callsign);
        if (!record)
            continue;
        const std::vector<TrailPoint>& trail = record->trail;
        auto& steps = m_core.store().hasOwn() && callsign == ownCallsign ? own : others;
        QPointF last(scene.toPixelX(trail[0].lon * 60.0), scene.toPixelY(trail[0].lat * 60.0));
        int runStep = -1;
        for (size_t i = 1; i < trail.size(); ++i) {
            const QPointF at(scene.toPixelX(trail[i].lon * 60.0),
                             scene.toPixelY(trail[i].lat * 60.0));
            // Steps shorter than a pixel (a trail seen from far away) wait for the next point.
            if (std::abs(at.x() - last.x()) + std::abs(at.y() - last.y()) < 1.0 &&
                i + 1 < trail.size())
                continue;
            if (QRectF(last, at).normalized().adjusted(-1, -1, 1, 1).intersects(box)) {
                const double age = std::clamp(double(now - trail[i].ms) / span, 0.0, 1.0);
                const int step = std::min(int(age * fadeSteps), fadeSteps - 1);
                if (step != runStep) {
                    steps[size_t(step)].emplace_back(QPolygonF{last});
                    runStep = step;
                }
                steps[size_t(step)].back() << at;
            } else {
                runStep = -1;
            }
            last = at;
        }
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (int step = 0; step < fadeSteps; ++step) {
        // Faded towards the land's colour rather than made transparent: opaque thin lines
        // are the painter's fastest.
        const double fade = 0.75 * step / (fadeSteps - 1);
        const auto faded = [&](const QColor& c) {
            const QColor& land = basemap::landColour;
            return QColor(int(c.red() + (land.red() - c.red()) * fade),
                          int(c.green() + (land.green() - c.green()) * fade),
                          int(c.blue() + (land.blue() - c.blue()) * fade));
        };
        for (const auto& [runs, colour] : {std::pair(&others[size_t(step)], QColor(150, 0, 110)),
                                           std::pair(&own[size_t(step)], QColor(20, 70, 200))}) {
            if (runs->empty())
                continue;
            painter.setPen(QPen(faded(colour), 0));
            // The newer runs twice, the second a pixel across its way: two pixels wide, where
            // a wide pen would be stroked at several times the cost; the older ones thin.
            const bool wide = step < fadeSteps / 2 || runs == &own[size_t(step)];
            for (const QPolygonF& run : *runs) {
                painter.drawPolyline(run);
                if (!wide)
                    continue;
                const QRectF extent = run.boundingRect();
                const QPointF across =
                    extent.width() > extent.height() ? QPointF(0, 1) : QPointF(1, 0);
                painter.drawPolyline(run.translated(across));
            }
        }
    }
    painter.restore();

    // The stations to grey (heard by radio or APRS-IS: a scenario's stations are there for as
    // long as it says), whose dots are drawn over later: found by a walk of the whole log
    // (a lookup a station would cost more than the rest of the paint at the world view), at
    // most once a second since a station turns grey after half an hour.
    if (m_staleWalkMs < 0 || now - m_staleWalkMs >= 1000 || now < m_staleWalkMs) {
        m_staleWalkMs = now;
        m_stale.clear();
        for (auto it = log.records().cbegin(); it != log.records().cend(); ++it)
            if (now - it->heardMs >= staleMs && !it->trail.empty() &&
                it->via != HeardVia::Scenario && it.key() != ownCallsign)
                m_stale.push_back(it->trail.back());
    }
}

void MapView::paintStale(QPainter& painter, const QRectF& visible) {
    const MapScene& scene = m_core.scene();
    for (const TrailPoint& p : m_stale) {
        const QPointF at(scene.toPixelX(p.lon * 60.0), scene.toPixelY(p.lat * 60.0));
        if (visible.contains(at))
            painter.drawPixmap((at - QPointF(dotPixels, dotPixels) / 2).toPoint(), m_staleDot);
    }
}

void MapView::paintHeading(QPainter& painter, const QPointF& at, qint64 now) {
    const StationRecord* record = m_core.log().find(m_core.store().ownCallsign());
    if (!record || record->trail.size() < 2)
        return;
    const TrailPoint& to = record->trail.back();
    // Only while moving: a heading from a drive an hour ago says nothing.
    if (now - to.ms > 60000)
        return;
    // gpsd's course while it gives one and the car moves (standing, the course wanders);
    // otherwise the way the last two fixes went.
    const TrailPoint& from = record->trail[record->trail.size() - 2];
    const bool gpsCourse = record->courseDegrees && record->speedKmh && *record->speedKmh >= 2.0;
    const double degrees = gpsCourse ? *record->courseDegrees
                                     : compass::bearingDegrees(from.lat, from.lon, to.lat, to.lon);
    const double bearing = degrees * std::numbers::pi / 180.0;
    const QPointF ahead(std::sin(bearing), -std::cos(bearing));
    const QPointF side(-ahead.y(), ahead.x());
    const QPointF tip = at + ahead * 20.0;
    const QPointF arrow[] = {tip, tip - ahead * 8.0 + side * 5.0, tip - ahead * 8.0 - side * 5.0};
    painter.setPen(QPen(QColor(30, 90, 200), 2));
    painter.drawLine(at + ahead * 6.0, tip);
    painter.setBrush(QColor(30, 90, 200));
    painter.drawPolygon(arrow, 3);
    painter.setBrush(Qt::NoBrush);
}

QString MapView::stationAt(const QPointF& at) const {
    const MapScene& scene = m_core.scene();
    const StationStore& store = m_core.store();
    QString nearest;
    double best = pickPixels * pickPixels;
    for (int i = 0; i < store.count(); ++i) {
        const HeardStation* station = store.at(i);
        const QPointF d =
            QPointF(scene.toPixelX(station->lon * 60.0), scene.toPixelY(station->lat * 60.0)) - at;
        const double distance = d.x() * d.x() + d.y() * d.y();
        if (distance <= best) {
            best = distance;
            nearest = station->callsign;
        }
    }
    return nearest;
}

void MapView::reloadOverlays() {
    const QString& folder = m_core.scene().overlaysFolder;
    m_overlays =
        folder.isEmpty() ? std::vector<OverlayObject>{} : overlayobjects::readFolder(folder);
    update();
}

QSizeF MapView::labelSize(const QString& text) {
    // Measuring is the dear part of a label; callsigns come back on every paint.
    if (const auto known = m_labelSizes.constFind(text); known != m_labelSizes.cend())
        return *known;
    if (m_labelSizes.size() > 100000)
        m_labelSizes.clear();
    const QFontMetricsF metrics(font());
    const QSizeF size(metrics.horizontalAdvance(text), metrics.height());
    m_labelSizes.insert(text, size);
    return size;
}

void MapView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintBaseMap(painter);
    paintTiles(painter);
    // Marks without antialiasing: smoothing a few hundred large arcs and rings doubled the
    // time a paint holds the bus up, for little to see.
    const MapScene& scene = m_core.scene();
    const qint64 now = m_core.nowMs();

    // Marks are kept in the order drawn: counting back gives each sweep step the number of
    // steps drawn after it round the same centre.
    const std::vector<MapMark>& marks = scene.marks();
    std::vector<int> newerSteps(marks.size(), 0);
    std::map<std::pair<double, double>, int> stepsSeen;
    for (size_t i = marks.size(); i-- > 0;)
        if (scene.sweepWedge(marks[i]))
            newerSteps[i] = stepsSeen[{marks[i].x, marks[i].y}]++;
    for (size_t i = 0; i < marks.size(); ++i) {
        const double opacity = MapScene::opacity(marks[i].drawnMs, now);
        if (const auto wedge = scene.sweepWedge(marks[i]))
            paintWedge(painter, marks[i], *wedge, newerSteps[i], opacity);
        else
            paintMark(painter, scene, marks[i], opacity, *m_rings);
    }

    painter.setRenderHint(QPainter::Antialiasing);
    if (m_stationDot.isNull() || m_stationDot.devicePixelRatio() != devicePixelRatioF()) {
        m_stationDot = dotPixmap(QColor(200, 40, 40), devicePixelRatioF());
        m_staleDot = dotPixmap(QColor(150, 150, 150), devicePixelRatioF());
        m_highlight = highlightPixmap(devicePixelRatioF());
        m_ownDot = dotPixmap(QColor(30, 90, 200), devicePixelRatioF());
    }
    const StationStore& store = m_core.store();
    paintTrails(painter, now);
    // Only what can show: a station off the view costs nothing, its label most of all.
    const QRectF visible = QRectF(rect()).adjusted(-labelPointRadius, -labelPointRadius,
                                                   labelPointRadius, labelPointRadius);
    struct Label {
        QString text;
        QColor colour;
    };
    std::vector<LabelRequest> requests;
    std::vector<Label> labels;
    requests.reserve(std::min(size_t(store.count()), namedStationsLimit) + m_overlays.size());
    labels.reserve(requests.capacity());
    const auto request = [&](const QPointF& at, const QString& text, bool priority,
                             const QColor& colour) {
        requests.push_back({at, labelSize(text), priority});
        labels.push_back({text, colour});
    };

    painter.setPen(QPen(QColor(20, 90, 40), 1));
    painter.setBrush(QColor(120, 200, 120));
    for (const OverlayObject& object : m_overlays) {
        const QPointF at(scene.toPixelX(object.lon * 60.0), scene.toPixelY(object.lat * 60.0));
        if (!visible.contains(at))
            continue;
        // A diamond tells a fixed object from a heard station.
        const QPointF diamond[] = {at + QPointF(0, -5), at + QPointF(5, 0), at + QPointF(0, 5),
                                   at + QPointF(-5, 0)};
        painter.drawPolygon(diamond, 4);
        request(at, object.name, false, QColor(20, 90, 40));
    }
    const size_t firstStation = requests.size();

    m_plainStations.clear();
    // Looked up for every station in view: by the station's place in the list, since hashing
    // or comparing 32,767 callsigns a paint costs milliseconds.
    std::unordered_map<const HeardStation*, qint64> alerts;
    for (const auto& [callsign, ms] : scene.alerts())
        if (const HeardStation* alerted = store.find(callsign))
            alerts.emplace(alerted, ms);
    for (int i = 0; i < store.count(); ++i) {
        if (i == 0 && store.hasOwn() && !store.ownPlaced())
            continue; // no position yet: not drawn at 0N 0E
        const HeardStation* station = store.at(i);
        const QPointF at(scene.toPixelX(station->lon * 60.0), scene.toPixelY(station->lat * 60.0));
        if (!visible.contains(at))
            continue;
        const auto alert = alerts.empty() ? alerts.cend() : alerts.find(station);
        const bool alerted = alert != alerts.cend();
        if (alerted) {
            painter.setOpacity(MapScene::opacity(alert->second, now));
            painter.drawPixmap((at - QPointF(highlightPixels, highlightPixels) / 2).toPoint(),
                               m_highlight);
            painter.setOpacity(1.0);
        }
        const bool own = store.hasOwn() && i == 0;
        const QPixmap& dot = own ? m_ownDot : m_stationDot;
        // On whole pixels the picture is copied as it is, not resampled.
        painter.drawPixmap((at - QPointF(dotPixels, dotPixels) / 2).toPoint(), dot);
        if (own)
            paintHeading(painter, at, now);
        if (own || alerted)
            request(at, station->callsign, true, own ? QColor(20, 50, 150) : Qt::black);
        else
            m_plainStations.push_back({i, at});
    }
    // The placement keeps the priority labels first and the rest in list order, so asking for
    // these after them places the same labels.
    if (m_plainStations.size() <= namedStationsLimit)
        for (const auto& [index, at] : m_plainStations)
            request(at, store.at(index)->callsign, false, Qt::black);
    paintStale(painter, visible);
    // Landmarks give way to stations: the objects' labels go after the stations' ones.
    std::rotate(requests.begin(), requests.begin() + qsizetype(firstStation), requests.end());
    std::rotate(labels.begin(), labels.begin() + qsizetype(firstStation), labels.end());

    const auto placed = placeLabels(requests, size());
    const QFontMetricsF metrics(font());
    for (size_t i = 0; i < placed.size(); ++i) {
        if (!placed[i])
            continue;
        painter.setPen(labels[i].colour);
        painter.drawText(QPointF(placed[i]->left(), placed[i]->top() + metrics.ascent()),
                         labels[i].text);
    }

    paintScaleBar(painter, scene, geo::unitName(store.unit()));
    paintAttribution(painter);
}

void MapView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    MapScene& scene = m_core.scene();
    // Keep the scale: a bigger window shows more of the map.
    scene.pixelWidth = width();
    scene.pixelHeight = height();
}

void MapView::wheelEvent(QWheelEvent* event) {
    const double steps = event->angleDelta().y() / 120.0;
    m_core.scene().zoom(std::pow(1.25, steps), event->position().x(), event->position().y());
    m_movedByOperator = true;
    update();
}

void MapView::keyPressEvent(QKeyEvent* event) {
    MapScene& scene = m_core.scene();
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        navigation::zoomCentre(scene, navigation::zoomStep);
        m_movedByOperator = true;
        break;
    case Qt::Key_Minus:
        navigation::zoomCentre(scene, 1.0 / navigation::zoomStep);
        m_movedByOperator = true;
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        navigation::panStepwise(scene,
                                event->key() == Qt::Key_Left    ? -1
                                : event->key() == Qt::Key_Right ? 1
                                                                : 0,
                                event->key() == Qt::Key_Up     ? -1
                                : event->key() == Qt::Key_Down ? 1
                                                               : 0);
        operatorPanned();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    update();
}

void MapView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_dragging = true;
        m_dragged = false;
        m_dragFrom = event->position().toPoint();
        m_pressedAt = m_dragFrom;
    }
}

void MapView::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging)
        return;
    const QPoint now = event->position().toPoint();
    if (!m_dragged && (now - m_pressedAt).manhattanLength() < clickSlopPixels)
        return;
    m_dragged = true;
    m_core.scene().pan(now.x() - m_dragFrom.x(), now.y() - m_dragFrom.y());
    m_dragFrom = now;
    operatorPanned();
    update();
}

void MapView::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_dragging && !m_dragged && event->button() == Qt::LeftButton;
    m_dragging = false;
    if (!click)
        return;
    const QString callsign = stationAt(event->position());
    if (!callsign.isEmpty())
        emit stationClicked(callsign);
}
