#pragma once

#include <map>
#include <memory>

#include <QString>

#include "host/HostBlock.h"
#include "host/KestrelStation.h"

class KestrelHost;

// The callsign of a station list entry: from its second character up to the first blank
// after it, without one trailing "*". Throws HostError for an entry without that blank.
QString callsignOfEntry(const QString& entry);

// One walk over the host's station list in index order, a block of entries at a time. Each
// block is asked of the host ahead of its turn (the next one while the walk handles the
// present one), so that over the bus the answers travel while the program handles the
// last ones. A host without block calls, and a block the host refused, goes through the
// single calls, so that the walk ends at the very station whose call fails; a tracker that
// is gone ends the walk at the first station of the block it did not answer. Either way
// the walk sees the same entries and answers in the same order. Every call may throw
// HostError.
class HostCursor final {
public:
    static constexpr qint16 blockSize = 1024;
    static constexpr int blocksAhead = 2;

    // Asks StationCount.
    HostCursor(KestrelHost& host, HostBlock::Wanted wanted);
    ~HostCursor();
    HostCursor(const HostCursor&) = delete;
    HostCursor& operator=(const HostCursor&) = delete;

    qint16 count() const { return m_count; }
    // The block that holds index, asked now if it was not yet, and the blocksAhead after it
    // asked ahead. Once it is ready, entry and station answer for its indices (up to its end())
    // without waiting (unless the host must be asked station by station).
    HostBlock& blockAt(qint16 index);
    // The entry text at index (0 .. count-1); an empty text ends the walk.
    QString entry(qint16 index);
    // GetStation for station.Callsign, as the entry at index named it.
    bool station(qint16 index, KestrelStation& station);

private:
    HostBlock& request(qint16 first);
    // Whether the host answered the block of index in one call; rethrows when it is gone.
    bool answeredInBlock(const HostBlock& block) const;

    KestrelHost& m_host;
    HostBlock::Wanted m_wanted;
    qint16 m_count = 0;
    std::map<qint16, std::unique_ptr<HostBlock>> m_blocks;
};
