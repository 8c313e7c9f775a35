#pragma once

#include "engine/AlarmContext.h"
#include "engine/SharedRules.h"
#include "lists/MapMarks.h"

// What the scans and the tick read from the window's context, the same way everywhere.

// The radius as typed, read afresh on every call.
inline double radiusOf(const AlarmContext& ctx) {
    return ctx.radiusText ? numericValue(ctx.radiusText()) : 0.0;
}

// Lets pending window events run (commands and host events may act meanwhile).
inline void letEventsRun(const AlarmContext& ctx) {
    if (ctx.processEvents)
        ctx.processEvents();
}

// The host's map; a mark cannot be drawn without one.
inline KestrelMap& mapOf(const AlarmContext& ctx) {
    if (!ctx.mKestrelMap)
        throw MapMarkError(QStringLiteral("The host's map is not available."));
    return *ctx.mKestrelMap;
}
