#pragma once

#include <QString>

// kestrel32's own settings file (INI, ~/.config/kestrel32/kestrel32.conf), so that the
// tracker starts from its desktop entry without options; the setup window writes it (see
// setup/TrackerConf.h). Apart from kestrel32.ini in the program folder, which is the
// tracker's file for its add-ons.
QString trackerSettingsPath();
