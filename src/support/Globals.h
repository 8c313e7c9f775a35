#pragma once

#include <QString>

#include "BuildInfo.h"

// The program's names, fixed when it is built.
inline const QString appName = QStringLiteral("Kestrel32 add-on Ringwarden");
// "V1.1.0", from the project's version.
inline const QString appVersion = QStringLiteral("V%1.%2.%3")
                                      .arg(BuildInfo::major)
                                      .arg(BuildInfo::minor)
                                      .arg(BuildInfo::revision);
inline const QString appTitle = appName + QLatin1Char(' ') + appVersion;

// The title of a message box that names no title of its own: the project's name.
inline const QString kDefaultMessageTitle = QStringLiteral("Ringwarden");
