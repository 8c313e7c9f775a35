#pragma once

#include <QPoint>
#include <QTimer>
#include <QWidget>

class HostCore;

// The tracker's map: stations with their callsigns, the marks add-ons draw, highlighted
// stations. Wheel zooms around the cursor, dragging pans.
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
    HostCore& m_core;
    // Changes come with every bus call an add-on makes, hundreds in one of its scans; the
    // map is painted at most every repaintMs for them, not once per call.
    static constexpr int repaintMs = 50;
    QTimer m_repaint;
    QPoint m_dragFrom;
    bool m_dragging = false;
};
