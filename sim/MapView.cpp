#include "MapView.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

#include "Geo.h"
#include "HostCore.h"
#include "LabelPlacement.h"
#include "ScaleBar.h"

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

void paintMark(QPainter& painter, const MapScene& scene, const MapMark& mark, double opacity) {
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
    if (whole) {
        // A faint fill keeps the stations underneath readable.
        painter.setBrush(windowsColour(mark.fillColour, opacity * 0.15));
        painter.drawEllipse(box);
        painter.setBrush(Qt::NoBrush);
        return;
    }
    double span = end - start;
    if (span < 0)
        span += turn;
    painter.setBrush(Qt::NoBrush);
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
    painter.setPen(Qt::NoPen);
    painter.setBrush(windowsColour(mark.colour, opacity * (0.06 + 0.4 * beam)));
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

MapView::MapView(HostCore& core, QWidget* parent) : QWidget(parent), m_core(core) {
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
    connect(&m_core, &HostCore::changed, this, [this] {
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
            paintMark(painter, scene, marks[i], opacity);
    }

    painter.setRenderHint(QPainter::Antialiasing);
    if (m_stationDot.isNull() || m_stationDot.devicePixelRatio() != devicePixelRatioF()) {
        m_stationDot = dotPixmap(QColor(200, 40, 40), devicePixelRatioF());
        m_ownDot = dotPixmap(QColor(30, 90, 200), devicePixelRatioF());
    }
    const StationStore& store = m_core.store();
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
    for (int i = 0; i < store.count(); ++i) {
        if (i == 0 && store.hasOwn() && !store.ownPlaced())
            continue; // no position yet: not drawn at 0N 0E
        const HeardStation* station = store.at(i);
        const QPointF at(scene.toPixelX(station->lon * 60.0), scene.toPixelY(station->lat * 60.0));
        if (!visible.contains(at))
            continue;
        const auto alert = scene.alerts().find(station->callsign);
        const bool alerted = alert != scene.alerts().end();
        if (alerted) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(255, 200, 0, int(200 * MapScene::opacity(alert->second, now))));
            painter.drawEllipse(at, 11, 11);
        }
        const bool own = store.hasOwn() && i == 0;
        const QPixmap& dot = own ? m_ownDot : m_stationDot;
        // On whole pixels the picture is copied as it is, not resampled.
        painter.drawPixmap((at - QPointF(dotPixels, dotPixels) / 2).toPoint(), dot);
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
    update();
}

void MapView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_dragging = true;
        m_dragFrom = event->position().toPoint();
    }
}

void MapView::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging)
        return;
    const QPoint now = event->position().toPoint();
    m_core.scene().pan(now.x() - m_dragFrom.x(), now.y() - m_dragFrom.y());
    m_dragFrom = now;
    update();
}

void MapView::mouseReleaseEvent(QMouseEvent*) {
    m_dragging = false;
}
