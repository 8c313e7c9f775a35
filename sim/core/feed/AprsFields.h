#pragma once

// Pieces of the APRS formats that several packet types share. Internal to the decoder.

#include <QByteArray>

#include "feed/AprsResult.h"

namespace feed::fields {

constexpr int TimestampLength = 7;
constexpr int UncompressedLength = 19; // DDMM.hhN/DDDMM.hhW$
constexpr int CompressedLength = 13;   // /YYYYXXXX$csT

// Checks a DDHHMMz, DDHHMM/ or HHMMSSh timestamp at offset. The time itself is not used:
// a tracker places a station when it hears it.
AprsReject checkTimestamp(const QByteArray& info, int offset);

// Reads an uncompressed or compressed position at offset into report (latitude,
// longitude, ambiguity, symbol) and sets length to the bytes it took.
AprsReject readPosition(const QByteArray& info, int offset, PositionReport& report, int& length);

// Degrees from whole degrees and minutes in hundredths (0..5999) with the given number of
// trailing digits left blank: the digits are cut and the middle of the box they span is
// taken, so the error is at most half the box either way.
double ambiguousDegrees(int degrees, int minuteHundredths, int ambiguity);

// "/", "\" or an overlay character 0-9, A-Z.
bool isSymbolTable(char c);
// A printable symbol code.
bool isSymbolCode(char c);

} // namespace feed::fields
