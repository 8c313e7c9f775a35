#include "feed/AprsFields.h"

namespace feed::fields {

namespace {

constexpr int MaxAmbiguity = 4;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

enum class DigitsStatus { Ok, NotDigits, BadBlanks };

// Reads the digits at the given positions of text; blanks may stand for the last ones
// (position ambiguity). values[i] is 0 for a blank.
DigitsStatus readDigits(const char* text, const int* positions, int count, int* values,
                        int& blanks) {
    blanks = 0;
    for (int i = 0; i < count; ++i) {
        const char c = text[positions[i]];
        if (c == ' ') {
            ++blanks;
            values[i] = 0;
        } else if (isDigit(c)) {
            if (blanks > 0)
                return DigitsStatus::BadBlanks;
            values[i] = c - '0';
        } else {
            return DigitsStatus::NotDigits;
        }
    }
    return blanks > MaxAmbiguity ? DigitsStatus::BadBlanks : DigitsStatus::Ok;
}

AprsReject readUncompressed(const QByteArray& info, int offset, PositionReport& report) {
    const char* p = info.constData() + offset;
    // "DDMM.hhN" then the table, "DDDMM.hhW" then the code.
    static constexpr int latPositions[] = {0, 1, 2, 3, 5, 6};
    static constexpr int lonPositions[] = {0, 1, 2, 3, 4, 6, 7};
    int lat[6];
    int lon[7];
    int latBlanks = 0;
    int lonBlanks = 0;

    const DigitsStatus latStatus = readDigits(p, latPositions, 6, lat, latBlanks);
    if (latStatus == DigitsStatus::NotDigits || p[4] != '.' || (p[7] != 'N' && p[7] != 'S'))
        return AprsReject::BadLatitude;
    if (latStatus == DigitsStatus::BadBlanks)
        return AprsReject::BadAmbiguity;
    const char table = p[8];
    const char* q = p + 9;
    const DigitsStatus lonStatus = readDigits(q, lonPositions, 7, lon, lonBlanks);
    if (lonStatus == DigitsStatus::NotDigits || q[5] != '.' || (q[8] != 'E' && q[8] != 'W'))
        return AprsReject::BadLongitude;
    // The latitude sets the ambiguity of both; a longitude vaguer than its latitude
    // contradicts it.
    if (lonStatus == DigitsStatus::BadBlanks || lonBlanks > latBlanks)
        return AprsReject::BadAmbiguity;

    const int latDegrees = lat[0] * 10 + lat[1];
    const int latMinutes = lat[2] * 10 + lat[3];
    const int lonDegrees = lon[0] * 100 + lon[1] * 10 + lon[2];
    const int lonMinutes = lon[3] * 10 + lon[4];
    if (latMinutes >= 60)
        return AprsReject::BadLatitude;
    if (lonMinutes >= 60)
        return AprsReject::BadLongitude;
    const double latitude =
        ambiguousDegrees(latDegrees, latMinutes * 100 + lat[4] * 10 + lat[5], latBlanks);
    const double longitude =
        ambiguousDegrees(lonDegrees, lonMinutes * 100 + lon[5] * 10 + lon[6], latBlanks);
    if (latitude > 90.0)
        return AprsReject::BadLatitude;
    if (longitude > 180.0)
        return AprsReject::BadLongitude;
    if (!isSymbolTable(table) || !isSymbolCode(q[9]))
        return AprsReject::BadSymbolTable;

    report.latitude = p[7] == 'S' ? -latitude : latitude;
    report.longitude = q[8] == 'W' ? -longitude : longitude;
    report.ambiguity = latBlanks;
    report.symbolTable = QLatin1Char(table);
    report.symbolCode = QLatin1Char(q[9]);
    return AprsReject::None;
}

bool base91(const char* p, int count, long& value) {
    value = 0;
    for (int i = 0; i < count; ++i) {
        const int c = static_cast<unsigned char>(p[i]);
        if (c < 33 || c > 124)
            return false;
        value = value * 91 + (c - 33);
    }
    return true;
}

AprsReject readCompressed(const QByteArray& info, int offset, PositionReport& report) {
    const char* p = info.constData() + offset;
    char table = p[0];
    // In compressed form the overlay digits 0-9 travel as a-j.
    if (table >= 'a' && table <= 'j')
        table = static_cast<char>('0' + (table - 'a'));
    if (!isSymbolTable(table) || !isSymbolCode(p[9]))
        return AprsReject::BadSymbolTable;
    long y = 0;
    long x = 0;
    if (!base91(p + 1, 4, y) || !base91(p + 5, 4, x))
        return AprsReject::BadCompressed;
    const double latitude = 90.0 - static_cast<double>(y) / 380926.0;
    const double longitude = -180.0 + static_cast<double>(x) / 190463.0;
    if (latitude < -90.0 || latitude > 90.0)
        return AprsReject::BadLatitude;
    if (longitude < -180.0 || longitude > 180.0)
        return AprsReject::BadLongitude;
    report.latitude = latitude;
    report.longitude = longitude;
    report.ambiguity = 0;
    report.symbolTable = QLatin1Char(table);
    report.symbolCode = QLatin1Char(p[9]);
    return AprsReject::None;
}

} // namespace

bool isSymbolTable(char c) {
    return c == '/' || c == '\\' || isDigit(c) || (c >= 'A' && c <= 'Z');
}

bool isSymbolCode(char c) {
    return c >= '!' && c <= '~';
}

double ambiguousDegrees(int degrees, int minuteHundredths, int ambiguity) {
    // Width of the box in hundredths of a minute for 0..4 blank digits.
    static constexpr int box[] = {1, 10, 100, 1000, 6000};
    const int unit = box[ambiguity];
    int hundredths = minuteHundredths - minuteHundredths % unit;
    double value = degrees + hundredths / 6000.0;
    if (ambiguity > 0)
        value += unit / 2.0 / 6000.0;
    return value;
}

AprsReject checkTimestamp(const QByteArray& info, int offset) {
    if (info.size() < offset + TimestampLength)
        return AprsReject::Truncated;
    for (int i = 0; i < 6; ++i) {
        if (!isDigit(info[offset + i]))
            return AprsReject::BadTimestamp;
    }
    const char kind = info[offset + 6];
    if (kind != 'z' && kind != '/' && kind != 'h')
        return AprsReject::BadTimestamp;
    return AprsReject::None;
}

AprsReject readPosition(const QByteArray& info, int offset, PositionReport& report, int& length) {
    if (offset >= info.size())
        return AprsReject::Truncated;
    // An uncompressed latitude starts with a digit; a compressed position starts with its
    // symbol table, which is never a digit there (overlay digits are sent as a-j).
    if (isDigit(info[offset])) {
        if (info.size() < offset + UncompressedLength)
            return AprsReject::Truncated;
        length = UncompressedLength;
        return readUncompressed(info, offset, report);
    }
    if (info.size() < offset + CompressedLength)
        return AprsReject::Truncated;
    length = CompressedLength;
    return readCompressed(info, offset, report);
}

} // namespace feed::fields
