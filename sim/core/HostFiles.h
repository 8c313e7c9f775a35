#pragma once

#include <optional>
#include <stdexcept>

#include <QByteArray>
#include <QString>

#include "Scenario.h"

// A file of the tracker's program folder could not be written.
class HostFileError : public std::runtime_error {
public:
    explicit HostFileError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

namespace hostfiles {

// The text of an INI file with `key` of `section` set to `value`, or removed when `value`
// is empty (the profile writer of settings/ only sets). Section and key names compare
// case-insensitively; every other line, its line end and the file's bytes are kept as they were. A
// missing section is appended.
QByteArray withProfileValue(const QByteArray& content, const QString& section, const QString& key,
                            const std::optional<QString>& value);

// Writes DIR/kestrel32.ini with section STATION key CALLSIGN (removed when `callsign` is
// empty), keeping the rest of an existing file as the profile calls do. Throws
// HostFileError.
void writeHostIni(const QString& folder, const QString& callsign);

// Records `folder` + "/" under "Program Folder" of the per-user store of Brightmoor's
// Kestrel32, where add-ons look for the tracker's folder. Throws HostFileError.
void recordProgramFolder(const QString& folder);

// Creates DIR/overlays and writes each overlay file there (Latin-1, CR LF line ends);
// other files in that folder stay. Throws HostFileError.
void writeOverlays(const QString& folder, const std::vector<OverlayFile>& overlays);

} // namespace hostfiles
