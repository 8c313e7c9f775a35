#pragma once

#include <QMainWindow>

class HostCore;
class QLabel;
class StatusPart;

// The tracker's window: the map and a status bar with the links in words and the beacon an
// add-on handed over. Closing it asks the program to close (through closeRequested) instead
// of just hiding.
class HostWindow final : public QMainWindow {
    Q_OBJECT
public:
    explicit HostWindow(HostCore& core, QWidget* parent = nullptr);

    // Lets the next close go through (the program is shutting down).
    void allowClose() { m_closing = true; }
    // The status bar's parts in words; each opens the preferences when clicked.
    void setStatusParts(const QStringList& parts);

signals:
    void closeRequested();
    void preferencesRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showBeacon();
    void showAbout();

    HostCore& m_core;
    QLabel* m_beacon;
    QLabel* m_stations;
    QList<StatusPart*> m_parts;
    bool m_closing = false;
};
