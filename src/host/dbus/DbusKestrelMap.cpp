#include "host/dbus/DbusKestrelMap.h"

#include <QDBusMessage>
#include <QDBusPendingCall>

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
