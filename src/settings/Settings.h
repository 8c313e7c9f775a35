#pragma once

#include <QString>

#include <cstdint>

// The file work of the main window's settings reader and writer, without the window: the
// window applies what is read and hands over what is to be written.

// What Ringwarden.INI holds, as the window applies it at start-up.
struct IniSettings {
    QString minDistance; // the radius text, unchanged
    bool bringToFront = true;
    bool audibleAlarm = true;
    bool scanStations = true;
    bool scanOverlays = true;
    double left = 0; // twips: the numeric value of the stored text
    double top = 0;
    bool minimized = false;
};

// Reads every key of SETUP in its fixed order, each written back when it equals its default
// (so the first start creates the whole file). centredLeft and centredTop are the window's
// centred position in twips; they become the LEFT and TOP defaults, rounded and held to the
// 16-bit range. Write failures are not reported: the values read stand.
IniSettings readSettingsFile(const QString& iniFile, double centredLeft, double centredTop);

// What the window writes at shutdown.
struct SavedSettings {
    QString minDistance; // as typed; blanks around it are dropped on writing
    bool audibleAlarm = true;
    bool bringToFront = true;
    std::int16_t left = 0; // twips
    std::int16_t top = 0;
    bool minimized = false;
};

// Writes MIN_DISTANCE, AUDIBLE_ALARM, BRING_TO_FRONT, LEFT, TOP and MINIMIZED in that order,
// in one rewrite of the file. Never throws; false when the file could not be written (it is
// then as it was), and the caller goes on to save the lists either way.
bool saveSettingsFile(const QString& iniFile, const SavedSettings& settings) noexcept;

// A menu switch writes its own key the moment it is toggled, so the choice outlives a process
// that ends without shutting down. false when the file could not be written.
bool writeSwitchSetting(const QString& iniFile, const QString& key, bool value) noexcept;
