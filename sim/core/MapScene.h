#pragma once

#include <map>
#include <optional>
#include <vector>

#include <QString>

// One circle or arc asked for with DrawCircle, with the drawing properties in force then.
struct MapMark {
    double x = 0.0;      // longitude, minutes of arc
    double y = 0.0;      // latitude, minutes of arc
    double radius = 0.0; // map units (the tracker's distance unit)
    quint32 colour = 0;  // Windows colour: red in the low byte
    double startAngle = 0.0;
    double endAngle = 0.0;
    double aspect = 1.0;
    int width = 1;
    int style = 0;
    quint32 fillColour = 0;
    qint64 drawnMs = 0;
};

// An arc drawn as a slice of the disc round its centre, in pixels; angles in degrees
// anticlockwise from three o'clock, the span positive.
struct SweepWedge {
    double centreX = 0.0;
    double centreY = 0.0;
    double radius = 0.0;
    double startDegrees = 0.0;
    double spanDegrees = 0.0;
};

// What the map shows apart from the stations: the marks add-ons draw (they fade and go),
// highlighted stations, the beacon, and which part of the world is in view. Knows no
// widget, so the map's arithmetic is testable without a window.
class MapScene final {
public:
    // How long a mark or a highlight stays on the map.
    static constexpr qint64 fadeMs = 30000;

    // --- drawing properties, as add-ons set them ---
    int drawWidth = 1;
    int drawStyle = 0;
    quint32 fillColour = 0;
    static bool validDrawWidth(qint64 width) { return width >= 1 && width <= 32767; }
    // 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, 5 invisible, 6 inside solid.
    static bool validDrawStyle(qint64 style) { return style >= 0 && style <= 6; }

    void addCircle(double x, double y, double radius, quint32 colour, double startAngle,
                   double endAngle, double aspect, qint64 nowMs);
    void alert(const QString& callsign, qint64 nowMs) { m_alerts[callsign] = nowMs; }
    // Drops marks and highlights older than fadeMs.
    void prune(qint64 nowMs);
    // 1 for a fresh mark down to 0 when it goes.
    static double opacity(qint64 drawnMs, qint64 nowMs);

    // An arc drawn with an aspect other than 1 is a step of a sweep round a station (the
    // ring of steps shares the range ring's radius): it is drawn as a round wedge of that
    // radius, not as a squashed ellipse. Nothing for whole circles and arcs of aspect 1.
    std::optional<SweepWedge> sweepWedge(const MapMark& mark) const;

    const std::vector<MapMark>& marks() const { return m_marks; }
    const std::map<QString, qint64>& alerts() const { return m_alerts; }

    // --- the view ---
    // Centre in minutes of arc, scale in minutes of latitude per pixel.
    double centreX = 0.0;
    double centreY = 0.0;
    double unitsPerPixel = 0.05;
    int pixelWidth = 800;
    int pixelHeight = 600;

    // Radii and ScaleHeight are in map units: the tracker's distance unit, so that a ring
    // of an add-on's alarm range in that unit has that range on the map. Positions stay
    // minutes of arc; one minute of latitude is 1.852 km at 111.12 km per degree.
    double minutesPerMapUnit = 1.0;
    // Height of the visible map in map units; always positive.
    double scaleHeight() const { return unitsPerPixel * pixelHeight / minutesPerMapUnit; }
    // Pixels of a length in map units.
    double toPixels(double mapUnits) const { return mapUnits * minutesPerMapUnit / unitsPerPixel; }
    // Pixel position of a map position (y grows downwards on screen).
    double toPixelX(double x) const;
    double toPixelY(double y) const;
    double fromPixelX(double px) const;
    double fromPixelY(double py) const;
    // Zooms by `factor` (> 1 zooms in) keeping the map point under pixel (px, py) in place.
    void zoom(double factor, double px, double py);
    // Moves the view with the mouse: the map follows a drag of (dx, dy) pixels.
    void pan(double dx, double dy);
    // Shows the area between the given corners (minutes of arc) with a margin.
    void fit(double minX, double minY, double maxX, double maxY);

    // Longitude minutes shrink towards the poles: the map draws them at the true scale of
    // the latitude it was fitted to, a fixed projection that panning does not change.
    double xScale = 1.0;

    // The tracker's overlays folder, whose objects the map shows; empty for none.
    QString overlaysFolder;

private:
    std::vector<MapMark> m_marks;
    std::map<QString, qint64> m_alerts;
};
