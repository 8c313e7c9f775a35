#pragma once

#include <QString>

#include "feed/PositionReport.h"

namespace feed {

// Why a packet gave no position. Every reason is counted by the links.
enum class AprsReject {
    None,
    Empty,              // no information field
    NoPosition,         // a kind of packet that carries no position (status, message, ...)
    Truncated,          // shorter than its format needs
    BadLatitude,        // not DDMM.hhN, or beyond 90 degrees
    BadLongitude,       // not DDDMM.hhE, or beyond 180 degrees
    BadAmbiguity,       // blanks that are not a run of trailing digits
    BadSymbolTable,     // a symbol table that is neither "/", "\" nor an overlay
    BadTimestamp,       // not six digits and z, h or /
    BadCompressed,      // a base-91 byte out of range
    BadMicEDestination, // a destination that is not six Mic-E characters
    BadMicEInformation, // longitude bytes out of range
    BadName,            // a callsign, object or item name we will not store
    BadObject,          // no "*" / "_" (object) or "!" / "_" (item) after the name
    BadThirdParty,      // a "}" packet whose inner header does not parse
};
inline constexpr int AprsRejectCount = static_cast<int>(AprsReject::BadThirdParty) + 1;

// A short English text for a status line or a log.
QString aprsRejectText(AprsReject reason);

// Either a report or the reason there is none (for BadName, the report holds the name).
struct AprsResult {
    PositionReport report;
    AprsReject reject = AprsReject::None;

    bool ok() const { return reject == AprsReject::None; }
    static AprsResult failure(AprsReject reason) {
        AprsResult r;
        r.reject = reason;
        return r;
    }
};

} // namespace feed
