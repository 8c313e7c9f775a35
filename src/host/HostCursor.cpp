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

namespace {

HostEntry entryOf(const QString& text) {
    HostEntry entry;
    if (text.isEmpty()) {
        entry.kind = HostEntry::Kind::End;
    } else if (text.indexOf(u' ', 1) < 0) {
        entry.kind = HostEntry::Kind::Uncut;
        entry.text = text;
    } else {
        entry.kind = HostEntry::Kind::Station;
        entry.text = callsignOfEntry(text);
    }
    return entry;
}

} // namespace

QStringList HostBlock::setEntries(const QStringList& texts, const WantedStations& wanted) {
    m_entries.clear();
    m_asked.clear();
    m_entries.reserve(size_t(texts.size()));
    QStringList callsigns;
    if (texts.isEmpty())
        m_entries.push_back(entryOf(QString())); // past the end of the list
    for (const QString& text : texts) {
        m_entries.push_back(entryOf(text));
        if (m_entries.back().kind != HostEntry::Kind::Station)
            break; // the walk stops here
        if (wanted.wants(m_entries.back().text)) {
            m_entries.back().wanted = true;
            callsigns.append(m_entries.back().text);
            m_asked.push_back(m_entries.size() - 1);
        }
    }
    return callsigns;
}

void HostBlock::setFixes(std::vector<std::optional<KestrelStation>> fixes) {
    for (size_t i = 0; i < m_asked.size() && i < fixes.size(); ++i) {
        HostEntry& entry = m_entries[m_asked[i]];
        entry.fixAsked = true;
        entry.fix = std::move(fixes[i]);
    }
}

void HostBlock::finish() {
    m_ready = true;
    emit ready();
}

void HostBlock::fillWithSingleCalls(KestrelHost& host, const WantedStations& wanted) {
    m_entries.clear();
    m_asked.clear();
    m_failure = nullptr;
    m_filledSingly = true;
    m_entries.reserve(size_t(m_count));
    try {
        for (qint16 index = m_first; index < m_first + m_count; ++index) {
            HostEntry entry = entryOf(host.StationListItem(index));
            const bool station = entry.kind == HostEntry::Kind::Station;
            if (station && wanted.wants(entry.text)) {
                // A failing GetStation ends the walk before this station.
                KestrelStation fix{entry.text};
                entry.wanted = true;
                entry.fixAsked = true;
                if (host.GetStation(fix))
                    entry.fix = std::move(fix);
            }
            m_entries.push_back(std::move(entry));
            if (!station)
                return;
        }
    } catch (const HostError&) {
        m_failure = std::current_exception();
    }
}

HostCursor::HostCursor(KestrelHost& host, WantedStations wanted)
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

const HostBlock* HostCursor::next(qint16 index) {
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
    qint16 ahead = block->end();
    for (int n = 0; n < blocksAhead && ahead < m_count; ++n)
        ahead = request(ahead).end();
    if (block->isReady())
        return &settle(*block);
    connect(
        block, &HostBlock::ready, this, [this, block] { emit blockReady(settle(*block)); },
        Qt::SingleShotConnection);
    return nullptr;
}

HostBlock& HostCursor::settle(HostBlock& block) {
    bool refused = !block.offered();
    if (block.failure()) {
        try {
            std::rethrow_exception(block.failure());
        } catch (const HostError& error) {
            // A tracker that is gone would fail the first single call too, after as long a
            // wait. A refusal: the single calls keep every station before the one that fails.
            refused = error.kind() != HostError::Kind::Unreachable;
        }
    }
    if (refused && !block.filledSingly())
        block.fillWithSingleCalls(m_host, m_wanted);
    return block;
}
