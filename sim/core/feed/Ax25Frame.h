#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace feed {

// One address of a packet. On the air the callsign is 1 to 6 upper-case letters and
// digits with a numeric SSID; APRS-IS text may carry longer names or a letter SSID
// ("DB0ABC-S"): such an address keeps its whole text in callsign and ssid stays 0.
struct Ax25Address {
    QString callsign;
    int ssid = 0;
    // For a digipeater: the has-been-repeated bit ("*" in text form).
    bool repeated = false;

    // "CALL" or "CALL-SSID"; SSID 0 is not written.
    QString text() const;
    bool operator==(const Ax25Address&) const = default;
};

// A UI frame (or an APRS-IS line) reduced to what APRS needs.
struct Ax25Frame {
    Ax25Address source;
    Ax25Address destination;
    QList<Ax25Address> path; // digipeaters, at most 8 on the air
    QByteArray info;

    bool operator==(const Ax25Frame&) const = default;
};

enum class Ax25Error {
    None,
    TooShort,     // fewer bytes than two addresses, control and PID
    BadAddress,   // a callsign byte that is not A-Z, 0-9 or a trailing blank
    NoAddressEnd, // no address with the last-address bit within ten addresses
    NotUi,        // control byte other than 0x03 (UI frame, P/F clear)
    NotAprs,      // PID other than 0xF0 (no layer 3)
};

QString ax25ErrorText(Ax25Error error);

struct Ax25Result {
    Ax25Frame frame;
    Ax25Error error = Ax25Error::None;
    bool ok() const { return error == Ax25Error::None; }
};

// Decodes the bytes of one frame as a KISS TNC hands them over (no flags, no FCS).
Ax25Result decodeAx25(const QByteArray& bytes);

// Builds the bytes of a UI frame; the addresses must be valid on the air (1-6 of A-Z 0-9,
// SSID 0-15, at most 8 digipeaters), or the result is empty.
QByteArray encodeAx25(const Ax25Frame& frame);

} // namespace feed
