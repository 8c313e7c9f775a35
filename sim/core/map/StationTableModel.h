#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QAbstractTableModel>
#include <QHash>

class StationLog;
class StationStore;

// The station list as a table: one row a station of the tracker's list, in list order.
// refresh() takes the list as it is now, removing and inserting only the rows that came and
// went and announcing only the values that changed, so that a view keeps its selection and
// scroll position as the list lives.
class StationTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        Callsign,
        Distance,
        Bearing,
        LastHeard,
        HeardVia,
        Course,
        Speed,
        Comment,
        ColumnCount
    };
    // Numbers to sort by (distance, bearing, time heard, ...), apart from the texts shown.
    static constexpr int SortRole = Qt::UserRole;
    // The station's callsign in every column.
    static constexpr int CallsignRole = Qt::UserRole + 1;

    StationTableModel(const StationStore& store, const StationLog& log,
                      std::function<qint64()> nowMs, QObject* parent = nullptr);

    void refresh();
    // The row of a callsign; -1 when not listed.
    int rowOf(const QString& callsign) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // "12 s", "4 min", "2 h 05 min": how long ago.
    static QString ageText(qint64 ms);

private:
    struct Row {
        QString callsign;
        double distance = 0.0;
        double bearing = 0.0;
        qint64 heardMs = -1;
        int via = -1;
        std::optional<double> course;
        std::optional<double> speedKmh;
        QString comment;
        bool operator==(const Row&) const = default;
    };
    std::vector<Row> current() const;
    void reindex();

    const StationStore& m_store;
    const StationLog& m_log;
    std::function<qint64()> m_nowMs;
    std::vector<Row> m_rows;
    QHash<QString, int> m_rowOf;
};
