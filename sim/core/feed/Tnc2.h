#pragma once

#include <QByteArray>

#include "feed/Ax25Frame.h"

namespace feed {

// The text form of a packet that APRS-IS servers and many TNCs use:
// "SOURCE>DESTINATION,DIGI1,DIGI2*:information".

enum class Tnc2Error {
    None,
    NoHeader, // no ">" before the first ":"
    BadSource,
    BadDestination,
    BadPath,
};

struct Tnc2Result {
    Ax25Frame frame;
    Tnc2Error error = Tnc2Error::None;
    bool ok() const { return error == Tnc2Error::None; }
};

QString tnc2ErrorText(Tnc2Error error);

// Parses one line without its line end. An address is 1 to 9 letters, digits or "-";
// a digipeater may end in "*", which marks it and every digipeater before it as repeated.
// The information field is kept byte for byte.
Tnc2Result parseTnc2(const QByteArray& line);

// The text form of a frame; "*" follows the last repeated digipeater.
QByteArray formatTnc2(const Ax25Frame& frame);

} // namespace feed
