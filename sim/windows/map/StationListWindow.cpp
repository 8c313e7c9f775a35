#include "StationListWindow.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>

#include "HostCore.h"

StationListWindow::StationListWindow(HostCore& core, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_model(core.store(), core.log(), [&core] { return core.nowMs(); }),
      m_filter(new QLineEdit(this)), m_table(new QTableView(this)) {
    setObjectName(QStringLiteral("stationList"));
    setWindowTitle(QStringLiteral("Stations"));
    m_proxy.setSourceModel(&m_model);
    m_filter->setObjectName(QStringLiteral("stationFilter"));
    m_filter->setPlaceholderText(QStringLiteral("Filter by callsign (* and ? as wildcards)"));
    m_filter->setClearButtonEnabled(true);
    m_table->setObjectName(QStringLiteral("stationTable"));
    m_table->setModel(&m_proxy);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(StationTableModel::Distance, Qt::AscendingOrder);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->verticalHeader()->hide();
    // Rows of one height: the view need not measure 32,767 of them.
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_filter);
    layout->addWidget(m_table);
    connect(m_filter, &QLineEdit::textChanged, &m_proxy, &StationFilterProxy::setFilterText);
    connect(m_table, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        emit centreRequested(index.data(StationTableModel::CallsignRole).toString());
    });
    m_refresh.setInterval(refreshMs);
    connect(&m_refresh, &QTimer::timeout, this, &StationListWindow::refresh);
    resize(760, 480);
}

void StationListWindow::refresh() {
    m_model.refresh();
    // The ages grow without the values changing.
    m_table->viewport()->update();
}

void StationListWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refresh();
    m_refresh.start();
}

void StationListWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    m_refresh.stop();
}
