#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>

class HostCore;
class QFormLayout;

// The details of the station clicked on the map; follows it once a second while shown.
class StationDetailsWindow final : public QWidget {
    Q_OBJECT
public:
    explicit StationDetailsWindow(HostCore& core, QWidget* parent = nullptr);

    void showStation(const QString& callsign);
    const QString& callsign() const { return m_callsign; }
    // The text shown for a label ("Path", "Last packet"); empty when there is none.
    QString field(const QString& label) const;

private:
    void refresh();

    HostCore& m_core;
    QString m_callsign;
    QFormLayout* m_form;
    QTimer m_refresh;
};
