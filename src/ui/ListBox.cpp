#include "ui/ListBox.h"

#include <QMouseEvent>

ListBox::ListBox(QWidget* parent) : QListView(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    // A list box cuts a long line at its edge rather than shortening it with an ellipsis.
    setTextElideMode(Qt::ElideNone);
    setContextMenuPolicy(Qt::NoContextMenu);
}

int ListBox::selectedRow() const {
    if (!selectionModel())
        return -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ListBox::selectRow(int row) {
    if (!model() || !selectionModel())
        return;
    if (row < 0 || row >= model()->rowCount()) {
        selectionModel()->clearSelection();
        return;
    }
    const QModelIndex index = model()->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
}

void ListBox::mousePressEvent(QMouseEvent* event) {
    int button = 0;
    switch (event->button()) {
    case Qt::LeftButton:
        button = 1;
        QListView::mousePressEvent(event);
        break;
    case Qt::RightButton:
        button = 2;
        event->accept();
        break;
    case Qt::MiddleButton:
        button = 4;
        event->accept();
        break;
    default:
        QListView::mousePressEvent(event);
        return;
    }
    emit mouseDown(button, event->globalPosition().toPoint());
}

void ListBox::setModel(QAbstractItemModel* model) {
    QListView::setModel(model);
    if (!model)
        return;
    connect(model, &QAbstractItemModel::rowsRemoved, this, [this] {
        if (!m_selectedRowRemoved || !selectionModel())
            return;
        m_selectedRowRemoved = false;
        selectionModel()->clearSelection();
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    });
}

void ListBox::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) {
    const int selected = selectedRow();
    m_selectedRowRemoved = selected >= start && selected <= end;
    QListView::rowsAboutToBeRemoved(parent, start, end);
}
