#pragma once

#include <QAbstractListModel>
#include <QStringList>

// A list of texts as the window's list boxes keep them: either in the order added, or
// sorted (each entry put at its place as it is added). The window shows it through a
// view; the scans and commands work on it without any widget.
class TextList final : public QAbstractListModel {
    Q_OBJECT
public:
    enum class Order { AsAdded, Sorted };

    explicit TextList(Order order, QObject* parent = nullptr);

    Order order() const { return m_order; }
    int count() const { return static_cast<int>(m_items.size()); }
    const QString& at(int index) const { return m_items.at(index); }
    const QStringList& items() const { return m_items; }
    // Index of the first entry equal to text (exact, case-sensitive), or -1.
    int indexOf(const QString& text) const;
    bool contains(const QString& text) const { return indexOf(text) >= 0; }

    // Adds an entry (at its sorted place, after equal ones, or at the end); returns its index.
    int add(const QString& text);
    void removeAt(int index);
    void clear();
    // Replaces all entries at once (sorted lists sort them).
    void assign(QStringList texts);

    // The order of a sorted list: the list box's, case-insensitive with the exact text
    // breaking ties, so that "ab1" and "AB1" still have a fixed order.
    static bool lessThan(const QString& a, const QString& b);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    Order m_order;
    QStringList m_items;
};
