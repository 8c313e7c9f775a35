#include "TrackerSettings.h"

#include <QStandardPaths>

QString trackerSettingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/kestrel32/kestrel32.conf");
}
