#pragma once

#include <QMainWindow>

class HostCore;
class QLabel;

// The tracker's window: the map and a status bar with the beacon an add-on handed over.
// Closing it asks the program to close (through closeRequested) instead of just hiding.
class HostWindow final : public QMainWindow {
    Q_OBJECT
public:
    explicit HostWindow(HostCore& core, QWidget* parent = nullptr);

    // Lets the next close go through (the program is shutting down).
    void allowClose() { m_closing = true; }

signals:
    void closeRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showBeacon();

    HostCore& m_core;
    QLabel* m_beacon;
    QLabel* m_stations;
    bool m_closing = false;
};
