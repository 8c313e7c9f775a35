#include "host/dbus/DbusKestrelMap.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>

#include "host/HostError.h"

#include "host/dbus/DbusKestrelHost.h"
#include "host/dbus/KestrelBusNames.h"

namespace {

QDBusMessage mapCall(DbusKestrelHost& host, const QString& method, const QVariantList& args) {
    return host.call(kestrelbus::mapPath(), kestrelbus::mapInterface(), method, args);
}

QDBusPendingCall mapSend(DbusKestrelHost& host, const QString& method, const QVariantList& args) {
    return host.send(kestrelbus::mapPath(), kestrelbus::mapInterface(), method, args);
}

} // namespace

void DbusKestrelMap::setDrawWidth(qint32 width) {
    mapSend(m_host, QStringLiteral("SetDrawWidth"), {width});
}

void DbusKestrelMap::setDrawStyle(qint16 style) {
    mapSend(m_host, QStringLiteral("SetDrawStyle"), {QVariant::fromValue(style)});
}

void DbusKestrelMap::setFillColor(qint32 colour) {
    mapSend(m_host, QStringLiteral("SetFillColor"), {colour});
}

float DbusKestrelMap::ScaleHeight() {
    return float(
        mapCall(m_host, QStringLiteral("ScaleHeight"), {}).arguments().constFirst().toDouble());
}

qint16 DbusKestrelMap::PixelHeight() {
    return mapCall(m_host, QStringLiteral("PixelHeight"), {})
        .arguments()
        .constFirst()
        .value<qint16>();
}

KestrelMap::Scale DbusKestrelMap::scale() {
    // Both questions go out together; the second answer comes after the first, which has
    // been checked by then.
    const QDBusPendingCall scaleHeight = mapSend(m_host, QStringLiteral("ScaleHeight"), {});
    const qint16 pixelHeight = PixelHeight();
    return {float(scaleHeight.reply().arguments().constFirst().toDouble()), pixelHeight};
}

void DbusKestrelMap::DrawCircle(float x, float y, float radius, qint32 colour, float startAngle,
                                double endAngle, float aspect) {
    mapCall(m_host, QStringLiteral("DrawCircle"),
            {double(x), double(y), double(radius), colour, double(startAngle), endAngle,
             double(aspect)});
}

namespace {

// The drawing settings of every station mark (see MarkStation).
constexpr qint32 kRingDrawWidth = 3;
constexpr qint16 kRingDrawStyle = 2;
constexpr qint32 kRingFillColour = 16776960;

bool unknownMethod(const QDBusMessage& reply) {
    return reply.type() == QDBusMessage::ErrorMessage &&
           QDBusError(reply).type() == QDBusError::UnknownMethod;
}

} // namespace

std::unique_ptr<StationRingsReply>
DbusKestrelMap::drawStationRings(const std::vector<StationRing>& rings) {
    if (m_ringsRefusedAsUnknown)
        return nullptr;
    auto reply = std::make_unique<StationRingsReply>();
    const QString path = kestrelbus::mapPath();
    const QString interface = kestrelbus::mapInterface();
    // Both questions go out together; the second answer comes after the first.
    const QDBusPendingCall scaleHeight =
        m_host.callLater(path, interface, QStringLiteral("ScaleHeight"), {});
    auto* watcher = new QDBusPendingCallWatcher(
        m_host.callLater(path, interface, QStringLiteral("PixelHeight"), {}), reply.get());
    QObject::connect(
        watcher, &QDBusPendingCallWatcher::finished, reply.get(),
        [this, reply = reply.get(), watcher, scaleHeight, rings, path, interface] {
            watcher->deleteLater();
            try {
                const float scale = float(
                    m_host
                        .checkedReply(scaleHeight.reply(), interface, QStringLiteral("ScaleHeight"))
                        .arguments()
                        .constFirst()
                        .toDouble());
                const qint16 pixels =
                    m_host.checkedReply(watcher->reply(), interface, QStringLiteral("PixelHeight"))
                        .arguments()
                        .constFirst()
                        .value<qint16>();
                const std::optional<float> radius = stationRingRadius(scale, pixels);
                if (!radius)
                    throw HostError(pixels == 0
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
    const QString interface = kestrelbus::mapInterface();
    const QString method = QStringLiteral("DrawCircles");
    auto* watcher = new QDBusPendingCallWatcher(
        m_host.callLater(kestrelbus::mapPath(), interface, method,
                         {kRingDrawWidth, QVariant::fromValue(kRingDrawStyle), kRingFillColour,
                          QVariant::fromValue(x), QVariant::fromValue(y),
                          QVariant::fromValue(radii), QVariant::fromValue(colours),
                          QVariant::fromValue(startAngles), QVariant::fromValue(endAngles),
                          QVariant::fromValue(aspects)}),
        reply);
    QObject::connect(
        watcher, &QDBusPendingCallWatcher::finished, reply,
        [this, reply, watcher, interface, method] {
            watcher->deleteLater();
            const QDBusMessage answer = watcher->reply();
            if (unknownMethod(answer)) {
                // A tracker without the call: single marks from now on.
                m_ringsRefusedAsUnknown = true;
                reply->finishNotOffered();
                return;
            }
            try {
                const int refused =
                    m_host.checkedReply(answer, interface, method).arguments().constFirst().toInt();
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
