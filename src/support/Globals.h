#pragma once

#include <QString>

// Process-wide values, set once by start-up and only read afterwards.
extern QString gstrAppName;     // "Kestrel32 add-on Ringwarden"
extern QString gstrAppVersion;  // "V1.1.0"
extern QString gstrAppTitle;    // gstrAppName, a blank, gstrAppVersion
extern QString gstrHelpFile;    // executable folder, "/", base name, ".html"
extern QString gstrHostIniFile; // host folder directly followed by "kestrel32.ini"
extern QString gstrOwnCallsign; // the own station's callsign

// The title of a message box that names no title of its own: the project's name.
inline const QString kDefaultMessageTitle = QStringLiteral("Ringwarden");
