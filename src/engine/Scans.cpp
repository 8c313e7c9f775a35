// The passes of a tick over the host's station list and the overlay objects.
#include "engine/AlarmEngine.h"

#include <algorithm>

#include "engine/AlarmWalk.h"
#include "host/HostCursor.h"
#include "host/KestrelHost.h"
#include "lists/MapMarks.h"
#include "numbers/NumericText.h"

void AlarmEngine::showMinimum() {
    if (m_alarmLines.count() > 0)
        emit minDistCaptionChanged(QStringLiteral("(minimum distance observed is ") +
                                   distanceText(m_dblMinDist) + QLatin1Char(')'));
    else
        emit minDistCaptionChanged(QStringLiteral("No stations within alarm range"));
}

void AlarmEngine::walkStations(std::function<bool(const QString&)> wanted,
                               std::function<void(const QString&)> found,
                               std::function<void(bool)> done) {
    auto walk = std::make_unique<Walk>();
    walk->wanted = std::move(wanted);
    walk->found = std::move(found);
    walk->done = std::move(done);
    try {
        walk->cursor = std::make_unique<HostCursor>(m_host, walk->wanted);
    } catch (const HostError& error) {
        if (error.kind() == HostError::Kind::Unreachable)
            throw; // the tracker is gone: the tick ends here
        later([done = walk->done] { done(false); });
        return;
    }
    m_walk = std::move(walk);
    walkStep();
}

void AlarmEngine::walkStep() {
    Walk& walk = *m_walk;
    HostCursor& cursor = *walk.cursor;
    const qint16 n = cursor.count();
    bool through = walk.index >= n;
    try {
        if (!through) {
            HostBlock& block = cursor.blockAt(walk.index);
            if (!block.isReady()) {
                // Back to the event loop until the host has answered.
                connect(
                    &block, &HostBlock::ready, this, [this] { later([this] { walkStep(); }); },
                    Qt::SingleShotConnection);
                return;
            }
            const auto end = static_cast<qint16>(std::min<int>(n, block.first() + block.count()));
            for (; walk.index < end; ++walk.index) {
                const QString entry = cursor.entry(walk.index);
                if (entry.isEmpty()) {
                    through = true;
                    break;
                }
                const QString callsign = callsignOfEntry(entry);
                // Asked again at the station's turn: a command run between blocks may have
                // changed the lists.
                if (walk.wanted(callsign)) {
                    mStation.Callsign = callsign;
                    if (cursor.station(walk.index, mStation))
                        walk.found(callsign);
                }
            }
            through = through || walk.index >= n;
        }
    } catch (const HostError& error) {
        if (error.kind() == HostError::Kind::Unreachable)
            throw; // the tracker is gone: the tick ends here, not after a wait per call
        through = false;
        walk.index = -1;
    } catch (...) {
        through = false;
        walk.index = -1;
    }
    if (through || walk.index < 0) {
        const std::function<void(bool)> done = std::move(walk.done);
        m_walk.reset();
        done(through);
        return;
    }
    later([this] { walkStep(); });
}

void AlarmEngine::scanStations() {
    if (!gblnScanStations) {
        overlaysThenAlarm();
        return;
    }
    m_stationPassComplete = false;
    m_alarmLines.clear();
    m_dblMinDist = 99999.0;
    walkStations([this](const QString& callsign) { return callsign != gstrOwnCallsign; },
                 [this](const QString& callsign) {
                     const double d = mStation.Distance;
                     if (!(d < radius()))
                         return;
                     if (m_ackedCalls.contains(callsign)) {
                         MarkStation(map(), mStation.Longitude, mStation.Latitude, kColourGreen);
                         return;
                     }
                     m_dblMinDist = std::min(m_dblMinDist, d);
                     m_alarmLines.add(callsign + QStringLiteral(" distance ") + distanceText(d));
                     MarkStation(map(), mStation.Longitude, mStation.Latitude, kColourRed);
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
        [this](const QString& callsign) {
            return m_watchCalls.contains(callsign) && !m_ackedCalls.contains(callsign);
        },
        [this](const QString& callsign) {
            const double d = mStation.Distance;
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

void AlarmEngine::load_overlay_items() {
    m_overlays.gintOverlayCount = static_cast<qint16>(
        readOverlayFolder(m_overlaysFolder ? m_overlaysFolder() : QString(), m_overlays));
}

void AlarmEngine::scan_overlays() {
    mStation.Callsign = gstrOwnCallsign;
    float ownLatitude = 0.0f;
    float ownLongitude = 0.0f;
    if (m_host.GetStation(mStation)) {
        ownLatitude = mStation.Latitude;
        ownLongitude = mStation.Longitude;
    }
    m_overlayLines.clear();
    load_overlay_items();
    for (int i = 1; i <= m_overlays.gintOverlayCount; ++i) {
        const OverlayItem& item = m_overlays.gOverlayItems[size_t(i)];
        const double d = overlayDistance(ownLatitude, ownLongitude, item);
        if (d < radius())
            m_overlayLines.add(item.strName + QLatin1Char(' ') + distanceText(d) +
                               QStringLiteral("km (") + item.strText + QLatin1Char(')'));
    }
}
