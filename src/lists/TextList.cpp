#include "lists/TextList.h"

#include <algorithm>

TextList::TextList(Order order, QObject* parent) : QAbstractListModel(parent), m_order(order) {}

int TextList::indexOf(const QString& text) const {
    return static_cast<int>(m_items.indexOf(text));
}

bool TextList::lessThan(const QString& a, const QString& b) {
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    if (folded != 0)
        return folded < 0;
    return QString::compare(a, b, Qt::CaseSensitive) < 0;
}

int TextList::add(const QString& text) {
    int row = count();
    if (m_order == Order::Sorted) {
        const auto place = std::upper_bound(m_items.cbegin(), m_items.cend(), text, lessThan);
        row = static_cast<int>(place - m_items.cbegin());
    }
    beginInsertRows(QModelIndex(), row, row);
    m_items.insert(row, text);
    endInsertRows();
    return row;
}

void TextList::removeAt(int index) {
    if (index < 0 || index >= count())
        return;
    beginRemoveRows(QModelIndex(), index, index);
    m_items.removeAt(index);
    endRemoveRows();
}

void TextList::clear() {
    if (m_items.isEmpty())
        return;
    beginResetModel();
    m_items.clear();
    endResetModel();
}

void TextList::assign(QStringList texts) {
    if (m_order == Order::Sorted)
        std::stable_sort(texts.begin(), texts.end(), lessThan);
    beginResetModel();
    m_items = std::move(texts);
    endResetModel();
}

int TextList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant TextList::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count())
        return {};
    // A line longer than its list is cut at the edge: the tooltip shows all of it.
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return m_items.at(index.row());
    return {};
}
