#pragma once

#include <vector>

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
    // Changes come with every bus call an add-on makes, hundreds in one of its scans; the
    // map is painted at most every repaintMs for them, not once per call.
    static constexpr int repaintMs = 50;
    QTimer m_repaint;
    static constexpr int overlayReloadMs = 5000;
    QTimer m_overlayReload;
    std::vector<OverlayObject> m_overlays;
    QHash<QString, QSizeF> m_labelSizes;
    QPixmap m_stationDot;
    QPixmap m_ownDot;
    QPoint m_dragFrom;
    bool m_dragging = false;
};
