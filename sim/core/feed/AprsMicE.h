#pragma once

#include "feed/AprsResult.h"
#include "feed/Ax25Frame.h"

namespace feed {

// Decodes a Mic-E packet (information field starting with "`" or "'"): latitude, message
// code and hemispheres from the six destination characters, longitude and symbol from the
// information field, the rest as comment. Fills everything but the name and sender.
AprsReject decodeMicE(const Ax25Frame& frame, PositionReport& report);

// The text of a Mic-E message code from the three message bits of the destination:
// bits is A*4 + B*2 + C; custom tells the custom set (A-K) from the standard one (P-Z).
QString micEMessageText(int bits, bool custom);

} // namespace feed
