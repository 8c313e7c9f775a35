#include "host/HostCursor.h"

#include <algorithm>

#include "host/KestrelHost.h"

QString callsignOfEntry(const QString& entry) {
    const qsizetype blank = entry.indexOf(u' ', 1);
    if (blank < 0)
        throw HostError(QStringLiteral("Kestrel32 listed a station entry without a blank: \"%1\"")
                            .arg(entry.left(40)),
                        HostError::Kind::Refused);
    QString callsign = entry.mid(1, blank - 1);
    if (callsign.endsWith(u'*'))
        callsign.chop(1);
    return callsign;
}

HostCursor::HostCursor(KestrelHost& host, std::function<bool(const QString&)> wanted)
    : m_host(host), m_wanted(std::move(wanted)), m_count(host.StationCount()) {}

QString HostCursor::entry(qint16 index) {
    if (m_blocks && (index < m_first || index >= m_first + m_entries.size()))
        fetch(index);
    if (m_blocks)
        return m_entries.at(index - m_first);
    return m_host.StationListItem(index);
}

bool HostCursor::station(qint16 index, KestrelStation& station) {
    const auto it = m_fixes.constFind(index);
    if (it != m_fixes.constEnd() && it->first == station.Callsign) {
        if (!it->second)
            return false;
        station.Longitude = it->second->Longitude;
        station.Latitude = it->second->Latitude;
        station.Distance = it->second->Distance;
        return true;
    }
    return m_host.GetStation(station);
}

void HostCursor::fetch(qint16 first) {
    const auto size = static_cast<qint16>(std::min<int>(blockSize, m_count - first));
    m_fixes.clear();
    std::optional<QStringList> entries;
    try {
        entries = m_host.StationListItems(first, size);
    } catch (const HostError&) {
        // The single calls take over: they keep every station before the one that fails.
        entries.reset();
    }
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
        const QString callsign = callsignOfEntry(text);
        if (m_wanted(callsign)) {
            callsigns.append(callsign);
            indices.append(static_cast<qint16>(first + i));
        }
    }
    if (callsigns.isEmpty())
        return;
    std::optional<std::vector<std::optional<KestrelStation>>> answers;
    try {
        answers = m_host.GetStations(callsigns);
    } catch (const HostError&) {
        answers.reset(); // single GetStation calls as the walk reaches each station
    }
    if (!answers)
        return;
    for (qsizetype i = 0; i < indices.size(); ++i)
        m_fixes.insert(indices.at(i), {callsigns.at(i), answers->at(size_t(i))});
}
