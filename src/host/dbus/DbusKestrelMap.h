#pragma once

#include "host/KestrelMap.h"

class DbusKestrelHost;

// The tracker's map over the bus, through its generated proxy; failures are raised and
// calls sent ahead are settled by the application object that owns it.
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
    // ScaleHeight and PixelHeight, then DrawCircles, each sent without waiting; null once
    // the tracker has said it does not know DrawCircles.
    std::unique_ptr<StationRingsReply>
    drawStationRings(const std::vector<StationRing>& rings) override;

private:
    void sendRings(StationRingsReply* reply, const std::vector<StationRing>& rings, float radius);

    DbusKestrelHost& m_host;
    bool m_ringsRefusedAsUnknown = false;
};
