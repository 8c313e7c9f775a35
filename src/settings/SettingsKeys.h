#pragma once

#include <array>

#include <QString>

// Ringwarden.INI: one section, SETUP, and its keys. A new key is one row of kSettingKeys and
// the place where it is applied.
inline const QString kSetupSection = QStringLiteral("SETUP");

enum class Setting {
    MinDistance,
    BringToFront,
    AudibleAlarm,
    ScanStations,
    ScanOverlays,
    Left,
    Top,
    Minimized,
    DesktopNotify,
    SpeakAlarm,
};

enum class SettingKind { Text, Switch, Position };

struct SettingKey {
    Setting id;
    const char* name;
    // The value a missing key reads as; a position's default is the centred window.
    const char* defaultText;
    SettingKind kind;
    // Read at start-up and written back when it equals its default, so that the first start
    // creates the file. Keys added later are not, so that an existing file stays as it was.
    bool writtenBackWhenDefault;
    // Written by the shutdown's one rewrite (the others only when their switch is toggled).
    bool savedAtShutdown;
};

// In the order start-up reads them.
inline constexpr std::array<SettingKey, 10> kSettingKeys = {{
    {Setting::MinDistance, "MIN_DISTANCE", "10", SettingKind::Text, true, true},
    {Setting::BringToFront, "BRING_TO_FRONT", "TRUE", SettingKind::Switch, true, true},
    {Setting::AudibleAlarm, "AUDIBLE_ALARM", "TRUE", SettingKind::Switch, true, true},
    {Setting::ScanStations, "SCAN_STATIONS", "TRUE", SettingKind::Switch, true, false},
    {Setting::ScanOverlays, "SCAN_OVERLAYS", "TRUE", SettingKind::Switch, true, false},
    {Setting::Left, "LEFT", "", SettingKind::Position, true, true},
    {Setting::Top, "TOP", "", SettingKind::Position, true, true},
    {Setting::Minimized, "MINIMIZED", "FALSE", SettingKind::Switch, true, true},
    {Setting::DesktopNotify, "DESKTOP_NOTIFY", "FALSE", SettingKind::Switch, false, false},
    {Setting::SpeakAlarm, "SPEAK_ALARM", "FALSE", SettingKind::Switch, false, false},
}};

const SettingKey& settingKey(Setting id);
inline QString keyName(Setting id) {
    return QString::fromLatin1(settingKey(id).name);
}
