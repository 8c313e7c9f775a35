#pragma once

#include <exception>
#include <memory>
#include <optional>
#include <vector>

#include <QObject>
#include <QtGlobal>

// The ring round a station, 8 pixels of the visible map whatever its zoom: 8 × |ScaleHeight ÷
// PixelHeight| map units; none for a map without height in pixels or a scale that gives no
// finite ring.
std::optional<float> stationRingRadius(float scaleHeight, qint16 pixelHeight);

// The answer to a block of station rings sent in one call (see KestrelMap::drawStationRings).
class StationRingsReply : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    bool isReady() const { return m_ready; }
    // After ready: the index of the first ring not drawn (the host refused it, the scale gave
    // no ring, or the call failed), or -1 when all were drawn; the rings before it are drawn.
    int firstNotDrawn() const { return m_firstNotDrawn; }
    // Why that ring was not drawn (HostError, or MapMarkError from the caller's rule).
    std::exception_ptr failure() const { return m_failure; }
    // After ready: false when the host turned out not to know the call (none was drawn:
    // the caller draws them one by one).
    bool offered() const { return m_offered; }

    void finishNotOffered() {
        m_offered = false;
        finish(0);
    }
    void finish(int firstNotDrawn, std::exception_ptr failure = {}) {
        m_firstNotDrawn = firstNotDrawn;
        m_failure = std::move(failure);
        m_ready = true;
        emit ready();
    }

signals:
    void ready();

private:
    bool m_ready = false;
    bool m_offered = true;
    int m_firstNotDrawn = -1;
    std::exception_ptr m_failure;
};

// The host's map, obtained from KestrelHost::Map(). X is longitude and Y latitude, in
// minutes of arc; radii are in map units (those of ScaleHeight). Every call may throw
// HostError; a host that sends the three drawing settings (or scale's ScaleHeight) without
// waiting raises their failure with the next call that answers.
class KestrelMap {
public:
    virtual ~KestrelMap() = default;

    virtual void setDrawWidth(qint32 width) = 0;
    virtual void setDrawStyle(qint16 style) = 0;
    virtual void setFillColor(qint32 colour) = 0;
    virtual float ScaleHeight() = 0;
    virtual qint16 PixelHeight() = 0;
    struct Scale {
        float scaleHeight;
        qint16 pixelHeight;
    };
    // ScaleHeight and then PixelHeight; a host over the bus asks both in one round trip.
    virtual Scale scale() {
        const float scaleHeight = ScaleHeight();
        return {scaleHeight, PixelHeight()};
    }
    virtual void DrawCircle(float x, float y, float radius, qint32 colour, float startAngle,
                            double endAngle, float aspect) = 0;

    // A station's ring: its position and colour.
    struct StationRing {
        float x;
        float y;
        qint32 colour;
    };
    // The rings of a block of stations in one call, with the scale asked once for all of
    // them: each drawn as a single station mark is (the drawing settings, then the circle),
    // in order, up to the first the host refuses. Returns at once; the reply says when the
    // host has answered. Null from a host without that call (single marks then).
    virtual std::unique_ptr<StationRingsReply> drawStationRings(const std::vector<StationRing>&) {
        return nullptr;
    }
};
