#include "StationFilterProxy.h"

#include <QRegularExpression>

#include "StationTableModel.h"

StationFilterProxy::StationFilterProxy(QObject* parent) : QSortFilterProxyModel(parent) {
    setSortRole(StationTableModel::SortRole);
    setFilterKeyColumn(StationTableModel::Callsign);
    setFilterRole(StationTableModel::CallsignRole);
    setSortCaseSensitivity(Qt::CaseInsensitive);
    // Rows re-sort and re-filter as their values change.
    setDynamicSortFilter(true);
}

void StationFilterProxy::setFilterText(const QString& text) {
    const QString trimmed = text.trimmed();
    const bool wildcard = trimmed.contains(QLatin1Char('*')) || trimmed.contains(QLatin1Char('?'));
    const QString pattern =
        wildcard ? QStringLiteral("\\A(?:") +
                       QRegularExpression::wildcardToRegularExpression(
                           trimmed, QRegularExpression::UnanchoredWildcardConversion) +
                       QStringLiteral(")\\z")
                 : QRegularExpression::escape(trimmed);
    setFilterRegularExpression(
        QRegularExpression(pattern, QRegularExpression::CaseInsensitiveOption));
}
