#pragma once

#include "feed/AprsResult.h"
#include "feed/Ax25Frame.h"

namespace feed {

// Decodes the position that an APRS packet carries: plain positions with or without a
// timestamp, compressed positions, Mic-E, objects, items and third-party packets. Any other
// packet, and any packet that breaks its format, is rejected with the reason; nothing is
// guessed. A pure function: no state, no I/O.
AprsResult decodeAprs(const Ax25Frame& frame);

} // namespace feed
