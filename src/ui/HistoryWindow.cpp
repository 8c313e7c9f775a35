#include "ui/HistoryWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "alerts/AlarmHistory.h"

namespace {

QPointer<HistoryWindow>& shownWindow() {
    static QPointer<HistoryWindow> window;
    return window;
}

} // namespace

HistoryWindow* HistoryWindow::showHistory(QWidget* mainWindow, const QString& historyPath) {
    HistoryWindow* window = shownWindow();
    if (!window) {
        window = new HistoryWindow(historyPath, mainWindow);
        shownWindow() = window;
    } else {
        window->reload();
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

HistoryWindow* HistoryWindow::openWindow() {
    return shownWindow();
}

HistoryWindow::HistoryWindow(const QString& historyPath, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window), m_path(historyPath) {
    setObjectName(QStringLiteral("HistoryWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Alarm history"));

    lstEvents = new QTreeWidget(this);
    lstEvents->setObjectName(QStringLiteral("lstEvents"));
    lstEvents->setHeaderLabels({QStringLiteral("Time"), QStringLiteral("Event"),
                                QStringLiteral("Callsign"), QStringLiteral("Distance")});
    lstEvents->setRootIsDecorated(false);
    lstEvents->setUniformRowHeights(true);
    lstEvents->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto* refresh = new QPushButton(QStringLiteral("&Refresh"), this);
    refresh->setObjectName(QStringLiteral("cmdRefresh"));
    connect(refresh, &QPushButton::clicked, this, &HistoryWindow::reload);
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(refresh);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lstEvents);
    layout->addLayout(buttons);
    resize(520, 360);
    reload();
}

HistoryWindow::~HistoryWindow() = default;

namespace {

QTreeWidgetItem* rowOf(const HistoryEntry& entry) {
    return new QTreeWidgetItem(
        QStringList{entry.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                    entry.event, entry.callsign, entry.distanceText});
}

} // namespace

void HistoryWindow::reload() {
    lstEvents->clear();
    QList<QTreeWidgetItem*> rows;
    for (const HistoryEntry& entry : AlarmHistory::readLast(m_path, kShownEvents))
        rows << rowOf(entry);
    lstEvents->addTopLevelItems(rows);
}

void HistoryWindow::addEntry(const HistoryEntry& entry) {
    lstEvents->insertTopLevelItem(0, rowOf(entry));
    while (lstEvents->topLevelItemCount() > kShownEvents)
        delete lstEvents->takeTopLevelItem(lstEvents->topLevelItemCount() - 1);
}
