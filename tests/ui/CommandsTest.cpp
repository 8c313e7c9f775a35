#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "MainWindowFixture.h"
#include "lists/TextList.h"
#include "support/WindowTimer.h"
#include "ui/ListBox.h"

namespace {

class Commands : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        installHost(QStringLiteral("OWN1"));
        start();
        form->popupMenu = [this](QMenu* menu, const QPoint&) {
            opened.push_back(menu);
            if (chooseInMenu)
                menu->actions().first()->trigger();
        };
        QApplication::setActiveWindow(form.get());
    }

    void alarmLines(const QStringList& lines) {
        for (const QString& line : lines)
            form->stationLines->add(line);
    }
    QPoint rowCentre(ListBox* list, int row) {
        return list->visualRect(list->model()->index(row, 0)).center();
    }
    void press(ListBox* list, Qt::MouseButton button, int row) {
        const QPoint at = row >= 0 ? rowCentre(list, row) : QPoint(5, 190);
        QTest::mousePress(list->viewport(), button, {}, at);
        QTest::mouseRelease(list->viewport(), button, {}, at);
    }
    std::vector<QString> hintTexts() const {
        std::vector<QString> texts;
        for (const auto& m : shown)
            texts.push_back(m.text);
        return texts;
    }

    std::vector<QMenu*> opened;
    bool chooseInMenu = true;
};

const QString kSelectFirst = QStringLiteral("You should select a station first");

TEST_F(Commands, AcknowledgeTheSelectedLine) {
    alarmLines({"AB1CD distance 3.5", "EF2GH distance 1."});
    form->lstStations->selectRow(0);
    const int starts = form->Timer1->startCount();
    form->cmdAck->click();
    EXPECT_EQ(form->ackedCalls->items(), QStringList{"AB1CD"});
    EXPECT_EQ(form->stationLines->items(), QStringList{"EF2GH distance 1."});
    EXPECT_TRUE(form->Timer1->isEnabled());
    EXPECT_EQ(form->Timer1->startCount(), starts + 1)
        << "the next tick comes a full interval later";
    EXPECT_TRUE(shown.empty());
}

TEST_F(Commands, ButtonsWithoutSelectionHintAndChangeNothing) {
    alarmLines({"AB1CD distance 3.5"});
    form->ackedCalls->add(QStringLiteral("ZZ9ZZ"));
    for (QPushButton* button : {form->cmdAck, form->cmdRearm}) {
        shown.clear();
        const int starts = form->Timer1->startCount();
        button->click();
        ASSERT_EQ(shown.size(), 1u) << button->objectName().toStdString();
        EXPECT_EQ(shown[0].text, kSelectFirst);
        EXPECT_EQ(shown[0].icon, MessageIcon::None);
        EXPECT_EQ(shown[0].title, "Ringwarden");
        EXPECT_EQ(form->Timer1->startCount(), starts + 1);
        EXPECT_TRUE(form->Timer1->isEnabled());
    }
    EXPECT_EQ(form->stationLines->count(), 1);
    EXPECT_EQ(form->ackedCalls->items(), QStringList{"ZZ9ZZ"});
}

TEST_F(Commands, StationListedTwiceMovesOnceAndTheOtherLineStays) {
    alarmLines({"AB1CD distance 1.", "AB1CD (watch) 1."});
    const int watchRow = form->stationLines->indexOf(QStringLiteral("AB1CD (watch) 1."));
    form->lstStations->selectRow(watchRow);
    form->mnuPopup1Ack_Click();
    EXPECT_EQ(form->ackedCalls->items(), QStringList{"AB1CD"});
    ASSERT_EQ(form->stationLines->items(), QStringList{"AB1CD distance 1."});
    form->lstStations->selectRow(0);
    form->mnuPopup1Ack_Click();
    EXPECT_EQ(form->stationLines->items(), QStringList{"AB1CD distance 1."});
    EXPECT_EQ(form->ackedCalls->count(), 1);
}

TEST_F(Commands, AcknowledgeAllAddsEachCallsignOnce) {
    alarmLines({"AB1CD distance 1", "AB1CD (watch) 1", "EF2GH distance 2"});
    form->ackedCalls->add(QStringLiteral("EF2GH"));
    const int starts = form->Timer1->startCount();
    form->cmdAckAll->click();
    EXPECT_EQ(form->ackedCalls->items(), (QStringList{"AB1CD", "EF2GH"}));
    EXPECT_EQ(form->stationLines->count(), 0);
    EXPECT_EQ(form->Timer1->startCount(), starts + 1);
}

TEST_F(Commands, LineWithoutBlankIsTakenWhole) {
    alarmLines({"ODDLINE"});
    form->lstStations->selectRow(0);
    form->cmdAck->click();
    EXPECT_EQ(form->ackedCalls->items(), QStringList{"ODDLINE"});
}

TEST_F(Commands, RearmOneAndAll) {
    form->ackedCalls->add(QStringLiteral("EF2GH"));
    form->ackedCalls->add(QStringLiteral("AB1CD"));
    form->lstAcked->selectRow(1);
    form->cmdRearm->click();
    EXPECT_EQ(form->ackedCalls->items(), QStringList{"AB1CD"});
    form->ackedCalls->add(QStringLiteral("QQ1"));
    const int starts = form->Timer1->startCount();
    form->cmdRearmAll->click();
    EXPECT_EQ(form->ackedCalls->count(), 0);
    EXPECT_EQ(form->Timer1->startCount(), starts) << "re-arm all leaves the timer alone";
}

