#include "feed/FeedOptions.h"

#include <cmath>

#include <QCommandLineParser>

#include "feed/AprsText.h"
#include "feed/HostPort.h"

namespace feed {

namespace {

const QString Kiss = QStringLiteral("kiss");
const QString AprsIs = QStringLiteral("aprs-is");
const QString Login = QStringLiteral("login");
const QString Filter = QStringLiteral("filter");
const QString Own = QStringLiteral("own");
const QString Expire = QStringLiteral("expire");
const QString Range = QStringLiteral("range");
const QString Gpsd = QStringLiteral("gpsd");
const QString DefaultGpsd = QStringLiteral("127.0.0.1:2947");
const QString Replay = QStringLiteral("replay");
const QString Rate = QStringLiteral("rate");

bool readNumber(const QString& text, double low, double high, double& out) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < low || value > high)
        return false;
    out = value;
    return true;
}

bool readReplay(const QCommandLineParser& parser, FeedOptions& o, QString& error) {
    if (parser.isSet(Rate) && !parser.isSet(Replay)) {
        error = QStringLiteral("--rate goes with --replay");
        return false;
    }
    o.replayFile = parser.value(Replay);
    if (parser.isSet(Replay) && o.replayFile.isEmpty()) {
        error = QStringLiteral("--replay needs a file name");
        return false;
    }
    bool ok = true;
    if (parser.isSet(Rate))
        o.replayRate = parser.value(Rate).trimmed().toInt(&ok);
    if (!ok || o.replayRate < 0) {
        error = QStringLiteral("--rate needs a number of lines a second (0 or more), not '%1'")
                    .arg(parser.value(Rate));
        return false;
    }
    return true;
}

} // namespace

void addFeedOptions(QCommandLineParser& parser) {
    parser.addOptions({
        {Kiss,
         QStringLiteral("Hears stations from a KISS TNC over TCP, such as Dire Wolf "
                        "(HOST:PORT, Dire Wolf's default port is 8001)."),
         QStringLiteral("HOST:PORT")},
        {AprsIs, QStringLiteral("Hears stations from an APRS-IS server, read-only (HOST:PORT)."),
         QStringLiteral("HOST:PORT")},
        {Login, QStringLiteral("Callsign for the APRS-IS login (needed with --aprs-is)."),
         QStringLiteral("CALL")},
        {Filter,
         QStringLiteral("APRS-IS server filter (default: r/LAT/LON/RANGE round the own "
                        "station, kept in step as it moves)."),
         QStringLiteral("FILTER")},
        {Range,
         QStringLiteral("Radius of the default APRS-IS filter in kilometres (default %1).")
             .arg(FeedOptions::DefaultRangeKm),
         QStringLiteral("KM")},
        {Gpsd,
         QStringLiteral("Takes the own position from gpsd (HOST:PORT, default %1); then --own "
                        "may give the callsign alone.")
             .arg(DefaultGpsd),
         QStringLiteral("HOST:PORT")},
        {Own,
         QStringLiteral("The own station: callsign and position in decimal degrees, north and "
                        "east positive; wins over the scenario's own station."),
         QStringLiteral("CALL[,LAT,LON]")},
        {Expire,
         QStringLiteral("Stations not heard for MINUTES leave the list (default %1).")
             .arg(FeedOptions::DefaultExpireMinutes),
         QStringLiteral("MINUTES")},
        {Replay,
         QStringLiteral("Plays a file of TNC2 lines as an APRS-IS server sends them, through "
                        "the same decoder (a recorded or generated feed)."),
         QStringLiteral("FILE")},
        {Rate, QStringLiteral("Lines a second for --replay (default 0: as fast as they decode)."),
         QStringLiteral("N")},
    });
}

