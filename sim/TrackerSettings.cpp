#include "TrackerSettings.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

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
