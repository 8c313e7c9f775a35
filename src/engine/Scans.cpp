#include "engine/Scans.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <stdexcept>
#include <utility>

#include <QHash>

#include "engine/AlarmContext.h"
#include "engine/ContextAccess.h"
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

// Walks the host's list in index order. A host that answers a block of entries in one call
// (an out-of-process tracker, where each call is a bus round trip) is asked a block at a
// time, with the stations `wanted` for GetStation asked in one more call; everything else
// goes through the single calls. Either way the scan sees the same entries and answers in
// the same order, and it still lets events run between stations: a block is small enough
// to be answered within a few milliseconds.
class StationWalk {
public:
    static constexpr qint16 blockSize = 200;

    StationWalk(KestrelHost& host, std::function<bool(const QString&)> wanted)
        : m_host(host), m_wanted(std::move(wanted)) {}

    QString entry(qint16 index, qint16 count) {
        if (m_blocks && (index < m_first || index >= m_first + m_entries.size()))
            fetch(index, count);
        if (m_blocks)
            return m_entries.at(index - m_first);
        return m_host.StationListItem(index);
    }

    // GetStation for station.Callsign as the entry at `index` named it.
    bool getStation(qint16 index, KestrelStation& station) {
        if (m_blocks) {
            const auto it = m_fixes.constFind(index);
            if (it != m_fixes.constEnd() && it->first == station.Callsign) {
                if (!it->second)
                    return false;
                station.Longitude = it->second->Longitude;
                station.Latitude = it->second->Latitude;
                station.Distance = it->second->Distance;
                return true;
            }
        }
        return m_host.GetStation(station);
    }

private:
    void fetch(qint16 first, qint16 count) {
        const qint16 size = static_cast<qint16>(std::min<int>(blockSize, count - first));
        std::optional<QStringList> entries = m_host.StationListItems(first, size);
        m_fixes.clear();
        if (!entries) {
            m_blocks = false;
            return;
        }
        m_first = first;
        m_entries = std::move(*entries);
        // The host may have fewer entries than it counted: the walk ends at the empty text
        // that fills the block, as it does with the single call.
        m_entries.resize(size);

        QStringList callsigns;
        QList<qint16> indices;
        for (qsizetype i = 0; i < m_entries.size(); ++i) {
            const QString& text = m_entries.at(i);
            if (text.isEmpty() || text.indexOf(u' ', 1) < 0)
                break; // the walk stops here
            const QString callsign = callsignOf(text);
            if (m_wanted(callsign)) {
                callsigns.append(callsign);
                indices.append(static_cast<qint16>(first + i));
            }
        }
        if (callsigns.isEmpty())
            return;
        const auto answers = m_host.GetStations(callsigns);
        if (!answers)
            return; // single GetStation calls as the walk reaches each station
        for (qsizetype i = 0; i < indices.size(); ++i)
            m_fixes.insert(indices.at(i), {callsigns.at(i), answers->at(size_t(i))});
    }

    KestrelHost& m_host;
    std::function<bool(const QString&)> m_wanted;
    bool m_blocks = true;
    qint16 m_first = 0;
    QStringList m_entries;
    QHash<qint16, std::pair<QString, std::optional<KestrelStation>>> m_fixes;
};

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
        StationWalk walk(ctx.gKestrel,
                         [&ctx](const QString& callsign) { return callsign != ctx.ownCallsign; });
        for (qint16 i = 0; i < n; ++i) {
            const QString entry = walk.entry(i, n);
            if (entry.isEmpty())
                break;
            const QString callsign = callsignOf(entry);
            if (callsign != ctx.ownCallsign) {
                ctx.mStation.Callsign = callsign;
                if (walk.getStation(i, ctx.mStation)) {
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
        const auto watchedNow = [&ctx](const QString& callsign) {
            return ctx.lstWatch.contains(callsign) && !ctx.lstAcked.contains(callsign);
        };
        StationWalk walk(ctx.gKestrel, watchedNow);
        for (qint16 i = 0; i < n; ++i) {
            const QString entry = walk.entry(i, n);
            if (entry.isEmpty())
                break;
            const QString callsign = callsignOf(entry);
            // Asked again here: a command run between stations may have changed the lists.
            if (watchedNow(callsign)) {
                ctx.mStation.Callsign = callsign;
                if (walk.getStation(i, ctx.mStation)) {
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
