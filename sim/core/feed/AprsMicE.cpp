#include "feed/AprsMicE.h"

#include "feed/AprsFields.h"
#include "feed/AprsText.h"

namespace feed {

namespace {

constexpr int DestinationLength = 6;
constexpr int MinInfoLength = 9; // type, 3 longitude, 3 speed/course, code, table

enum class BitKind { Zero, Standard, Custom };

struct DestinationChar {
    int digit = 0; // 0-9, or -1 for a blank (ambiguity)
    BitKind bit = BitKind::Zero;
    bool flag = false; // north / +100 / west, for characters 4, 5 and 6
};

// The encoding table of the destination characters. A-K carry custom message bits and
// may stand only in the first three places; elsewhere they are not defined.
bool readDestinationChar(char c, int place, DestinationChar& out) {
    if (c >= '0' && c <= '9') {
        out = {c - '0', BitKind::Zero, false};
    } else if (c == 'L') {
        out = {-1, BitKind::Zero, false};
    } else if (c >= 'P' && c <= 'Y') {
        out = {c - 'P', BitKind::Standard, true};
    } else if (c == 'Z') {
        out = {-1, BitKind::Standard, true};
    } else if (place < 3 && c >= 'A' && c <= 'J') {
        out = {c - 'A', BitKind::Custom, false};
    } else if (place < 3 && c == 'K') {
        out = {-1, BitKind::Custom, false};
    } else {
        return false;
    }
    return true;
}

} // namespace

QString micEMessageText(int bits, bool custom) {
    static const char* const standard[] = {"Off Duty",  "En Route", "In Service", "Returning",
                                           "Committed", "Special",  "Priority"};
    if (bits == 0)
        return QStringLiteral("Emergency");
    const int code = 7 - bits; // 111 is M0 / C0, 001 is M6 / C6
    if (custom)
        return QStringLiteral("Custom-%1").arg(code);
    return QString::fromLatin1(standard[code]);
}

AprsReject decodeMicE(const Ax25Frame& frame, PositionReport& report) {
    const QString& dest = frame.destination.callsign;
    if (dest.size() != DestinationLength)
        return AprsReject::BadMicEDestination;
    DestinationChar chars[DestinationLength];
    for (int i = 0; i < DestinationLength; ++i) {
        const char16_t u = dest[i].unicode();
        if (u > 127 || !readDestinationChar(static_cast<char>(u), i, chars[i]))
            return AprsReject::BadMicEDestination;
    }
    // Blanks may only stand for the last digits, at most four of them.
    int ambiguity = 0;
    for (int i = 0; i < DestinationLength; ++i) {
        if (chars[i].digit < 0)
            ++ambiguity;
        else if (ambiguity > 0)
            return AprsReject::BadAmbiguity;
    }
    if (ambiguity > 4)
        return AprsReject::BadAmbiguity;
    auto digit = [&](int i) { return chars[i].digit < 0 ? 0 : chars[i].digit; };
    const int latDegrees = digit(0) * 10 + digit(1);
    const int latMinutes = digit(2) * 10 + digit(3);
    if (latMinutes >= 60)
        return AprsReject::BadLatitude;

    const QByteArray& info = frame.info;
    if (info.size() < MinInfoLength)
        return AprsReject::Truncated;
    auto byte = [&](int i) { return static_cast<int>(static_cast<unsigned char>(info[i])); };
    // Each value travels plus 28 and only in these ranges; outside them the byte is noise,
    // even where the arithmetic below would still give a plausible number.
    if (byte(1) < 38 || byte(1) > 127 || byte(2) < 38 || byte(2) > 97 || byte(3) < 28 ||
        byte(3) > 127)
        return AprsReject::BadMicEInformation;
    int lonDegrees = byte(1) - 28;
    if (chars[4].flag)
        lonDegrees += 100;
    if (lonDegrees >= 180 && lonDegrees <= 189)
        lonDegrees -= 80;
    else if (lonDegrees >= 190 && lonDegrees <= 199)
        lonDegrees -= 190;
    int lonMinutes = byte(2) - 28;
    if (lonMinutes >= 60)
        lonMinutes -= 60;
    const int lonHundredths = byte(3) - 28;

    const double latitude = fields::ambiguousDegrees(
        latDegrees, latMinutes * 100 + digit(4) * 10 + digit(5), ambiguity);
    const double longitude =
        fields::ambiguousDegrees(lonDegrees, lonMinutes * 100 + lonHundredths, ambiguity);
    if (latitude > 90.0)
        return AprsReject::BadLatitude;

    const char code = info[7];
    const char table = info[8];
    if (!fields::isSymbolTable(table) || !fields::isSymbolCode(code))
        return AprsReject::BadSymbolTable;

    bool anyStandard = false;
    bool anyCustom = false;
    int bits = 0;
    for (int i = 0; i < 3; ++i) {
        bits = bits * 2 + (chars[i].bit == BitKind::Zero ? 0 : 1);
        anyStandard = anyStandard || chars[i].bit == BitKind::Standard;
        anyCustom = anyCustom || chars[i].bit == BitKind::Custom;
    }
    report.micEMessage =
        anyStandard && anyCustom ? QStringLiteral("Unknown") : micEMessageText(bits, anyCustom);
    report.latitude = chars[3].flag ? latitude : -latitude;
    report.longitude = chars[5].flag ? -longitude : longitude;
    report.ambiguity = ambiguity;
    report.symbolTable = QLatin1Char(table);
    report.symbolCode = QLatin1Char(code);
    report.comment = cleanComment(info.mid(MinInfoLength));
    return AprsReject::None;
}

} // namespace feed
