// Guards View > Stations as an operator uses it: rows in the wrong order after a click on a
// header, a filter that hides the wrong stations, and a list that loses the operator's
// selection or scroll position whenever it follows the air.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include "HostCore.h"
#include "MapFixtures.h"
#include "map/StationListWindow.h"

namespace {

QStringList column(const QTableView* table, int column, int rows = -1) {
    QStringList texts;
    const QAbstractItemModel* model = table->model();
    const int count = rows < 0 ? model->rowCount() : std::min(rows, model->rowCount());
    for (int row = 0; row < count; ++row)
        texts << model->index(row, column).data().toString();
    return texts;
}

QString selected(const QTableView* table) {
    const auto rows = table->selectionModel()->selectedRows();
    return rows.size() == 1 ? rows[0].data(StationTableModel::CallsignRole).toString() : QString();
}

TEST(StationList, sortsByAnyColumnAndFilters) {
    HostCore core(ownAt(52.0, -1.0));
    core.advanceTo(0.0);
    hear(core, QStringLiteral("G4FAR"), 52.5, -1.0, HeardVia::Rf, QStringLiteral("270/010 west"));
    hear(core, QStringLiteral("G4NEAR"), 52.0, -0.9, HeardVia::Rf, QStringLiteral("090/050 east"));
    hear(core, QStringLiteral("M0MID"), 51.8, -1.0);
    StationListWindow window(core);
    window.show();
    QTableView* table = window.findChild<QTableView*>(QStringLiteral("stationTable"));
    ASSERT_TRUE(table);

    // Opens nearest first, the own station at 0.
    EXPECT_EQ(column(table, StationTableModel::Callsign),
              (QStringList{"N0CALL", "G4NEAR", "M0MID", "G4FAR"}));
    EXPECT_EQ(column(table, StationTableModel::Distance),
              (QStringList{"0.0 km", "6.8 km", "22.2 km", "55.6 km"}));
    EXPECT_EQ(column(table, StationTableModel::Bearing),
              (QStringList{"0° N", "90° E", "180° S", "0° N"}));
    EXPECT_EQ(table->model()->index(1, StationTableModel::HeardVia).data().toString(), "RF");

    // A click on the Callsign header sorts by it, a second click turns the order round.
    QHeaderView* header = table->horizontalHeader();
    const QPoint callsignHeader(header->sectionViewportPosition(StationTableModel::Callsign) + 5,
                                5);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, callsignHeader);
    const QStringList once = column(table, StationTableModel::Callsign);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, callsignHeader);
    QStringList twice = column(table, StationTableModel::Callsign);
    const QStringList sorted{"G4FAR", "G4NEAR", "M0MID", "N0CALL"};
    EXPECT_TRUE(once == sorted || twice == sorted) << once.join(' ').toStdString();
    std::reverse(twice.begin(), twice.end());
    EXPECT_EQ(once, twice);
    // By number, not by text: 10 km/h before 93 km/h; stations without a speed first.
    table->sortByColumn(StationTableModel::Speed, Qt::AscendingOrder);
    EXPECT_EQ(column(table, StationTableModel::Speed), (QStringList{"", "", "19 km/h", "93 km/h"}));
    table->sortByColumn(StationTableModel::Course, Qt::DescendingOrder);
    EXPECT_EQ(column(table, StationTableModel::Callsign, 2), (QStringList{"G4FAR", "G4NEAR"}));

    // Typed as an operator types: text anywhere in the callsign, or a pattern for the whole.
    QLineEdit* filter = window.findChild<QLineEdit*>(QStringLiteral("stationFilter"));
    ASSERT_TRUE(filter);
    table->sortByColumn(StationTableModel::Callsign, Qt::AscendingOrder);
    for (const auto& [typed, shown] :
         {std::pair("g4", QStringList{"G4FAR", "G4NEAR"}),
          std::pair("*0*", QStringList{"M0MID", "N0CALL"}),
          std::pair("G4?EAR", QStringList{"G4NEAR"}), std::pair("ear*", QStringList{})}) {
        QTest::keyClicks(filter, QString::fromLatin1(typed));
        EXPECT_EQ(column(table, StationTableModel::Callsign), shown) << typed;
        filter->clear();
    }
    EXPECT_EQ(table->model()->rowCount(), 4);
}

TEST(StationList, followsTheAirKeepingSelectionAndScroll) {
    HostCore core(ownAt(52.0, -1.0));
    core.advanceTo(0.0);
    for (int i = 0; i < 2000; ++i)
        hear(core, QStringLiteral("S%1").arg(i, 4, 10, QLatin1Char('0')), 52.0 + i * 0.001, -1.0);
    StationListWindow window(core);
    window.resize(700, 400);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTableView* table = window.table();
    table->sortByColumn(StationTableModel::Distance, Qt::AscendingOrder);
    const auto leave = [&](const QString& callsign) {
        core.store().remove(callsign);
        TrackerChanges gone;
        gone.deleted << callsign;
        core.publish(gone);
    };

    // The operator scrolls half-way down and clicks a station there.
    table->verticalScrollBar()->setValue(1000);
    const int scrolled = table->verticalScrollBar()->value();
    ASSERT_GT(scrolled, 500);
    const QModelIndex target = table->indexAt(QPoint(20, table->rowHeight(0) * 3 + 2));
    ASSERT_TRUE(target.isValid());
    const QString chosen = target.data(StationTableModel::CallsignRole).toString();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(target).center());
    ASSERT_EQ(selected(table), chosen);

    // The air goes on: stations far away come and go, the chosen one moves a little, and the
    // list is refreshed again and again.
    for (int round = 0; round < 5; ++round) {
        hear(core, QStringLiteral("NEW%1").arg(round), 60.0 + round, -1.0);
        leave(QStringLiteral("S%1").arg(1990 + round));
        const HeardStation* station = core.store().find(chosen);
        hear(core, chosen, station->lat + 0.00001, station->lon);
        window.refresh();
        EXPECT_EQ(selected(table), chosen) << "round " << round;
        EXPECT_EQ(table->verticalScrollBar()->value(), scrolled) << "round " << round;
    }
    EXPECT_EQ(window.model().rowCount(), 1 + 2000);
    EXPECT_EQ(window.model().rowOf(QStringLiteral("S1990")), -1);
    EXPECT_GE(window.model().rowOf(QStringLiteral("NEW4")), 0);

    // The selected station leaving the list is no longer selected.
    leave(chosen);
    window.refresh();
    EXPECT_NE(selected(table), chosen);
    EXPECT_EQ(window.model().rowOf(chosen), -1);

    // A double-click asks the map to centre on the station.
    QSignalSpy centre(&window, &StationListWindow::centreRequested);
    const QModelIndex first = table->model()->index(0, 0);
    const QString firstCall = first.data(StationTableModel::CallsignRole).toString();
    table->scrollToTop();
    // (Qt's test double-click comes without the first press an operator's has.)
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(first).center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(first).center());
    ASSERT_EQ(centre.count(), 1);
    EXPECT_EQ(centre[0][0].toString(), firstCall);
}

} // namespace
