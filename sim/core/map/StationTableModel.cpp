#include "StationTableModel.h"

#include <QSet>

#include "Compass.h"
#include "StationLog.h"
#include "StationStore.h"

StationTableModel::StationTableModel(const StationStore& store, const StationLog& log,
                                     std::function<qint64()> nowMs, QObject* parent)
    : QAbstractTableModel(parent), m_store(store), m_log(log), m_nowMs(std::move(nowMs)) {}

std::vector<StationTableModel::Row> StationTableModel::current() const {
    std::vector<Row> rows;
    rows.reserve(size_t(m_store.count()));
    const HeardStation& own = m_store.own();
    for (int i = 0; i < m_store.count(); ++i) {
        const HeardStation* station = m_store.at(i);
        Row row;
        row.callsign = station->callsign;
        row.distance = m_store.distanceFromOwn(station->lat, station->lon);
        row.bearing = compass::bearingDegrees(own.lat, own.lon, station->lat, station->lon);
        row.comment = station->comment;
        const StationRecord* record = m_log.find(station->callsign);
        if (record) {
            row.heardMs = record->heardMs;
            row.via = int(record->via);
        }
        if (const auto motion = motionOf(record, station->comment)) {
            row.course = motion->first;
            row.speedKmh = motion->second;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

void StationTableModel::reindex() {
    m_rowOf.clear();
    m_rowOf.reserve(qsizetype(m_rows.size()));
    for (size_t i = 0; i < m_rows.size(); ++i)
        m_rowOf.insert(m_rows[i].callsign, int(i));
}

void StationTableModel::refresh() {
    std::vector<Row> next = current();
    QSet<QString> listed;
    listed.reserve(qsizetype(next.size()));
    for (const Row& row : next)
        listed.insert(row.callsign);

    // Rows that went, from the bottom up, a run at a time.
    for (int i = int(m_rows.size()) - 1; i >= 0;) {
        if (listed.contains(m_rows[size_t(i)].callsign)) {
            --i;
            continue;
        }
        int first = i;
        while (first > 0 && !listed.contains(m_rows[size_t(first - 1)].callsign))
            --first;
        beginRemoveRows({}, first, i);
        m_rows.erase(m_rows.begin() + first, m_rows.begin() + i + 1);
        endRemoveRows();
        i = first - 1;
    }
    // The rest keeps its order in the list: new stations are put in where they stand.
    size_t at = 0;
    for (size_t j = 0; j < next.size(); ++j) {
        if (at < m_rows.size() && m_rows[at].callsign == next[j].callsign) {
            ++at;
            continue;
        }
        size_t end = j;
        while (end < next.size() &&
               (at >= m_rows.size() || m_rows[at].callsign != next[end].callsign))
            ++end;
        if (at < m_rows.size() && end == next.size()) {
            // Not an insertion but a change of order (a new own station): start again.
            beginResetModel();
            m_rows = std::move(next);
            reindex();
            endResetModel();
            return;
        }
        beginInsertRows({}, int(at), int(at + (end - j) - 1));
        m_rows.insert(m_rows.begin() + qsizetype(at), next.begin() + qsizetype(j),
                      next.begin() + qsizetype(end));
        endInsertRows();
        at += end - j;
        j = end - 1;
    }
    bool sameOrder = m_rows.size() == next.size();
    for (size_t i = 0; sameOrder && i < m_rows.size(); ++i)
        sameOrder = m_rows[i].callsign == next[i].callsign;
    if (!sameOrder) {
        beginResetModel();
        m_rows = std::move(next);
        reindex();
        endResetModel();
        return;
    }
    // Only the values that changed, a run of rows at a time: a sorted view re-sorts what it
    // is told of.
    int runStart = -1;
    for (size_t i = 0; i <= m_rows.size(); ++i) {
        const bool changed = i < m_rows.size() && !(m_rows[i] == next[i]);
        if (changed) {
            m_rows[i] = std::move(next[i]);
            if (runStart < 0)
                runStart = int(i);
        } else if (runStart >= 0) {
            emit dataChanged(index(runStart, 0), index(int(i) - 1, ColumnCount - 1));
            runStart = -1;
        }
    }
    reindex();
}

int StationTableModel::rowOf(const QString& callsign) const {
    return m_rowOf.value(callsign, -1);
}

int StationTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int StationTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString StationTableModel::ageText(qint64 ms) {
    const qint64 seconds = std::max<qint64>(ms, 0) / 1000;
    if (seconds < 60)
        return QStringLiteral("%1 s").arg(seconds);
    if (seconds < 3600)
        return QStringLiteral("%1 min").arg(seconds / 60);
    return QStringLiteral("%1 h %2 min")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'));
}

QVariant StationTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= int(m_rows.size()))
        return {};
    const Row& row = m_rows[size_t(index.row())];
    if (role == CallsignRole)
        return row.callsign;
    if (role == Qt::TextAlignmentRole)
        return index.column() == Callsign || index.column() == Comment || index.column() == HeardVia
                   ? QVariant(int(Qt::AlignLeft | Qt::AlignVCenter))
                   : QVariant(int(Qt::AlignRight | Qt::AlignVCenter));
    if (role == SortRole) {
        switch (index.column()) {
        case Callsign:
            return row.callsign;
        case Distance:
            return row.distance;
        case Bearing:
            return row.bearing;
        case LastHeard:
            // Newest first in ascending order: the age, not the time.
            return -double(row.heardMs);
        case HeardVia:
            return row.via < 0 ? QString() : heardViaText(::HeardVia(row.via));
        case Course:
            return row.course.value_or(-1.0);
        case Speed:
            return row.speedKmh.value_or(-1.0);
        case Comment:
            return row.comment;
        }
        return {};
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Callsign:
        return row.callsign;
    case Distance:
        return QStringLiteral("%1 %2").arg(QString::number(row.distance, 'f', 1),
                                           geo::unitName(m_store.unit()));
    case Bearing:
        return QStringLiteral("%1° %2").arg(QString::number(row.bearing, 'f', 0),
                                            compass::point(row.bearing));
    case LastHeard:
        return row.heardMs < 0 ? QString() : ageText(m_nowMs() - row.heardMs);
    case HeardVia:
        return row.via < 0 ? QString() : heardViaText(::HeardVia(row.via));
    case Course:
        return row.course ? QStringLiteral("%1°").arg(QString::number(*row.course, 'f', 0))
                          : QString();
    case Speed:
        return row.speedKmh ? QStringLiteral("%1 km/h").arg(QString::number(*row.speedKmh, 'f', 0))
                            : QString();
    case Comment:
        return row.comment;
    }
    return {};
}

QVariant StationTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const names[] = {"Callsign",  "Distance", "Bearing", "Last heard",
                                        "Heard via", "Course",   "Speed",   "Comment"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(names[section]) : QVariant();
}
