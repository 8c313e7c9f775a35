#pragma once

#include <utility>
#include <vector>

#include <QElapsedTimer>
#include <QHash>
#include <QPixmap>
#include <QPoint>
#include <QSizeF>
#include <QTimer>
#include <QWidget>

#include "OverlayObjects.h"

class HostCore;

// The tracker's map: stations and overlay objects with their names (set so that none covers
// another), the marks add-ons draw, highlighted stations, a scale bar. Wheel zooms around
// the cursor, dragging pans.
class MapView final : public QWidget {
    Q_OBJECT
public:
    explicit MapView(HostCore& core, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    static constexpr int dotPixels = 10;
    static QPixmap dotPixmap(const QColor& fill, double pixelRatio);
    void reloadOverlays();
    QSizeF labelSize(const QString& text);

    HostCore& m_core;
    // Changes come with every bus call an add-on makes, hundreds in one of its scans, and
    // a call that arrives during a paint waits for it. So the map is painted once the changes
    // have paused for quietMs, and at the latest longestWaitMs after the first change not yet
    // shown (a busy feed never pauses).
    static constexpr int quietMs = 50;
    static constexpr qint64 longestWaitMs = 1000;
    QTimer m_repaint;
    QElapsedTimer m_unpainted;
    static constexpr int overlayReloadMs = 5000;
    QTimer m_overlayReload;
    std::vector<OverlayObject> m_overlays;
    QHash<QString, QSizeF> m_labelSizes;
    // With more stations than this in view their names would only cover each other: the
    // placement would keep a few, by list order, and the paint would spend most of its time
    // on the rest. Only the own station and stations in alarm are named until the operator
    // zooms in.
    static constexpr size_t namedStationsLimit = 2000;
    // The stations in view without a priority label, kept between paints to spare the
    // allocation.
    std::vector<std::pair<int, QPointF>> m_plainStations;
    QPixmap m_stationDot;
    QPixmap m_ownDot;
    QPoint m_dragFrom;
    bool m_dragging = false;
};
