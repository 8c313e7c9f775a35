#include "FeedGenerator.h"

#include <algorithm>
#include <cmath>
#include <random>

#include <QFile>
#include <QSet>

#include "feed/AprsDecoder.h"
#include "feed/Tnc2.h"

namespace benchfeed {

namespace {

constexpr int NoisePercent = 20;

QByteArray callsign(int station) {
    QByteArray call = "K";
    call += char('0' + (station / 17576) % 10);
    for (int n = station, i = 0; i < 3; ++i, n /= 26)
        call += char('A' + n % 26);
    if (station >= 175760)
        call += "-" + QByteArray::number(station / 175760);
    return call;
}

// Object names are distinct from every callsign: they start with a digit.
QByteArray objectName(int station) {
    return ("9OBJ" + QByteArray::number(station, 36).toUpper()).leftJustified(9, ' ');
}

struct Position {
    double lat;
    double lon;
};

// Stations cluster where people are, but anywhere on the map will do for a decoder.
Position placeOf(int station, quint32 seed) {
    std::mt19937 random(seed * 7919u + quint32(station));
    std::uniform_real_distribution<double> lat(-55.0, 70.0), lon(-179.0, 179.0);
    return {lat(random), lon(random)};
}

QByteArray twoDigits(int n) {
    return QByteArray::number(n).rightJustified(2, '0');
}

// "DDMM.hhN/DDDMM.hhW" with the table between and the symbol code after.
QByteArray uncompressed(Position p, char table, char code) {
    auto part = [](double value, int degreeDigits) {
        const int hundredths = static_cast<int>(std::lround(std::fabs(value) * 6000.0));
        const int degrees = hundredths / 6000;
        const int minutes = hundredths % 6000;
        return QByteArray::number(degrees).rightJustified(degreeDigits, '0') +
               twoDigits(minutes / 100) + "." + twoDigits(minutes % 100);
    };
    return part(p.lat, 2) + (p.lat < 0 ? "S" : "N") + table + part(p.lon, 3) +
           (p.lon < 0 ? "W" : "E") + code;
}

QByteArray base91(long value) {
    QByteArray out(4, '!');
    for (int i = 3; i >= 0; --i, value /= 91)
        out[i] = char(33 + value % 91);
    return out;
}

QByteArray compressed(Position p) {
    return "/" + base91(std::lround(380926.0 * (90.0 - p.lat))) +
           base91(std::lround(190463.0 * (180.0 + p.lon))) + ">" + "!!T";
}

// The destination carries latitude and flags, the information field the longitude.
QByteArray micE(const QByteArray& source, Position p) {
    const int latHundredths = static_cast<int>(std::lround(std::fabs(p.lat) * 6000.0));
    const QByteArray lat = twoDigits(latHundredths / 6000) + twoDigits(latHundredths % 6000 / 100) +
                           twoDigits(latHundredths % 100);
    int lonHundredths = static_cast<int>(std::lround(std::fabs(p.lon) * 6000.0));
    // Hundredths travel plus 28: keep them clear of the control characters below 32.
    lonHundredths = lonHundredths - lonHundredths % 100 + std::clamp(lonHundredths % 100, 4, 98);
    const int d = lonHundredths / 6000;
    const int m = lonHundredths % 6000 / 100;
    const bool offset = d < 10 || d >= 100;
    QByteArray dest;
    for (int i = 0; i < 6; ++i) {
        const bool flag =
            i < 3 || (i == 3 && p.lat >= 0) || (i == 4 && offset) || (i == 5 && p.lon < 0);
        dest += flag ? char('P' + (lat[i] - '0')) : lat[i];
    }
    const int degreeByte = d < 10 ? d + 118 : d < 100 ? d + 28 : d < 110 ? d + 8 : d - 72;
    const int minuteByte = m < 10 ? m + 88 : m + 28;
    QByteArray info = "`";
    info += char(degreeByte);
    info += char(minuteByte);
    info += char(lonHundredths % 100 + 28);
    info += "l\"5>/]mobile=";
    return source + ">" + dest + ",WIDE1-1,qAR,IGATE1:" + info;
}

QByteArray decodableLine(int station, int serial, quint32 seed) {
    const QByteArray call = callsign(station);
    Position p = placeOf(station, seed);
    p.lat += (serial % 7) * 0.001; // a station moves a little between reports
    const QByteArray gated = call + ">APRS,TCPIP*,qAC,T2EDGE:";
    switch (station % 10) {
    case 0:
    case 1:
        return gated + "!" + uncompressed(p, '/', '-') + "Home station " +
               QByteArray::number(serial);
    case 2:
        return call + ">APRS,WIDE2-1,qAR,IGATE2:@" + twoDigits(serial % 28 + 1) + "2345z" +
               uncompressed(p, '/', '>') + "088/036/A=001234";
    case 3:
        return gated + "=" + compressed(p) + "compressed";
    case 4:
    case 5:
        return micE(call, p);
    case 6:
        return "K0OBJ>APRS,TCPIP*,qAC,T2EDGE:;" + objectName(station) + "*092345z" +
               uncompressed(p, '/', 'E') + "event";
    case 7:
        return gated + "@092345z" + uncompressed(p, '/', '_') +
               "220/004g005t077r000p000P000h50b09900";
    default:
        return "IGATE3>APRS,TCPIP*,qAS,IGATE3:}" + call + ">APRS,TCPIP,IGATE3*:!" +
               uncompressed(p, '\\', 'k') + "via gateway";
    }
}

// Lines our decoder must refuse, in the kinds a full feed carries.
QByteArray noiseLine(int serial) {
    const QByteArray call = callsign(serial % 1000) + "-15";
    switch (serial % 8) {
    case 0:
        return call + ">APRS,TCPIP*,qAC,T2EDGE:>Net tonight at 8 pm";
    case 1:
        return call + ">APRS,TCPIP*,qAC,T2EDGE::K0ABC    :See you there{12";
    case 2:
        return call + ">APRS,TCPIP*,qAC,T2EDGE:T#005,199,000,255,073,123,01101001";
    case 3:
        return call + ">APRS,TCPIP*,qAC,T2EDGE:_10090556c220s004g005t077r000p000";
    case 4:
        return call + ">APRS,TCPIP*,qAC,T2EDGE:!9903.50N/07201.75W-over the pole";
    case 5:
        return call + ">APRS,TCPIP*,qAC,T2EDGE:`(_f"; // Mic-E without a Mic-E destination
    case 6:
        return "a line that lost its header " + QByteArray::number(serial);
    default:
        return call + ">APRS,TCPIP*,qAC,T2EDGE:<IGATE,MSG_CNT=12,LOC_CNT=40";
    }
}

} // namespace

GeneratedFeed generateFeed(int stations, int lines, quint32 seed) {
    GeneratedFeed feed;
    const int noise = lines * NoisePercent / 100;
    feed.decodable = lines - noise;
    std::vector<char> isNoise(static_cast<size_t>(lines), 0);
    std::fill(isNoise.begin(), isNoise.begin() + noise, 1);
    std::mt19937 random(seed);
    std::shuffle(isNoise.begin(), isNoise.end(), random);
    feed.lines.reserve(lines);
    int heard = 0;
    int noiseSerial = 0;
    for (int i = 0; i < lines; ++i) {
        if (isNoise[static_cast<size_t>(i)]) {
            feed.lines << noiseLine(noiseSerial++);
        } else {
            feed.lines << decodableLine(heard % stations, heard / stations, seed);
            ++heard;
        }
    }
    feed.stations = std::min(stations, feed.decodable);
    return feed;
}

FeedCheck decodeFeed(const QList<QByteArray>& lines) {
    FeedCheck check;
    QSet<QString> names;
    for (const QByteArray& line : lines) {
        const feed::Tnc2Result tnc2 = feed::parseTnc2(line);
        if (!tnc2.ok())
            continue;
        const feed::AprsResult result = feed::decodeAprs(tnc2.frame);
        if (!result.ok())
            continue;
        ++check.decoded;
        names.insert(result.report.name);
    }
    check.stations = static_cast<int>(names.size());
    return check;
}

bool writeFeed(const QString& path, const QList<QByteArray>& lines) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    for (const QByteArray& line : lines) {
        if (file.write(line) != line.size() || file.write("\r\n", 2) != 2)
            return false;
    }
    return file.flush();
}

} // namespace benchfeed
