#pragma once

#include <QString>

// Where the help page, the WAV folder and the icon live for an executable in a given
// folder. A build or portable folder keeps them beside the executable; an installed
// program (bin/Ringwarden) finds them in share/ringwarden beside its bin folder.
QString installedDataDir(const QString& executableDir);

// The help page for an executable in executableDir: the data folder, "/Ringwarden.html".
QString installedHelpFile(const QString& executableDir);

// The program icon (SVG) for an executable in executableDir.
QString installedIconFile(const QString& executableDir);
