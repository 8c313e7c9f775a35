#pragma once

#include <functional>
#include <memory>

#include <QString>

#include "host/KestrelHost.h"

class frmMain;
class QLockFile;

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

// The main window's load handler: attaches to the host, refuses a second instance, reads
// the settings, the own callsign and the lists, and shows the window. A refusal or a
// missing callsign ends the process (through the seam) with nothing written. The returned
// lock keeps other instances out while it lives.
std::unique_ptr<QLockFile> Form_Load(frmMain& form, const StartupEnvironment& env);
