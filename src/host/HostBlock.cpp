#include "host/HostBlock.h"

#include <algorithm>

#include "host/HostCursor.h"

std::optional<std::optional<KestrelStation>> HostBlock::fix(qint16 index,
                                                            const QString& callsign) const {
    const auto it = std::lower_bound(m_fixIndices.cbegin(), m_fixIndices.cend(), index);
    if (it == m_fixIndices.cend() || *it != index)
        return std::nullopt;
    const auto i = size_t(it - m_fixIndices.cbegin());
    if (m_fixCallsigns.at(qsizetype(i)) != callsign)
        return std::nullopt;
    return m_fixes.at(i);
}

qint16 HostBlock::end() const {
    if (!m_ready || !m_offered || m_failure)
        return static_cast<qint16>(m_first + m_count);
    return static_cast<qint16>(m_first + std::max<qsizetype>(1, m_entries.size()));
}

void HostBlock::setFixes(const std::vector<qint16>& indices, const QStringList& callsigns,
                         std::vector<std::optional<KestrelStation>> fixes) {
    m_fixIndices = indices;
    m_fixCallsigns = callsigns;
    m_fixes = std::move(fixes);
}

void HostBlock::wantedStations(const Wanted& wanted, std::vector<qint16>& indices,
                               QStringList& callsigns) const {
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        const QString& text = m_entries.at(i);
        if (text.isEmpty() || text.indexOf(u' ', 1) < 0)
            break; // the walk stops here
        const QString callsign = callsignOfEntry(text);
        if (wanted(callsign)) {
            callsigns.append(callsign);
            indices.push_back(qint16(m_first + i));
        }
    }
}

void HostBlock::finish() {
    m_ready = true;
    emit ready();
}
