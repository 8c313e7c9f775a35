#include "support/Globals.h"

QString gstrAppName;
QString gstrAppVersion;
QString gstrAppTitle;
QString gstrHelpFile;
QString gstrHostIniFile;
QString gstrOwnCallsign;
