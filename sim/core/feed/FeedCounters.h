#pragma once

#include <array>

#include <QtGlobal>

#include "feed/AprsResult.h"

namespace feed {

// What a link made of its input since it was created; for a status line and for tests.
struct FeedCounters {
    quint64 decoded = 0;     // position reports handed on
    quint64 badFrames = 0;   // frames or lines that are not a valid packet (AX.25, TNC2)
    quint64 dropped = 0;     // input thrown away before decoding (oversize, broken escapes, ...)
    quint64 serverLines = 0; // APRS-IS "#" lines
    std::array<quint64, AprsRejectCount> byReason{}; // packets without a usable position

    void countReject(AprsReject reason) { ++byReason[static_cast<int>(reason)]; }
    quint64 rejectedFor(AprsReject reason) const { return byReason[static_cast<int>(reason)]; }
    // Everything that arrived and gave no report.
    quint64 rejected() const {
        quint64 sum = badFrames + dropped;
        for (const quint64 n : byReason)
            sum += n;
        return sum;
    }
};

} // namespace feed
