#include "TrackerSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include "settings/ProfileFile.h"

QString trackerSettingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/kestrel32/kestrel32.conf");
}

const QStringList& trackerMapKeys() {
    static const QStringList keys{
        QStringLiteral("tile-url"),          QStringLiteral("tile-attribution"),
        QStringLiteral("trail-minutes"),     QStringLiteral("trail-points"),
        QStringLiteral("centre-latitude"),   QStringLiteral("centre-longitude"),
        QStringLiteral("minutes-per-pixel"), QStringLiteral("projection-latitude")};
    return keys;
}

TrackerMapSettings trackerMapSettings(const QString& path) {
    TrackerMapSettings settings;
    const auto text = [&](const char* key) {
        return readProfileString(path, trackerMapSection, QLatin1String(key), {}, 4096).trimmed();
    };
    settings.tileUrl = text("tile-url");
    settings.tileAttribution = text("tile-attribution");
    const auto number = [&](const char* key, int low, int high, int fallback) {
        bool ok = false;
        const int value = text(key).toInt(&ok);
        return ok && value >= low && value <= high ? value : fallback;
    };
    settings.trailMinutes = number("trail-minutes", 1, 24 * 60, settings.trailMinutes);
    settings.trailPoints = number("trail-points", 2, 1000, settings.trailPoints);
    if (!tileTemplateProblem(settings.tileUrl).isEmpty())
        settings.tileUrl.clear();
    return settings;
}

bool saveTrackerMapSettings(const QString& path, const TrackerMapSettings& before,
                            const TrackerMapSettings& after) {
    QList<QPair<QString, QString>> changed;
    const auto note = [&](const char* key, const QString& was, const QString& now) {
        if (was != now)
            changed.append({QLatin1String(key), now});
    };
    note("tile-url", before.tileUrl, after.tileUrl);
    note("tile-attribution", before.tileAttribution, after.tileAttribution);
    note("trail-minutes", QString::number(before.trailMinutes),
         QString::number(after.trailMinutes));
    note("trail-points", QString::number(before.trailPoints), QString::number(after.trailPoints));
    if (changed.isEmpty())
        return true;
    QDir().mkpath(QFileInfo(path).path());
    return writeProfileStrings(path, trackerMapSection, changed);
}

QString tileTemplateProblem(const QString& urlTemplate) {
    if (urlTemplate.isEmpty())
        return {};
    // Only web addresses: a tile template is fetched, never opened as a file.
    const QUrl url(urlTemplate);
    if (!url.isValid() || url.host().isEmpty() ||
        (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")))
        return QStringLiteral("An http:// or https:// address.");
    for (const char* part : {"{z}", "{x}", "{y}"})
        if (!urlTemplate.contains(QLatin1String(part)))
            return QStringLiteral("The address needs {z}, {x} and {y}.");
    return {};
}