TEST_F(Commands, RightPressWithoutSelectionHintsAndOpensNoMenu) {
    form->ackedCalls->add(QStringLiteral("AB1CD"));
    press(form->lstAcked, Qt::RightButton, 0);
    EXPECT_EQ(hintTexts(), std::vector<QString>{kSelectFirst});
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(form->lstAcked->selectedRow(), -1) << "a right press never selects";
}

TEST_F(Commands, RightPressActsOnTheSelectedEntryNotTheOneUnderThePointer) {
    form->ackedCalls->add(QStringLiteral("AB1CD"));
    form->ackedCalls->add(QStringLiteral("EF2GH"));
    form->lstAcked->selectRow(0);
    press(form->lstAcked, Qt::RightButton, 1);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], form->mnuPopup2);
    EXPECT_EQ(opened[0]->actions().size(), 1);
    EXPECT_EQ(form->ackedCalls->items(), QStringList{"EF2GH"});
    EXPECT_TRUE(shown.empty());
}

TEST_F(Commands, LeftClickSelectsWithoutHintAndRestartsTheAlarmTimer) {
    alarmLines({"AB1CD distance 3.5", "EF2GH distance 1."});
    const int starts = form->Timer1->startCount();
    press(form->lstStations, Qt::LeftButton, 1);
    EXPECT_EQ(form->lstStations->selectedRow(), 1);
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(form->Timer1->startCount(), starts + 1);
}

TEST_F(Commands, RightPressOnStationsAcknowledgesThroughItsMenu) {
    alarmLines({"AB1CD distance 3.5"});
    form->lstStations->selectRow(0);
    press(form->lstStations, Qt::RightButton, 0);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], form->mnuPopup1);
    EXPECT_EQ(form->ackedCalls->items(), QStringList{"AB1CD"});
    EXPECT_TRUE(form->Timer1->isEnabled());
}

TEST_F(Commands, WatchMenuDeletesTheSelectedOfTwoEqualEntries) {
    form->watchCalls->add(QStringLiteral("AB1CD"));
    form->watchCalls->add(QStringLiteral("AB1CD"));
    form->gblnShowWatchList = true;
    form->show_hide_watchlist();
    form->lstWatch->selectRow(1);
    press(form->lstWatch, Qt::RightButton, 0);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], form->mnuPopup3);
    EXPECT_EQ(form->watchCalls->items(), QStringList{"AB1CD"});
}

TEST_F(Commands, TypingUpperCasesDropsBlanksAndEnterAdds) {
    form->txtWatch->setFocus();
    QTest::keyClicks(form->txtWatch, QStringLiteral("ab 1 cd"));
    EXPECT_EQ(form->txtWatch->text(), "AB1CD");
    QTest::keyClick(form->txtWatch, Qt::Key_Return);
    EXPECT_EQ(form->watchCalls->items(), QStringList{"AB1CD"});
    EXPECT_EQ(form->txtWatch->text(), "");
    EXPECT_TRUE(shown.empty());
    QTest::keyClick(form->txtWatch, Qt::Key_Return);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "You're supposed to put a callsign in the box!");
    EXPECT_EQ(shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(shown[0].title, "Ringwarden");
    EXPECT_EQ(QApplication::focusWidget(), form->txtWatch);
}

TEST_F(Commands, AddingTwiceGivesTwoEntriesAtTheEnd) {
    form->watchCalls->add(QStringLiteral("ZZ9"));
    form->txtWatch->setText(QStringLiteral("AB1CD"));
    form->cmdAddWatch->click();
    form->txtWatch->setText(QStringLiteral("AB1CD"));
    form->cmdAddWatch->click();
    EXPECT_EQ(form->watchCalls->items(), (QStringList{"ZZ9", "AB1CD", "AB1CD"}));
}

struct PastedText {
    const char* name;
    QString text;
    QStringList expectedWatch; // empty: refused
};

class PastedWatchText : public Commands, public ::testing::WithParamInterface<PastedText> {};

TEST_P(PastedWatchText, IsAddedAsTypedOrRefusedWhenTheFileCannotCarryIt) {
    const PastedText& p = GetParam();
    form->txtWatch->setText(p.text);
    form->cmdAddWatch->click();
    EXPECT_EQ(form->watchCalls->items(), p.expectedWatch);
    if (p.expectedWatch.isEmpty()) {
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].icon, MessageIcon::Critical);
        EXPECT_EQ(form->txtWatch->text(), p.text) << "the operator's text stays to be mended";
    } else {
        EXPECT_TRUE(shown.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, PastedWatchText,
                         ::testing::Values(PastedText{"LowerCaseAndInnerBlankStay",
                                                      QStringLiteral("  ab cd "),
                                                      {"ab cd"}},
                                           PastedText{"Separator", QStringLiteral("AB|CD"), {}},
                                           PastedText{
                                               "CarriageReturn", QStringLiteral("AB\rCD"), {}},
                                           PastedText{"LineFeed", QStringLiteral("AB\nCD"), {}},
                                           PastedText{"OnlyBlanks", QStringLiteral("   "), {}}),
                         [](const auto& info) { return std::string(info.param.name); });

struct KeyCase {
    int typed;
    int expected;
};

class WatchKeyFilter : public Commands, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(WatchKeyFilter, TypedCharacterBecomes) {
    EXPECT_EQ(form->txtWatch_KeyPress(GetParam().typed), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Codes, WatchKeyFilter,
                         ::testing::Values(KeyCase{'a', 'A'}, KeyCase{'Z', 'Z'}, KeyCase{'1', '1'},
                                           KeyCase{' ', 0}, KeyCase{8, 8}, KeyCase{0xE9, 0xC9},
                                           KeyCase{0xFF, 0xFF}, KeyCase{0xDF, 0xDF}),
                         [](const auto& info) {
                             return "Code" + std::to_string(info.param.typed);
                         });

} // namespace
