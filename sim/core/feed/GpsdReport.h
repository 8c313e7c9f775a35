#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

namespace feed {

// What one line from gpsd says about the own position.
struct GpsdReport {
    enum class Kind {
        Fix,     // a TPV report with a 2D or 3D fix and a usable position
        NoFix,   // a TPV report without one (mode 0 or 1, or a position we cannot use)
        Version, // the VERSION report gpsd sends on connecting
        Other,   // another gpsd report (DEVICES, WATCH, SKY ...)
        NotGpsd, // not a JSON object with a "class": garbage on the line
    };
    Kind kind = Kind::NotGpsd;
    double latitude = 0.0; // decimal degrees, north positive; only for Fix
    double longitude = 0.0;
    // Course over ground and speed, when the fix carries them (degrees from true north, m/s).
    std::optional<double> trackDegrees;
    std::optional<double> speedMps;
    int mode = 0; // only for Fix: gpsd's 2 (two-dimensional) or 3 (three-dimensional)
    // Only for Version: gpsd's release ("3.22") and its protocol version (3.14); -1 when
    // the report does not give it as a number.
    QString release;
    int protocolMajor = -1;
    int protocolMinor = -1;
};

// Reads one line of gpsd's JSON protocol. Pure: a line that is not gpsd's, a NaN or an
// out-of-range position never gives a Fix.
GpsdReport readGpsdReport(const QByteArray& line);

// A fix's mode in the operator's words: "3D fix", "2D fix".
QString fixWords(int mode);

} // namespace feed
