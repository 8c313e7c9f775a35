// The passes of a tick over the host's station list and the overlay objects.
#include "engine/AlarmEngine.h"

#include <algorithm>

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

void AlarmEngine::walkStations(const std::function<bool(const QString&)>& wanted,
                               const std::function<void(const QString&)>& found) {
    HostCursor cursor(m_host, wanted);
    const qint16 n = cursor.count();
    for (qint16 i = 0; i < n; ++i) {
        const QString entry = cursor.entry(i);
        if (entry.isEmpty())
            break;
        const QString callsign = callsignOfEntry(entry);
        // Asked again at the station's turn: a command run between stations may have
        // changed the lists.
        if (wanted(callsign)) {
            mStation.Callsign = callsign;
            if (cursor.station(i, mStation))
                found(callsign);
        }
        letEventsRun();
    }
}

qint16 AlarmEngine::scan_stations() {
    m_stationPassComplete = false;
    m_alarmLines.clear();
    m_dblMinDist = 99999.0;
    try {
        walkStations(
            [this](const QString& callsign) { return callsign != gstrOwnCallsign; },
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
            });
        letEventsRun();
        showMinimum();
        m_stationPassComplete = true;
        return static_cast<qint16>(m_alarmLines.count());
    } catch (...) {
        // The pass ends here and keeps what it listed and marked: the next tick tries again.
        return 0;
    }
}

qint16 AlarmEngine::scan_watchlist() {
    const bool anyWanted =
        std::any_of(m_watchCalls.items().cbegin(), m_watchCalls.items().cend(),
                    [this](const QString& callsign) { return !m_ackedCalls.contains(callsign); });
    if (!anyWanted && m_stationPassComplete) {
        // A second walk of a full list would find nothing to add: the lines and the answer
        // are those of the station pass.
        showMinimum();
        return static_cast<qint16>(m_alarmLines.count());
    }
    try {
        walkStations(
            [this](const QString& callsign) {
                return m_watchCalls.contains(callsign) && !m_ackedCalls.contains(callsign);
            },
            [this](const QString& callsign) {
                const double d = mStation.Distance;
                m_dblMinDist = std::min(m_dblMinDist, d);
                m_alarmLines.add(callsign + QStringLiteral(" (watch) ") + distanceText(d));
            });
        showMinimum();
        return static_cast<qint16>(m_alarmLines.count());
    } catch (...) {
        return 0;
    }
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
