#pragma once

#include <QtGlobal>

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
};
