#include "host/dbus/DbusKestrelMap.h"

#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include "KestrelBusProxy.h"
#include "host/HostError.h"
#include "host/dbus/DbusKestrelHost.h"

void DbusKestrelMap::setDrawWidth(qint32 width) {
    m_host.sent(m_host.mapBus().SetDrawWidth(width), QStringLiteral("SetDrawWidth"));
}

void DbusKestrelMap::setDrawStyle(qint16 style) {
    m_host.sent(m_host.mapBus().SetDrawStyle(style), QStringLiteral("SetDrawStyle"));
}

void DbusKestrelMap::setFillColor(qint32 colour) {
    m_host.sent(m_host.mapBus().SetFillColor(colour), QStringLiteral("SetFillColor"));
}

float DbusKestrelMap::ScaleHeight() {
    const QDBusPendingReply<double> reply = m_host.mapBus().ScaleHeight();
    m_host.await(reply, QStringLiteral("ScaleHeight"));
    return float(reply.value());
}

qint16 DbusKestrelMap::PixelHeight() {
    const QDBusPendingReply<short> reply = m_host.mapBus().PixelHeight();
    m_host.await(reply, QStringLiteral("PixelHeight"));
    return reply.value();
}

KestrelMap::Scale DbusKestrelMap::scale() {
    // Both questions go out together; the second answer comes after the first, which has
    // been checked by then.
    const QDBusPendingReply<double> scaleHeight = m_host.mapBus().ScaleHeight();
    m_host.sent(scaleHeight, QStringLiteral("ScaleHeight"));
    const qint16 pixelHeight = PixelHeight();
    return {float(scaleHeight.value()), pixelHeight};
}

void DbusKestrelMap::DrawCircle(float x, float y, float radius, qint32 colour, float startAngle,
                                double endAngle, float aspect) {
    m_host.await(m_host.mapBus().DrawCircle(double(x), double(y), double(radius), colour,
                                            double(startAngle), endAngle, double(aspect)),
                 QStringLiteral("DrawCircle"));
}

namespace {

// The drawing settings of every station mark (see MarkStation).
constexpr qint32 kRingDrawWidth = 3;
constexpr qint16 kRingDrawStyle = 2;
constexpr qint32 kRingFillColour = 16776960;

} // namespace

std::unique_ptr<StationRingsReply>
DbusKestrelMap::drawStationRings(const std::vector<StationRing>& rings) {
    if (m_ringsRefusedAsUnknown)
        return nullptr;
    auto reply = std::make_unique<StationRingsReply>();
    // Both questions go out together; the second answer comes after the first.
    const QDBusPendingReply<double> scaleHeight = m_host.mapBus().ScaleHeight();
    auto* watcher = new QDBusPendingCallWatcher(m_host.mapBus().PixelHeight(), reply.get());
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, reply.get(),
                     [this, reply = reply.get(), watcher, scaleHeight, rings] {
                         watcher->deleteLater();
                         const QDBusPendingReply<short> pixelHeight = *watcher;
                         try {
                             DbusKestrelHost::check(scaleHeight, QStringLiteral("ScaleHeight"));
                             DbusKestrelHost::check(pixelHeight, QStringLiteral("PixelHeight"));
                             const qint16 pixels = pixelHeight.value();
                             const std::optional<float> radius =
                                 stationRingRadius(float(scaleHeight.value()), pixels);
                             if (!radius)
                                 throw HostError(
                                     pixels == 0
                                         ? QStringLiteral("The map has no height in pixels.")
                                         : QStringLiteral("The map scale gives no station ring."),
                                     HostError::Kind::Refused);
                             sendRings(reply, rings, *radius);
                         } catch (const HostError&) {
                             reply->finish(0, std::current_exception());
                         }
                     });
    return reply;
}

void DbusKestrelMap::sendRings(StationRingsReply* reply, const std::vector<StationRing>& rings,
                               float radius) {
    QList<double> x, y, radii, startAngles, endAngles, aspects;
    QList<qint32> colours;
    for (const StationRing& ring : rings) {
        x.append(ring.x);
        y.append(ring.y);
        radii.append(radius);
        colours.append(ring.colour);
        startAngles.append(0.0);
        endAngles.append(6.283186);
        aspects.append(1.0);
    }
    auto* watcher = new QDBusPendingCallWatcher(
        m_host.mapBus().DrawCircles(kRingDrawWidth, kRingDrawStyle, kRingFillColour, x, y, radii,
                                    colours, startAngles, endAngles, aspects),
        reply);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, reply, [this, reply, watcher] {
        watcher->deleteLater();
        const QDBusPendingReply<int> answer = *watcher;
        if (DbusKestrelHost::unknownToTracker(answer)) {
            // A tracker without the call: single marks from now on.
            m_ringsRefusedAsUnknown = true;
            reply->finishNotOffered();
            return;
        }
        try {
            DbusKestrelHost::check(answer, QStringLiteral("DrawCircles"));
            const int refused = answer.value();
            reply->finish(refused, refused < 0 ? std::exception_ptr()
                                               : std::make_exception_ptr(HostError(
                                                     QStringLiteral("Kestrel32 refused the "
                                                                    "station ring %1")
                                                         .arg(refused),
                                                     HostError::Kind::Refused)));
        } catch (const HostError&) {
            reply->finish(0, std::current_exception());
        }
    });
}
