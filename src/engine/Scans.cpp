// The passes of a tick over the host's station list and the overlay objects.
#include "engine/AlarmEngine.h"

#include <algorithm>

#include "engine/AlarmWalk.h"
#include "engine/MapMarks.h"
#include "host/HostCursor.h"
#include "host/KestrelHost.h"
#include "numbers/NumericText.h"

void AlarmEngine::showMinimum() {
    if (m_alarmLines.count() > 0)
        emit minDistCaptionChanged(QStringLiteral("(minimum distance observed is ") +
                                   distanceText(m_dblMinDist) + QLatin1Char(')'));
    else
        emit minDistCaptionChanged(QStringLiteral("No stations within alarm range"));
}

void AlarmEngine::walkStations(std::function<WantedStations()> wanted,
                               std::function<void(const QString&)> found,
                               std::function<void(bool)> done) {
    auto walk = std::make_unique<Walk>();
    walk->wanted = std::move(wanted);
    walk->found = std::move(found);
    walk->done = std::move(done);
    walk->wantedAtStart = walk->wanted();
    try {
        walk->cursor = std::make_unique<HostCursor>(m_host, walk->wantedAtStart);
    } catch (const HostError& error) {
        if (error.kind() == HostError::Kind::Unreachable)
            throw; // the tracker is gone: the tick ends here
        later([done = walk->done] { done(false); });
        return;
    }
    connect(walk->cursor.get(), &HostCursor::blockReady, this, [this](const HostBlock& block) {
        // Handled from the event loop, not inside the host's answer.
        m_walk->block = &block;
        later([this] { walkBlock(); });
    });
    m_walk = std::move(walk);
    nextBlock();
}

void AlarmEngine::nextBlock() {
    Walk& walk = *m_walk;
    if (walk.index < walk.cursor->count()) {
        walk.block = walk.cursor->next(walk.index);
        if (walk.block)
            walkBlock();
        return;
    }
    walk.through = true;
    finishBlock();
}

void AlarmEngine::walkBlock() {
    Walk& walk = *m_walk;
    const HostBlock& block = *std::exchange(walk.block, nullptr);
    const qint16 n = walk.cursor->count();
    try {
        // What the operator's commands left the lists wanting, for this block's stations
        // and the blocks asked from now on.
        const WantedStations wanted = walk.wanted();
        if (walk.wantedChanged || !(wanted == walk.wantedAtStart)) {
            walk.wantedChanged = true;
            walk.cursor->setWanted(wanted);
        }
        const std::vector<HostEntry>& entries = block.entries();
        for (size_t i = size_t(walk.index - block.first()); i < entries.size() && walk.index < n;
             ++i, ++walk.index) {
            const HostEntry& entry = entries[i];
            if (entry.kind == HostEntry::Kind::End) {
                walk.through = true;
                break;
            }
            if (entry.kind == HostEntry::Kind::Uncut)
                callsignOfEntry(entry.text); // says why the walk ends here
            // Unless a command changed the lists, the block chose its stations as they stand.
            const bool wantedNow = walk.wantedChanged ? wanted.wants(entry.text) : entry.wanted;
            if (wantedNow && fixOf(entry))
                walk.found(entry.text);
        }
        if (!walk.through && block.failure())
            std::rethrow_exception(block.failure());
        walk.through = walk.through || walk.index >= n;
    } catch (...) {
        walk.stopped = std::current_exception();
    }
    // The walk waits for the map only when it draws rings.
    if (!walk.pending.empty() &&
        (walk.through || walk.stopped || walk.pending.size() >= kRingsToDrawTogether))
        flushRings();
    else
        finishBlock();
}

bool AlarmEngine::fixOf(const HostEntry& entry) {
    m_station.Callsign = entry.text;
    if (!entry.fixAsked)
        // Wanted only since its block was asked.
        return m_host.GetStation(m_station);
    if (!entry.fix)
        return false;
    m_station.Longitude = entry.fix->Longitude;
    m_station.Latitude = entry.fix->Latitude;
    m_station.Distance = entry.fix->Distance;
    return true;
}

void AlarmEngine::finishBlock() {
    Walk& walk = *m_walk;
    if (walk.stopped) {
        try {
            std::rethrow_exception(walk.stopped);
        } catch (const HostError& error) {
            if (error.kind() == HostError::Kind::Unreachable)
                throw; // the tracker is gone: the tick ends here, not after a wait per call
        } catch (...) {
        }
    } else if (!walk.through) {
        // Back to the event loop between blocks, so that commands and host events act.
        later([this] { nextBlock(); });
        return;
    }
    const std::function<void(bool)> done = std::move(walk.done);
    const bool through = !walk.stopped;
    m_walk.reset();
    done(through);
}

void AlarmEngine::flushRings() {
    Walk& walk = *m_walk;
    std::vector<KestrelMap::StationRing> rings;
    rings.reserve(walk.pending.size());
    for (const Walk::PendingRing& pending : walk.pending)
        rings.push_back(pending.ring);
    try {
        walk.rings = map().drawStationRings(rings);
    } catch (...) {
        listPending(0, std::current_exception());
        finishBlock();
        return;
    }
    if (!walk.rings) {
        drawRingsSingly();
        finishBlock();
        return;
    }
    if (walk.rings->isReady()) {
        ringsAnswered();
        return;
    }
    connect(
        walk.rings.get(), &StationRingsReply::ready, this,
        [this] { later([this] { ringsAnswered(); }); }, Qt::SingleShotConnection);
}