bool readFeedOptions(const QCommandLineParser& parser, FeedOptions& options, QString& error) {
    for (const QString& name :
         {Kiss, AprsIs, Login, Filter, Own, Expire, Range, Gpsd, Replay, Rate}) {
        if (parser.values(name).size() > 1) {
            error = QStringLiteral("--%1 given more than once").arg(name);
            return false;
        }
    }
    FeedOptions o;
    if (parser.isSet(Kiss) && !parseHostPort(parser.value(Kiss), o.kissHost, o.kissPort)) {
        error = QStringLiteral("--kiss needs HOST:PORT, not '%1'").arg(parser.value(Kiss));
        return false;
    }
    if (parser.isSet(AprsIs) && !parseHostPort(parser.value(AprsIs), o.aprsIsHost, o.aprsIsPort)) {
        error = QStringLiteral("--aprs-is needs HOST:PORT, not '%1'").arg(parser.value(AprsIs));
        return false;
    }
    if (parser.isSet(Gpsd) && !parseHostPort(parser.value(Gpsd), o.gpsdHost, o.gpsdPort)) {
        error = QStringLiteral("--gpsd needs HOST:PORT, not '%1'").arg(parser.value(Gpsd));
        return false;
    }
    if (parser.isSet(Range)) {
        bool ok = false;
        o.rangeKm = parser.value(Range).trimmed().toInt(&ok);
        if (!ok || o.rangeKm < 1 || o.rangeKm > 20000) {
            error = QStringLiteral("--range needs a whole number of kilometres from 1 to 20000, "
                                   "not '%1'")
                        .arg(parser.value(Range));
            return false;
        }
    }
    if (o.aprsIsPort != 0 && !parser.isSet(Login)) {
        error = QStringLiteral("--aprs-is needs --login CALL");
        return false;
    }
    if (o.aprsIsPort == 0 && (parser.isSet(Login) || parser.isSet(Filter))) {
        error =
            QStringLiteral("--%1 goes with --aprs-is").arg(parser.isSet(Login) ? Login : Filter);
        return false;
    }
    if (parser.isSet(Login)) {
        o.login = parser.value(Login);
        if (!isLoginCallsign(o.login)) {
            error = QStringLiteral("--login needs a callsign of letters, digits and '-', not '%1'")
                        .arg(o.login);
            return false;
        }
    }
    if (parser.isSet(Filter)) {
        o.filter = parser.value(Filter);
        for (const QChar c : o.filter) {
            if (c.unicode() < 0x20 || c.unicode() >= 0x7F) {
                error = QStringLiteral("--filter may hold printable ASCII only");
                return false;
            }
        }
        o.filter = o.filter.trimmed();
    }
    if (parser.isSet(Own)) {
        const QStringList parts = parser.value(Own).split(QLatin1Char(','));
        OwnStation own;
        own.hasPosition = parts.size() != 1;
        if (!own.hasPosition && o.gpsdPort == 0) {
            error = QStringLiteral("--own CALL without a position needs --gpsd");
            return false;
        }
        if (!isStorableName(parts[0])) {
            error = QStringLiteral("--own: ") + unusableNameText(parts[0]);
            return false;
        }
        if (own.hasPosition &&
            (parts.size() != 3 || !readNumber(parts[1], -90.0, 90.0, own.latitude) ||
             !readNumber(parts[2], -180.0, 180.0, own.longitude))) {
            error = QStringLiteral("--own needs CALL,LAT,LON (degrees, north and east "
                                   "positive), not '%1'")
                        .arg(parser.value(Own));
            return false;
        }
        own.callsign = parts[0];
        o.own = own;
    }
    if (parser.isSet(Expire) && !readNumber(parser.value(Expire), 0.0, 1e7, o.expireMinutes)) {
        error = QStringLiteral("--expire needs a number of minutes, not '%1'")
                    .arg(parser.value(Expire));
        return false;
    }
    if (o.expireMinutes <= 0.0) {
        error = QStringLiteral("--expire needs more than 0 minutes");
        return false;
    }
    if (!readReplay(parser, o, error))
        return false;
    options = o;
    return true;
}

QStringList withGpsdAddress(QStringList arguments) {
    const QString option = QStringLiteral("--") + Gpsd;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == option &&
            (i + 1 == arguments.size() || arguments[i + 1].startsWith(QLatin1Char('-'))))
            arguments.insert(i + 1, DefaultGpsd);
    }
    return arguments;
}

} // namespace feed
