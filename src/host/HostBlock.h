#pragma once

#include <exception>
#include <functional>
#include <optional>
#include <vector>

#include <QObject>
#include <QStringList>

#include "host/KestrelStation.h"

// One block of a walk over the host's station list, asked ahead of its turn: the entries
// first .. first + count - 1 and the fixes of the stations of those entries that the walk
// wanted when the entries came. A host answers it when it can (over the bus: once both block
// calls have returned) and then emits ready(); in the meantime the program goes on.
class HostBlock : public QObject {
    Q_OBJECT
public:
    using Wanted = std::function<bool(const QString& callsign)>;

    HostBlock(qint16 first, qint16 count, QObject* parent = nullptr)
        : QObject(parent), m_first(first), m_count(count) {}

    qint16 first() const { return m_first; }
    // How many entries were asked.
    qint16 count() const { return m_count; }
    // The indices this block answers for: those answered in the block call (fewer than
    // asked when the answer would have been too large for one message, none past the end
    // of the list, where an index answers the empty text that ends a walk), or, when the
    // entries come one by one, those asked.
    qint16 end() const;
    bool answersFor(qint16 index) const { return index >= m_first && index < end(); }
    bool isReady() const { return m_ready; }

    // After ready: whether the host answered the entries in a block call at all (a host
    // without block calls does not), and the first failure, if any.
    bool offered() const { return m_offered; }
    std::exception_ptr failure() const { return m_failure; }
    const QStringList& entries() const { return m_entries; }
    // The fix answered for the entry at index, when that entry's station was asked: the
    // outer empty when it was not asked, the inner empty when the host does not know it.
    std::optional<std::optional<KestrelStation>> fix(qint16 index, const QString& callsign) const;

    // --- for the host that answers ---
    void setEntries(QStringList entries) { m_entries = std::move(entries); }
    void setFixes(const std::vector<qint16>& indices, const QStringList& callsigns,
                  std::vector<std::optional<KestrelStation>> fixes);
    void setNotOffered() { m_offered = false; }
    void setFailure(std::exception_ptr failure) { m_failure = std::move(failure); }
    // The callsigns of the entries that `wanted` wants, in order, with their indices; the
    // entries end at the first empty or uncuttable one, as the walk does.
    void wantedStations(const Wanted& wanted, std::vector<qint16>& indices,
                        QStringList& callsigns) const;
    void finish();

signals:
    void ready();

private:
    qint16 m_first;
    qint16 m_count;
    bool m_ready = false;
    bool m_offered = true;
    std::exception_ptr m_failure;
    QStringList m_entries;
    std::vector<qint16> m_fixIndices;
    QStringList m_fixCallsigns;
    std::vector<std::optional<KestrelStation>> m_fixes;
};
