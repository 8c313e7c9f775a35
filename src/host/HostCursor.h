#pragma once

#include <exception>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include <QObject>
#include <QSet>
#include <QStringList>

#include "host/KestrelStation.h"

class KestrelHost;

// The callsign of a station list entry: from its second character up to the first blank
// after it, without one trailing "*". Throws HostError for an entry without that blank.
QString callsignOfEntry(const QString& entry);

// The stations whose fixes a walk wants: every one but the own station, or only some.
struct WantedStations {
    QString except;
    std::optional<QSet<QString>> only;
    bool wants(const QString& callsign) const {
        return callsign != except && (!only || only->contains(callsign));
    }
    bool operator==(const WantedStations&) const = default;
};

// A station list entry as the walk takes it: cut into its callsign once, when it arrives,
// with the station's fix when the block asked for it.
struct HostEntry {
    enum class Kind {
        Station,
        // An empty text: the list ends here (it is shorter than it was counted).
        End,
        // A text without the blank after the callsign: the walk fails at its turn.
        Uncut
    };
    Kind kind = Kind::End;
    // The callsign (Station), or the text as the host sent it (Uncut).
    QString text;
    // The walk wanted the station when its block was asked.
    bool wanted = false;
    // Its fix was answered: empty when the host does not know the station.
    bool fixAsked = false;
    std::optional<KestrelStation> fix;
};

// One block of a walk over the host's station list, asked ahead of its turn: the entries
// first .. first + count - 1 and the fixes of the stations the walk wanted when they came.
// A host answers it when it can (over the bus: once both block calls have returned) and
// then emits ready(); in the meantime the program goes on.
class HostBlock : public QObject {
    Q_OBJECT
public:
    HostBlock(qint16 first, qint16 count, QObject* parent = nullptr)
        : QObject(parent), m_first(first), m_count(count) {}

    qint16 first() const { return m_first; }
    // How many entries were asked.
    qint16 count() const { return m_count; }
    // The index after the last one this block answers for: fewer than asked when the answer
    // would have been too large for one message (the walk asks again from there).
    qint16 end() const {
        if (!m_ready || !m_offered || m_failure || m_entries.empty())
            return qint16(m_first + m_count);
        return qint16(m_first + qsizetype(m_entries.size()));
    }
    bool answersFor(qint16 index) const { return index >= m_first && index < end(); }
    bool isReady() const { return m_ready; }

    // After ready: whether the host answered the entries in a block call at all (a host
    // without block calls does not), and its failure, if any; the entries then hold what the
    // host answered before it.
    bool offered() const { return m_offered; }
    std::exception_ptr failure() const { return m_failure; }
    const std::vector<HostEntry>& entries() const { return m_entries; }

    // --- for the host that answers ---
    // The entry texts of the block call, cut once; returns the callsigns `wanted` wants,
    // in order, for the fixes. The entries end at the first empty or uncut text.
    QStringList setEntries(const QStringList& texts, const WantedStations& wanted);
    // The fixes of those callsigns, in the same order.
    void setFixes(std::vector<std::optional<KestrelStation>> fixes);
    void setNotOffered() { m_offered = false; }
    void setFailure(std::exception_ptr failure) { m_failure = std::move(failure); }
    void finish();

    // The single calls, entry by entry, up to the first that fails (its failure is kept):
    // for a host without block calls, or a block it refused, so that the walk ends at the
    // very station whose call fails.
    void fillWithSingleCalls(KestrelHost& host, const WantedStations& wanted);
    bool filledSingly() const { return m_filledSingly; }

signals:
    void ready();

private:
    qint16 m_first;
    qint16 m_count;
    bool m_ready = false;
    bool m_offered = true;
    bool m_filledSingly = false;
    std::exception_ptr m_failure;
    std::vector<HostEntry> m_entries;
    std::vector<size_t> m_asked;
};

// One walk over the host's station list in index order, a block of entries at a time. Each
// block is asked of the host ahead of its turn (the next ones while the walk handles the
// present one), so that over the bus the answers travel while the program handles the
// last ones; the walk gets each block from the event loop, once the host has answered it.
class HostCursor final : public QObject {
    Q_OBJECT
public:
    static constexpr qint16 blockSize = 1024;
    static constexpr int blocksAhead = 2;

    // Asks StationCount (may throw HostError).
    HostCursor(KestrelHost& host, WantedStations wanted);
    ~HostCursor() override;

    qint16 count() const { return m_count; }
    // The stations that blocks asked from now on want: a command may have changed them.
    void setWanted(WantedStations wanted) { m_wanted = std::move(wanted); }
    // Asks for the block that holds index (and the blocksAhead after it). Returns it when it
    // has answered already; otherwise blockReady brings it once it has. Where the host did not
    // answer it in one call, or refused it, its entries are then asked one by one, up to the first
    // that fails; a tracker that is gone leaves the block empty with its failure.
    const HostBlock* next(qint16 index);

signals:
    void blockReady(const HostBlock& block);

private:
    HostBlock& request(qint16 first);
    // The block as the walk takes it: with single calls where the host did not answer it.
    HostBlock& settle(HostBlock& block);

    KestrelHost& m_host;
    WantedStations m_wanted;
    qint16 m_count = 0;
    std::map<qint16, std::unique_ptr<HostBlock>> m_blocks;
};
