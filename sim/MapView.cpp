#include "MapView.h"

#include <cmath>
#include <numbers>

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

#include "HostCore.h"

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

} // namespace

MapView::MapView(HostCore& core, QWidget* parent) : QWidget(parent), m_core(core) {
    setObjectName(QStringLiteral("map"));
    setMinimumSize(200, 150);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(236, 240, 228));
    setPalette(p);
    m_repaint.setSingleShot(true);
    m_repaint.setInterval(repaintMs);
    connect(&m_repaint, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    connect(&m_core, &HostCore::changed, this, [this] {
        if (!m_repaint.isActive())
            m_repaint.start();
    });
}

void MapView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Marks without antialiasing: smoothing a few hundred large arcs and rings doubled the
    // time a paint holds the bus up, for little to see.
    const MapScene& scene = m_core.scene();
    const qint64 now = m_core.nowMs();

    for (const MapMark& mark : scene.marks())
        paintMark(painter, scene, mark, MapScene::opacity(mark.drawnMs, now));

    painter.setRenderHint(QPainter::Antialiasing);
    const StationStore& store = m_core.store();
    // Only what can show: a station off the view costs nothing, its label most of all
    // (shaping thousands of labels per paint held bus calls up for a quarter second). The
    // margin keeps the labels of stations just left of or below the edge.
    const QRectF visible = QRectF(rect()).adjusted(-160, -16, 16, 24);
    for (int i = 0; i < store.count(); ++i) {
        const HeardStation* station = store.at(i);
        const QPointF at(scene.toPixelX(station->lon * 60.0), scene.toPixelY(station->lat * 60.0));
        if (!visible.contains(at))
            continue;
        const auto alert = scene.alerts().find(station->callsign);
        if (alert != scene.alerts().end()) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(255, 200, 0, int(200 * MapScene::opacity(alert->second, now))));
            painter.drawEllipse(at, 11, 11);
        }
        const bool own = store.hasOwn() && i == 0;
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(own ? QColor(30, 90, 200) : QColor(200, 40, 40));
        painter.drawEllipse(at, 4, 4);
        painter.drawText(at + QPointF(7, -5), station->callsign);
    }
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
