#pragma once

#include <QString>

// Opens the help page with whatever the desktop has registered for HTML files. A missing
// page or a desktop without a viewer shows nothing: the operator simply sees no help.
void OpenHelpFile(const QString& path);
