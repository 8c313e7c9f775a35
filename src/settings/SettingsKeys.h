#pragma once

#include <QString>

// Ringwarden.INI: one section, SETUP, and its keys.
inline const QString kSetupSection = QStringLiteral("SETUP");

inline const QString kKeyMinDistance = QStringLiteral("MIN_DISTANCE");
inline const QString kKeyBringToFront = QStringLiteral("BRING_TO_FRONT");
inline const QString kKeyAudibleAlarm = QStringLiteral("AUDIBLE_ALARM");
inline const QString kKeyScanStations = QStringLiteral("SCAN_STATIONS");
inline const QString kKeyScanOverlays = QStringLiteral("SCAN_OVERLAYS");
inline const QString kKeyLeft = QStringLiteral("LEFT");
inline const QString kKeyTop = QStringLiteral("TOP");
inline const QString kKeyMinimized = QStringLiteral("MINIMIZED");

inline const QString kDefaultMinDistance = QStringLiteral("10");
inline const QString kDefaultSwitch = QStringLiteral("TRUE");
inline const QString kDefaultMinimized = QStringLiteral("FALSE");
