#pragma once

#include <QTimer>
#include <QWidget>

#include "StationFilterProxy.h"
#include "StationTableModel.h"

class QLineEdit;
class QTableView;
class HostCore;

// View > Stations: every station of the list in a table the operator sorts by any column
// and filters by callsign; a double-click centres the map on the station. While shown it
// follows the list once a second, keeping the selection and the scroll position.
class StationListWindow final : public QWidget {
    Q_OBJECT
public:
    static constexpr int refreshMs = 1000;

    explicit StationListWindow(HostCore& core, QWidget* parent = nullptr);

    // Takes the list as it is now (the timer does this while the window shows).
    void refresh();
    StationTableModel& model() { return m_model; }
    StationFilterProxy& proxy() { return m_proxy; }
    QTableView* table() const { return m_table; }

signals:
    void centreRequested(const QString& callsign);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    StationTableModel m_model;
    StationFilterProxy m_proxy;
    QLineEdit* m_filter;
    QTableView* m_table;
    QTimer m_refresh;
};
