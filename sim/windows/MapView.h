#pragma once

#include <memory>
#include <utility>
#include <vector>

#include <QElapsedTimer>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QSizeF>
#include <QTimer>
#include <QWidget>

#include "OverlayObjects.h"
#include "map/BaseMapFile.h"
#include "map/StationLog.h"

class HostCore;
class RingPictures;
class TileFetcher;

// The tracker's map: the base map, stations with their trails and overlay objects with
// their names (set so that none covers another), the marks add-ons draw, highlighted
// stations, a scale bar. Wheel zooms around the cursor, dragging or the arrow keys pan,
// + and - zoom; a click on a station asks for its details. While following, the own station
// is kept inside the middle half of the view until the operator pans.
class MapView final : public QWidget {
    Q_OBJECT
public:
    // A station not heard for this long is drawn grey.
    static constexpr qint64 staleMs = 30 * 60 * 1000;
    // A press that moves less than this is a click, not a drag.
    static constexpr int clickSlopPixels = 4;
    // How near a click must come to a station to pick it.
    static constexpr double pickPixels = 8.0;

    explicit MapView(HostCore& core, QWidget* parent = nullptr);
    ~MapView() override;

    // The base map under the stations; none draws the plain map.
    void setBaseMap(std::shared_ptr<const BaseMap> map);
    // Raster tiles over the base map, with the source's attribution in a corner; none for the
    // base map alone. The fetcher is the caller's.
    void setTiles(TileFetcher* fetcher, const QString& attribution);
    bool following() const { return m_following; }
    void setFollowing(bool on);
    // Whether the operator has moved the view since the start (a view worth keeping).
    bool movedByOperator() const { return m_movedByOperator; }
    // The station under a pixel, or an empty string.
    QString stationAt(const QPointF& at) const;

signals:
    void followingChanged(bool on);
    void stationClicked(const QString& callsign);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    static constexpr int dotPixels = 10;
    static QPixmap dotPixmap(const QColor& fill, double pixelRatio);
    static constexpr int highlightPixels = 24;
    static QPixmap highlightPixmap(double pixelRatio);
    void reloadOverlays();
    // The operator moved the view: following ends.
    void operatorPanned();
    void paintBaseMap(QPainter& painter);
    void paintTiles(QPainter& painter);
    void paintAttribution(QPainter& painter);
    void paintTrails(QPainter& painter, qint64 now);
    void paintStale(QPainter& painter, const QRectF& visible);
    void paintHeading(QPainter& painter, const QPointF& at, qint64 now);
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
    // Where the stations not heard for staleMs are, and when the log was last walked for them.
    std::vector<TrailPoint> m_stale;
    qint64 m_staleWalkMs = -1;
    QPixmap m_stationDot;
    QPixmap m_staleDot;
    QPixmap m_ownDot;
    QPixmap m_highlight;
    QPoint m_dragFrom;
    QPoint m_pressedAt;
    bool m_dragging = false;
    bool m_dragged = false;
    bool m_following = false;
    bool m_movedByOperator = false;
    std::shared_ptr<const BaseMap> m_baseMap;
    // The base map drawn for one view, kept until the view changes.
    QPixmap m_basePicture;
    std::vector<double> m_basePictureView;
    TileFetcher* m_tiles = nullptr;
    std::unique_ptr<RingPictures> m_rings;
    QString m_attribution;
};
