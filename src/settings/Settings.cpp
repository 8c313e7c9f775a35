#include "settings/Settings.h"

#include <QList>
#include <QPair>

#include "settings/IniHelpers.h"
#include "settings/NumberText.h"
#include "settings/ProfileFile.h"
#include "settings/SettingsKeys.h"

namespace {

bool readSwitch(const QString& iniFile, const QString& key, const QString& defaultValue) {
    QString text = GetIniSetting(iniFile, kSetupSection, key, defaultValue);
    return TextToBool(text);
}

double readPosition(const QString& iniFile, const QString& key, double centred) {
    const QString defaultText = QString::number(toInt16Rounded(centred));
    return leadingNumberOf(GetIniSetting(iniFile, kSetupSection, key, defaultText));
}

} // namespace

IniSettings readSettingsFile(const QString& iniFile, double centredLeft, double centredTop) {
    IniSettings settings;
    settings.minDistance =
        GetIniSetting(iniFile, kSetupSection, kKeyMinDistance, kDefaultMinDistance);
    settings.bringToFront = readSwitch(iniFile, kKeyBringToFront, kDefaultSwitch);
    settings.audibleAlarm = readSwitch(iniFile, kKeyAudibleAlarm, kDefaultSwitch);
    settings.scanStations = readSwitch(iniFile, kKeyScanStations, kDefaultSwitch);
    settings.scanOverlays = readSwitch(iniFile, kKeyScanOverlays, kDefaultSwitch);
    settings.left = readPosition(iniFile, kKeyLeft, centredLeft);
    settings.top = readPosition(iniFile, kKeyTop, centredTop);
    settings.minimized = readSwitch(iniFile, kKeyMinimized, kDefaultMinimized);
    return settings;
}

bool saveSettingsFile(const QString& iniFile, const SavedSettings& settings) noexcept {
    try {
        const QList<QPair<QString, QString>> keys = {
            {kKeyMinDistance, settings.minDistance.trimmed()},
            {kKeyAudibleAlarm, BoolToText(settings.audibleAlarm)},
            {kKeyBringToFront, BoolToText(settings.bringToFront)},
            {kKeyLeft, QString::number(settings.left)},
            {kKeyTop, QString::number(settings.top)},
            {kKeyMinimized, BoolToText(settings.minimized)},
        };
        return writeProfileStrings(iniFile, kSetupSection, keys);
    } catch (...) {
        // Out of memory, at worst: the lists must still be saved after this.
        return false;
    }
}

bool writeSwitchSetting(const QString& iniFile, const QString& key, bool value) noexcept {
    try {
        return writeProfileString(iniFile, kSetupSection, key, BoolToText(value));
    } catch (...) {
        return false;
    }
}
