#include "TrackerSettings.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

QString trackerSettingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/kestrel32/kestrel32.conf");
}

QStringList trackerSettingsArguments(const QString& path, const QStringList& given) {
    QStringList arguments;
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return arguments;
    const QSettings file(path, QSettings::IniFormat);
    const auto text = [&](const QString& key) { return file.value(key).toString().trimmed(); };
    const auto take = [&](const QString& option, const QString& value) {
        if (!value.isEmpty() && !given.contains(option))
            arguments << QStringLiteral("--") + option << value;
    };
    for (const char* key : {"gpsd", "kiss", "aprs-is", "range", "unit", "expire"})
        take(QString::fromLatin1(key), text(QString::fromLatin1(key)));
    // A login alone would be refused; it belongs to the server, from either place.
    if (given.contains(QStringLiteral("aprs-is")) || !text(QStringLiteral("aprs-is")).isEmpty())
        take(QStringLiteral("login"), text(QStringLiteral("login")));
    QString own = text(QStringLiteral("callsign"));
    const QString latitude = text(QStringLiteral("latitude"));
    const QString longitude = text(QStringLiteral("longitude"));
    if (!own.isEmpty() && (!latitude.isEmpty() || !longitude.isEmpty()))
        own += QLatin1Char(',') + latitude + QLatin1Char(',') + longitude;
    take(QStringLiteral("own"), own);
    return arguments;
}

TrackerMapSettings trackerMapSettings(const QString& path) {
    TrackerMapSettings settings;
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return settings;
    const QSettings file(path, QSettings::IniFormat);
    settings.tileUrl = file.value(QStringLiteral("map/tile-url")).toString().trimmed();
    settings.tileAttribution =
        file.value(QStringLiteral("map/tile-attribution")).toString().trimmed();
    const auto number = [&](const char* key, int low, int high, int fallback) {
        bool ok = false;
        const int value = file.value(QLatin1String(key)).toString().trimmed().toInt(&ok);
        return ok && value >= low && value <= high ? value : fallback;
    };
    settings.trailMinutes = number("map/trail-minutes", 1, 24 * 60, settings.trailMinutes);
    settings.trailPoints = number("map/trail-points", 2, 1000, settings.trailPoints);
    // Only web addresses: a tile template is fetched, never opened as a file.
    const QString scheme = QUrl(settings.tileUrl).scheme();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        settings.tileUrl.clear();
    return settings;
}
