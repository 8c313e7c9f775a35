#pragma once

#include <QString>
#include <QWidget>

#include "alerts/AlarmHistory.h"

class QTreeWidget;

// Alarm > Alarm history...: the last 500 events of Ringwarden.HST, newest first, in a small
// window that is not modal, following the file while it is open. A second open brings the
// open one to the front, read afresh.
class HistoryWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HistoryWindow)
public:
    static constexpr int kShownEvents = 500;

    // Shows the window for mainWindow (it closes with it) and returns it.
    static HistoryWindow* showHistory(QWidget* mainWindow, const QString& historyPath);
    // The window while it is open, otherwise nullptr.
    static HistoryWindow* openWindow();

    HistoryWindow(const QString& historyPath, QWidget* mainWindow);
    ~HistoryWindow() override;

    // Reads the file again.
    void reload();
    // An event just written: shown on top, the oldest dropped beyond kShownEvents.
    void addEntry(const HistoryEntry& entry);

    // Time (local), event, callsign, distance; one row an event.
    QTreeWidget* lstEvents = nullptr;

private:
    QString m_path;
};
