#pragma once

#include <functional>
#include <memory>

#include <QString>

#include "host/KestrelHost.h"

// What start-up needs from outside the program; tests replace each piece.
struct StartupEnvironment {
    // Creates one host application object. Throws HostError (with a message that says
    // what is missing and how to start it) when the host cannot be reached.
    std::function<std::unique_ptr<KestrelHost>()> createHost;
    // The executable's full path: its folder and base name give the program's files.
    QString executablePath;
    // Where the settings and list files go when the executable's folder is not writable.
    QString fallbackConfigFolder;
    // Folder of the lock that refuses a second instance.
    QString lockFolder;
};

// Where the program's own files are, from the executable's path.
struct ProgramFiles {
    QString folder;   // the executable's folder, with a trailing "/"
    QString baseName; // "Ringwarden"
    QString iniFile;  // Ringwarden.INI
    QString listFile; // Ringwarden.LST
    QString helpFile; // Ringwarden.html
    QString wavFolder;
};
ProgramFiles programFiles(const QString& executablePath, const QString& fallbackConfigFolder);

// The environment of the real program: D-Bus host, the running executable, the user's
// folders.
StartupEnvironment defaultStartupEnvironment();

// A lock per executable path, so that copies installed in two places do not refuse each
// other while a second start of the same one is refused.
QString lockPath(const QString& lockFolder, const QString& executablePath);
