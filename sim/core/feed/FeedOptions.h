#pragma once

#include <optional>

#include <QString>
#include <QStringList>

class QCommandLineParser;

namespace feed {

// The own station given on the command line; it wins over a scenario's.
struct OwnStation {
    QString callsign;
    double latitude = 0.0;
    double longitude = 0.0;
    // False for a callsign alone (--own CALL with --gpsd): the position comes from the GPS.
    bool hasPosition = true;
};

// What the command line asks of the radio feed.
struct FeedOptions {
    static constexpr double DefaultExpireMinutes = 60.0;
    // The APRS-IS range filter round the own station when no --filter is given.
    static constexpr int DefaultRangeKm = 100;

    QString kissHost;
    quint16 kissPort = 0; // 0: no KISS link
    QString aprsIsHost;
    quint16 aprsIsPort = 0; // 0: no APRS-IS link
    QString login;
    int passcode = -1; // -1: receive only (from the settings file; never an option)
    QString filter;    // empty: the range round the own station
    int rangeKm = DefaultRangeKm;
    QString gpsdHost;
    quint16 gpsdPort = 0; // 0: the own position does not come from gpsd
    std::optional<OwnStation> own;
    double expireMinutes = DefaultExpireMinutes;
    QString replayFile; // empty: no replay
    int replayRate = 0; // lines a second; 0: as fast as they decode

    bool anyLink() const {
        return kissPort != 0 || aprsIsPort != 0 || gpsdPort != 0 || !replayFile.isEmpty();
    }
};

// Adds --kiss, --aprs-is, --login, --filter, --range, --gpsd, --own, --expire, --replay and
// --rate to a parser.
void addFeedOptions(QCommandLineParser& parser);
// Reads those options once the parser has parsed; false with `error` (a sentence without
// the program name) when a value cannot be used.
bool readFeedOptions(const QCommandLineParser& parser, FeedOptions& options, QString& error);
// --gpsd may come without its address: gives it gpsd's usual one, so that the parser,
// which knows no optional values, can read it.
QStringList withGpsdAddress(QStringList arguments);

} // namespace feed