void AlarmEngine::ringsAnswered() {
    Walk& walk = *m_walk;
    const std::unique_ptr<StationRingsReply> reply = std::move(walk.rings);
    if (!reply->offered())
        drawRingsSingly();
    else
        listPending(reply->firstNotDrawn(), reply->failure());
    finishBlock();
}

void AlarmEngine::listPending(int firstNotDrawn, std::exception_ptr failure) {
    Walk& walk = *m_walk;
    // The station whose ring failed keeps its line, as it would have had it before its mark.
    const size_t listed = firstNotDrawn < 0
                              ? walk.pending.size()
                              : std::min(walk.pending.size(), size_t(firstNotDrawn) + 1);
    for (size_t i = 0; i < listed; ++i) {
        const Walk::PendingRing& pending = walk.pending[i];
        if (pending.line.isEmpty())
            continue;
        m_dblMinDist = std::min(m_dblMinDist, pending.distance);
        m_alarmLines.add(pending.line);
    }
    walk.pending.clear();
    // It came before whatever else stopped the block.
    if (firstNotDrawn >= 0)
        walk.stopped = failure;
}

void AlarmEngine::drawRingsSingly() {
    Walk& walk = *m_walk;
    std::vector<Walk::PendingRing> pending;
    pending.swap(walk.pending);
    try {
        for (const Walk::PendingRing& station : pending) {
            if (!station.line.isEmpty()) {
                m_dblMinDist = std::min(m_dblMinDist, station.distance);
                m_alarmLines.add(station.line);
            }
            MarkStation(map(), station.ring.x, station.ring.y, station.ring.colour);
        }
    } catch (...) {
        walk.stopped = std::current_exception();
    }
}

void AlarmEngine::scanStations() {
    if (!m_scanStations) {
        overlaysThenAlarm();
        return;
    }
    m_stationPassComplete = false;
    m_alarmLines.clear();
    m_dblMinDist = 99999.0;
    walkStations(
        [this] {
            return WantedStations{m_ownCallsign, std::nullopt};
        },
        [this](const QString& callsign) {
            const double d = m_station.Distance;
            if (!(d < radius()))
                return;
            // Listed with its ring, at the end of the block.
            const bool acked = m_ackedCalls.contains(callsign);
            m_walk->pending.push_back(
                {acked ? QString() : callsign + QStringLiteral(" distance ") + distanceText(d),
                 d,
                 {m_station.Longitude, m_station.Latitude, acked ? kColourGreen : kColourRed}});
        },
        [this](bool through) {
            // A pass cut short keeps what it listed and marked, and the caption it had.
            if (through) {
                showMinimum();
                m_stationPassComplete = true;
                m_stationCount = m_alarmLines.count();
            }
            later([this] { scanWatchlist(); });
        });
}

void AlarmEngine::scanWatchlist() {
    const bool anyWanted =
        std::any_of(m_watchCalls.items().cbegin(), m_watchCalls.items().cend(),
                    [this](const QString& callsign) { return !m_ackedCalls.contains(callsign); });
    if (!anyWanted && m_stationPassComplete) {
        // A second walk of a full list would find nothing to add: the lines and the answer
        // are those of the station pass.
        showMinimum();
        m_watchCount = m_alarmLines.count();
        overlaysThenAlarm();
        return;
    }
    walkStations(
        [this] {
            QSet<QString> watched;
            for (const QString& callsign : m_watchCalls.items())
                if (!m_ackedCalls.contains(callsign))
                    watched.insert(callsign);
            return WantedStations{QString(), std::move(watched)};
        },
        [this](const QString& callsign) {
            const double d = m_station.Distance;
            m_dblMinDist = std::min(m_dblMinDist, d);
            m_alarmLines.add(callsign + QStringLiteral(" (watch) ") + distanceText(d));
        },
        [this](bool through) {
            if (through) {
                showMinimum();
                m_watchCount = m_alarmLines.count();
            }
            later([this] { overlaysThenAlarm(); });
        });
}

void AlarmEngine::loadOverlayItems() {
    m_overlays.count = static_cast<qint16>(
        readOverlayFolder(m_overlaysFolder ? m_overlaysFolder() : QString(), m_overlays));
}

void AlarmEngine::scanOverlays() {
    m_station.Callsign = m_ownCallsign;
    float ownLatitude = 0.0f;
    float ownLongitude = 0.0f;
    if (m_host.GetStation(m_station)) {
        ownLatitude = m_station.Latitude;
        ownLongitude = m_station.Longitude;
    }
    m_overlayLines.clear();
    loadOverlayItems();
    for (int i = 1; i <= m_overlays.count; ++i) {
        const OverlayItem& item = m_overlays.gOverlayItems[size_t(i)];
        const double d = overlayDistance(ownLatitude, ownLongitude, item);
        if (d < radius())
            m_overlayLines.add(item.strName + QLatin1Char(' ') + distanceText(d) +
                               QStringLiteral("km (") + item.strText + QLatin1Char(')'));
    }
}
