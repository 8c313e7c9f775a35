#pragma once

#include <QSortFilterProxyModel>

// The station table sorted by the numbers behind its texts and filtered by what the
// operator types: text found anywhere in the callsign, or a pattern with "*" (any run) and
// "?" (one character) matching the whole callsign; upper or lower case alike.
class StationFilterProxy final : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit StationFilterProxy(QObject* parent = nullptr);
    void setFilterText(const QString& text);
};
