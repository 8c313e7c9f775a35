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

QStringList column(const QTableView* table, int column) {
    QStringList texts;
    for (int row = 0; row < table->model()->rowCount(); ++row)
        texts << table->model()->index(row, column).data().toString();
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

    // A click on the Speed header sorts by number, not by text: 19 km/h before 93 km/h,
    // stations without a speed first.
    QHeaderView* header = table->horizontalHeader();
    header->setSortIndicator(StationTableModel::Speed, Qt::DescendingOrder);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(StationTableModel::Speed) + 5, 5));
    EXPECT_EQ(column(table, StationTableModel::Speed), (QStringList{"", "", "19 km/h", "93 km/h"}));

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
