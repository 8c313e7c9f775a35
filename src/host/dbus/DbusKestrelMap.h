#pragma once

#include "host/KestrelMap.h"

class DbusKestrelHost;

// The tracker's map over the bus; calls go through the application object that owns it.
class DbusKestrelMap final : public KestrelMap {
public:
    explicit DbusKestrelMap(DbusKestrelHost& host) : m_host(host) {}

    void setDrawWidth(qint32 width) override;
    void setDrawStyle(qint16 style) override;
    void setFillColor(qint32 colour) override;
    float ScaleHeight() override;
    qint16 PixelHeight() override;
    Scale scale() override;
    void DrawCircle(float x, float y, float radius, qint32 colour, float startAngle,
                    double endAngle, float aspect) override;

private:
    DbusKestrelHost& m_host;
};
