#pragma once

#include <functional>
#include <optional>
#include <utility>

#include <QHash>
#include <QString>
#include <QStringList>

#include "host/KestrelStation.h"

class KestrelHost;

// The callsign of a station list entry: from its second character up to the first blank
// after it, without one trailing "*". Throws HostError for an entry without that blank.
QString callsignOfEntry(const QString& entry);

// One walk over the host's station list in index order. A host that answers a block of
// entries in one call (an out-of-process tracker, where each call is a bus round trip) is
// asked a block at a time, with the stations `wanted` asked in one more call; any other
// host, and a block call that fails, goes through the single calls, so that the walk ends
// at the very station whose call fails. Either way the walk sees the same entries and
// answers in the same order. Every call may throw HostError.
class HostCursor final {
public:
    static constexpr qint16 blockSize = 200;

    HostCursor(KestrelHost& host, std::function<bool(const QString&)> wanted);

    // StationCount, asked when the walk starts.
    qint16 count() const { return m_count; }
    // The entry text at index (0 .. count-1); an empty text ends the walk.
    QString entry(qint16 index);
    // GetStation for station.Callsign, as the entry at index named it.
    bool station(qint16 index, KestrelStation& station);

private:
    void fetch(qint16 first);

    KestrelHost& m_host;
    std::function<bool(const QString&)> m_wanted;
    qint16 m_count = 0;
    bool m_blocks = true;
    qint16 m_first = 0;
    QStringList m_entries;
    QHash<qint16, std::pair<QString, std::optional<KestrelStation>>> m_fixes;
};
