#include "engine/Scans.h"

#include <stdexcept>

#include "engine/AlarmContext.h"
#include "engine/SharedRules.h"
#include "lists/MapMarks.h"

namespace {

// An entry text the callsign cannot be cut from; ends the pass like a host failure.
class EntryError final : public std::runtime_error {
public:
    EntryError() : std::runtime_error("station entry without a blank") {}
};

// The callsign of an entry text: from its second character up to the first blank after it,
// without one trailing "*".
QString callsignOf(const QString& entry) {
    const qsizetype blank = entry.indexOf(u' ', 1);
    if (blank < 0)
        throw EntryError();
    QString callsign = entry.mid(1, blank - 1);
    if (callsign.endsWith(u'*'))
        callsign.chop(1);
    return callsign;
}

double radiusOf(const AlarmContext& ctx) {
    return ctx.radiusText ? numericValue(ctx.radiusText()) : 0.0;
}

void letEventsRun(const AlarmContext& ctx) {
    if (ctx.processEvents)
        ctx.processEvents();
}

KestrelMap& mapOf(const AlarmContext& ctx) {
    if (!ctx.mKestrelMap)
        throw MapMarkError(QStringLiteral("The host's map is not available."));
    return *ctx.mKestrelMap;
}

void showMinimum(AlarmContext& ctx) {
    if (!ctx.setMinDistCaption)
        return;
    if (ctx.lstStations.count() > 0)
        ctx.setMinDistCaption(QStringLiteral("(minimum distance observed is ") +
                              distanceText(ctx.dblMinDist) + QLatin1Char(')'));
    else
        ctx.setMinDistCaption(QStringLiteral("No stations within alarm range"));
}

qint16 lineCount(const AlarmContext& ctx) {
    return static_cast<qint16>(ctx.lstStations.count());
}

} // namespace

qint16 scan_stations(AlarmContext& ctx) {
    ctx.lstStations.clear();
    ctx.dblMinDist = 99999.0;
    try {
        const qint16 n = ctx.gKestrel.StationCount();
        for (qint16 i = 0; i < n; ++i) {
            const QString entry = ctx.gKestrel.StationListItem(i);
            if (entry.isEmpty())
                break;
            const QString callsign = callsignOf(entry);
            if (callsign != ctx.ownCallsign) {
                ctx.mStation.Callsign = callsign;
                if (ctx.gKestrel.GetStation(ctx.mStation)) {
                    const double d = ctx.mStation.Distance;
                    if (d < radiusOf(ctx)) {
                        if (ctx.lstAcked.contains(callsign)) {
                            MarkStation(mapOf(ctx), ctx.mStation.Longitude, ctx.mStation.Latitude,
                                        kColourGreen);
                        } else {
                            if (d < ctx.dblMinDist)
                                ctx.dblMinDist = d;
                            ctx.lstStations.add(callsign + QStringLiteral(" distance ") +
                                                distanceText(d));
                            MarkStation(mapOf(ctx), ctx.mStation.Longitude, ctx.mStation.Latitude,
                                        kColourRed);
                        }
                    }
                }
            }
            letEventsRun(ctx);
        }
        letEventsRun(ctx);
        showMinimum(ctx);
        return lineCount(ctx);
    } catch (...) {
        // The pass ends quietly: the next tick tries again.
        return 0;
    }
}

qint16 scan_watchlist(AlarmContext& ctx) {
    try {
        const qint16 n = ctx.gKestrel.StationCount();
        for (qint16 i = 0; i < n; ++i) {
            const QString entry = ctx.gKestrel.StationListItem(i);
            if (entry.isEmpty())
                break;
            const QString callsign = callsignOf(entry);
            if (ctx.lstWatch.contains(callsign) && !ctx.lstAcked.contains(callsign)) {
                ctx.mStation.Callsign = callsign;
                if (ctx.gKestrel.GetStation(ctx.mStation)) {
                    const double d = ctx.mStation.Distance;
                    if (d < ctx.dblMinDist)
                        ctx.dblMinDist = d;
                    ctx.lstStations.add(callsign + QStringLiteral(" (watch) ") + distanceText(d));
                }
            }
            letEventsRun(ctx);
        }
        showMinimum(ctx);
        return lineCount(ctx);
    } catch (...) {
        return 0;
    }
}
