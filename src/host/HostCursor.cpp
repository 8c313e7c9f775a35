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

HostCursor::HostCursor(KestrelHost& host, HostBlock::Wanted wanted)
    : m_host(host), m_wanted(std::move(wanted)), m_count(host.StationCount()) {}

HostCursor::~HostCursor() = default;

HostBlock& HostCursor::request(qint16 first) {
    auto it = m_blocks.find(first);
    if (it == m_blocks.end()) {
        const auto size = static_cast<qint16>(std::min<int>(blockSize, m_count - first));
        it = m_blocks.emplace(first, m_host.requestBlock(first, size, m_wanted)).first;
    }
    return *it->second;
}

HostBlock& HostCursor::blockAt(qint16 index) {
    // Blocks the walk has left are done with.
    while (!m_blocks.empty() && m_blocks.begin()->second->isReady() &&
           m_blocks.begin()->second->end() <= index)
        m_blocks.erase(m_blocks.begin());
    HostBlock* block = nullptr;
    auto it = m_blocks.upper_bound(index);
    if (it != m_blocks.begin() && std::prev(it)->second->answersFor(index))
        block = std::prev(it)->second.get();
    else
        // A block answered short (too large for one message) goes on from where it ends.
        block = &request(index);
    // The next blocks asked ahead, so that the tracker always has one to answer while the
    // walk handles another.
    qint16 next = block->end();
    for (int ahead = 0; ahead < blocksAhead && next < m_count; ++ahead) {
        const HostBlock& asked = request(next);
        next = asked.end();
    }
    return *block;
}

bool HostCursor::answeredInBlock(const HostBlock& block) const {
    if (!block.offered())
        return false;
    if (block.failure()) {
        try {
            std::rethrow_exception(block.failure());
        } catch (const HostError& error) {
            // A tracker that is gone would fail the first single call too, after as long a
            // wait: the walk ends here.
            if (error.kind() == HostError::Kind::Unreachable)
                throw;
        }
        // Refused: the single calls keep every station before the one that fails.
        return false;
    }
    return true;
}

QString HostCursor::entry(qint16 index) {
    const HostBlock& block = blockAt(index);
    if (block.isReady() && answeredInBlock(block))
        // Past the end of the answer: the list is shorter than it was counted.
        return block.entries().value(index - block.first());
    return m_host.StationListItem(index);
}

bool HostCursor::station(qint16 index, KestrelStation& station) {
    const HostBlock& block = blockAt(index);
    if (block.isReady() && !block.failure()) {
        if (const auto fix = block.fix(index, station.Callsign)) {
            if (!*fix)
                return false;
            station.Longitude = (*fix)->Longitude;
            station.Latitude = (*fix)->Latitude;
            station.Distance = (*fix)->Distance;
            return true;
        }
    }
    return m_host.GetStation(station);
}
