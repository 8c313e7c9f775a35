#pragma once

#include <QListView>

// A list view that behaves as a list box towards its press handler: a left press selects
// first and then reports; a right or middle press reports without touching the selection,
// so a context menu acts on the entry that was selected before.
class ListBox final : public QListView {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent = nullptr);

    // Row of the selected entry, or -1 (the list box's ListIndex).
    int selectedRow() const;
    void selectRow(int row);
    void setModel(QAbstractItemModel* model) override;

signals:
    // button: 1 left, 2 right, 4 middle; globalPos: where a context menu opens.
    void mouseDown(int button, const QPoint& globalPos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;

private:
    // A command removed the selected line: the list then has no selection, so that a second
    // press never acts on a line the operator did not choose.
    bool m_selectedRowRemoved = false;
};
