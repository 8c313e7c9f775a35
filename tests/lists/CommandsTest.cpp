// Guards against an acknowledge that loses or doubles a callsign, or a watch entry the file spoils.
#include <gtest/gtest.h>

#include <QLocale>

#include "lists/Commands.h"
#include "lists/TextList.h"

namespace {

TEST(Commands, AcknowledgeTakesEachCallsignOnceAndLeavesTheOthers) {
    TextList alarms{TextList::Order::AsAdded};
    TextList acked{TextList::Order::Sorted};
    alarms.assign({"DL1AB 1.5", "ZZ9 .25", "DL1AB 3.", "AA1AA 12."});
    acked.assign({"ZZ9"});
    for (const int row : {1, 4, -1}) // ZZ9 is acknowledged already; no such rows
        EXPECT_FALSE(acknowledgeLine(alarms, row, acked)) << row;
    EXPECT_TRUE(acknowledgeLine(alarms, 3, acked));
    EXPECT_EQ(alarms.items(), (QStringList{"DL1AB 1.5", "ZZ9 .25", "DL1AB 3."}));
    EXPECT_EQ(acked.items(), (QStringList{"AA1AA", "ZZ9"}));
    acknowledgeAll(alarms, acked);
    EXPECT_EQ(alarms.count(), 0);
    EXPECT_EQ(acked.items(), (QStringList{"AA1AA", "DL1AB", "ZZ9"}));
}

TEST(Commands, CallsignTrimWatchEntryAndWatchBoxKeyRules) {
    EXPECT_EQ(callsignOfLine("DL1AB 1.5 (watch)"), QStringLiteral("DL1AB"));
    EXPECT_EQ(callsignOfLine("NOBLANK"), QStringLiteral("NOBLANK"));
    EXPECT_EQ(callsignOfLine(" X"), QString());
    EXPECT_EQ(trimBlanks("  a\tb  "), QStringLiteral("a\tb"));
    EXPECT_EQ(trimBlanks("   "), QString());
    EXPECT_TRUE(isStorableWatchEntry("DL1AB-9") && isStorableWatchEntry(""));
    for (const char* bad : {"A|B", "A\rB", "A\n"})
        EXPECT_FALSE(isStorableWatchEntry(bad)) << bad;
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const std::pair<int, int> rows[] = {{'a', 'A'},   {'5', '5'},   {' ', 0},     {13, 13},  {8, 8},
                                        {0xe9, 0xc9}, {0xff, 0xff}, {0xdf, 0xdf}, {300, 300}};
    for (const auto& [typed, kept] : rows)
        EXPECT_EQ(upperCaseWatchKey(typed), kept) << typed;
    QLocale::setDefault(saved);
}

} // namespace
