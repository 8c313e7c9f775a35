#include "feed/GpsdReport.h"

#include <cmath>

#include <QJsonDocument>
#include <QJsonObject>

namespace feed {

namespace {

bool readDegrees(const QJsonValue& value, double limit, double& out) {
    if (!value.isDouble())
        return false;
    const double degrees = value.toDouble();
    if (!std::isfinite(degrees) || std::abs(degrees) > limit)
        return false;
    out = degrees;
    return true;
}

} // namespace

GpsdReport readGpsdReport(const QByteArray& line) {
    GpsdReport report;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return report;
    const QJsonObject object = document.object();
    const QJsonValue kind = object.value(QLatin1String("class"));
    if (!kind.isString())
        return report;
    if (kind.toString() == QLatin1String("VERSION")) {
        report.kind = GpsdReport::Kind::Version;
        report.release = object.value(QLatin1String("release")).toString();
        const auto whole = [&](const char* key) {
            const QJsonValue value = object.value(QLatin1String(key));
            const double number = value.toDouble(-1.0);
            return value.isDouble() && number >= 0.0 && number < 1e6 && number == std::floor(number)
                       ? int(number)
                       : -1;
        };
        report.protocolMajor = whole("proto_major");
        report.protocolMinor = whole("proto_minor");
        return report;
    }
    if (kind.toString() != QLatin1String("TPV")) {
        report.kind = GpsdReport::Kind::Other;
        return report;
    }
    report.kind = GpsdReport::Kind::NoFix;
    // gpsd's modes: 0 unknown, 1 no fix, 2 two-dimensional, 3 three-dimensional.
    const QJsonValue mode = object.value(QLatin1String("mode"));
    const double modeNumber = mode.toDouble(-1.0);
    if (!mode.isDouble() || (modeNumber != 2.0 && modeNumber != 3.0))
        return report;
    double latitude = 0.0;
    double longitude = 0.0;
    if (!readDegrees(object.value(QLatin1String("lat")), 90.0, latitude) ||
        !readDegrees(object.value(QLatin1String("lon")), 180.0, longitude))
        return report;
    report.kind = GpsdReport::Kind::Fix;
    report.latitude = latitude;
    report.longitude = longitude;
    const QJsonValue track = object.value(QLatin1String("track"));
    const QJsonValue speed = object.value(QLatin1String("speed"));
    if (track.isDouble() && std::isfinite(track.toDouble()) && track.toDouble() >= 0.0 &&
        track.toDouble() <= 360.0)
        report.trackDegrees = std::fmod(track.toDouble(), 360.0);
    if (speed.isDouble() && std::isfinite(speed.toDouble()) && speed.toDouble() >= 0.0)
        report.speedMps = speed.toDouble();
    report.mode = int(modeNumber);
    return report;
}

QString fixWords(int mode) {
    return mode == 3 ? QStringLiteral("3D fix") : QStringLiteral("2D fix");
}

} // namespace feed
