// feed_generator FILE [STATIONS [LINES]]: writes a made-up APRS-IS feed for
// `kestrel32 --replay FILE` and says what our decoder makes of it.
#include <cstdio>

#include <QCoreApplication>
#include <QStringList>

#include "FeedGenerator.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2 || args.size() > 4) {
        std::fputs("usage: feed_generator FILE [STATIONS [LINES]]\n", stderr);
        return 2;
    }
    const int stations = args.size() > 2 ? args[2].toInt() : 40000;
    const int lines = args.size() > 3 ? args[3].toInt() : stations * 2;
    if (stations <= 0 || lines <= 0) {
        std::fputs("feed_generator: STATIONS and LINES are positive numbers\n", stderr);
        return 2;
    }
    const benchfeed::GeneratedFeed feed = benchfeed::generateFeed(stations, lines);
    if (!benchfeed::writeFeed(args[1], feed.lines)) {
        std::fprintf(stderr, "feed_generator: cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    const benchfeed::FeedCheck check = benchfeed::decodeFeed(feed.lines);
    std::printf("%lld lines, %d decode (%d meant to), %d distinct stations (%d meant to)\n",
                static_cast<long long>(feed.lines.size()), check.decoded, feed.decodable,
                check.stations, feed.stations);
    return check.decoded == feed.decodable && check.stations == feed.stations ? 0 : 1;
}
