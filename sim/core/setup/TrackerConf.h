#pragma once

#include <functional>
#include <optional>

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>

// kestrel32.conf, the operator's settings of the tracker, as the setup window edits them.
// Keys of section [General]: callsign, latitude, longitude (a fixed position, or the last
// position gpsd gave), gpsd, kiss, aprs-is, login, passcode, range, unit, expire. An empty
// address means that link is off.
struct TrackerConf {
    static constexpr quint16 DefaultGpsdPort = 2947;
    static constexpr quint16 DefaultKissPort = 8001;
    static constexpr quint16 DefaultAprsIsPort = 14580;

    QString callsign;
    QString gpsd; // HOST:PORT; empty: the position is fixed
    std::optional<double> latitude;
    std::optional<double> longitude;
    QString kiss;   // HOST:PORT
    QString aprsIs; // HOST:PORT
    QString login;  // empty: the callsign
    QString passcode;
    int rangeKm = 100;
    QString unit; // km, mi or nm; empty: a scenario's unit, or km
    double expireMinutes = 60.0;

    bool hasPosition() const { return latitude && longitude; }
    QString effectiveLogin() const { return login.isEmpty() ? callsign : login; }
    bool operator==(const TrackerConf&) const = default;
};

struct ConfReading {
    TrackerConf conf;
    // Keys the tracker does not know, as the file spells them (left as they are).
    QStringList unknownKeys;
    // The first fault: "FILE: key KEY: problem"; empty when the file can be used.
    QString fault;
};

// Reads the file's text; `fileName` goes into the fault. Keys compare case-insensitively,
// values as the profile calls read them (blanks and one pair of quotes dropped).
ConfReading readTrackerConf(const QByteArray& content, const QString& fileName);
// Reads the file at `path`; a missing file reads as empty.
ConfReading readTrackerConfFile(const QString& path);

// The text with the keys whose values differ between `before` (what the text says) and
// `after` set, or removed when they become empty. Every other byte stays as it was; a new
// file gets a [General] section and Unix line ends.
QByteArray withTrackerConf(const QByteArray& content, const TrackerConf& before,
                           const TrackerConf& after);
// Reads the file at `path`, applies `change` to what it says and writes the keys that
// changed (a new file beside it, put in place when complete); false with `error` naming the
// file when it cannot be written. A value the file holds that does not read is replaced.
bool saveTrackerConf(const QString& path, const std::function<void(TrackerConf&)>& change,
                     QString* error);

// The conf as command-line arguments, leaving out the options named in `given` (the command
// line wins): callsign with latitude and longitude as --own, --gpsd, --kiss, --aprs-is with
// --login, --range, --unit, --expire.
QStringList confArguments(const TrackerConf& conf, const QStringList& given);
