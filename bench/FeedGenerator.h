#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A made-up APRS-IS feed for the benchmarks: TNC2 lines as a server sends them, from a
// given number of distinct stations, in the mix a wide filter carries (plain and
// timestamped positions, compressed positions, Mic-E, objects, weather stations,
// third-party packets) with a fifth of the lines undecodable (status, messages,
// telemetry, broken positions, lines without a header). Seeded: the same arguments give
// the same feed.
namespace benchfeed {

struct GeneratedFeed {
    QList<QByteArray> lines;
    int stations = 0;  // distinct names among the decodable lines
    int decodable = 0; // lines meant to give a position
};

// `lines` lines naming `stations` distinct stations (each heard at least once when
// lines * 0.8 >= stations).
GeneratedFeed generateFeed(int stations, int lines, quint32 seed = 1);

// What our own decoder makes of a feed: lines that gave a position and the distinct names.
struct FeedCheck {
    int decoded = 0;
    int stations = 0;
};
FeedCheck decodeFeed(const QList<QByteArray>& lines);

// Writes the lines with CR LF ends; false when the file cannot be written.
bool writeFeed(const QString& path, const QList<QByteArray>& lines);

} // namespace benchfeed
