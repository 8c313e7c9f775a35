#pragma once

#include <QString>

// The folder in which the host records its program folder: the per-user settings store,
// application "Brightmoor", section "Kestrel32", key "Program Folder".
struct HostFolderResult {
    QString folder;    // as stored, without trimming or an added separator
    QString errorText; // non-empty when the store itself could not be read
};

HostFolderResult readHostFolder();

// Reads the host folder; a failure of the store shows the stop box and gives "".
QString GetHostFolder();
