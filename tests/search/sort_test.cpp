// Sorting the card file from the main window's group "SORTING ORDER".
#include "search_fixture.h"

namespace {

class SortTest : public SearchTest {
protected:
    QStringList Titles() const
    {
        QStringList titles;
        for (int i = 0; i < store().CardCount; ++i)
            titles << store().CardTable[static_cast<size_t>(i)][0];
        return titles;
    }
    SortGroup* sortGroup() const { return form->sortGroup; }
};

}  // namespace

TEST_F(SortTest, SortsByTheChosenKeysAndShowsTheLastCard)
{
    // Title3 of cards 1 to 4.
    StartWith(Rows(4, 3, {"10", "9", "100", "B"}));
    ASSERT_FALSE(store().CardFileChanged);
    sortGroup()->keyChoosers[0]->setCurrentIndex(2);
    sortGroup()->btnLajittelu->click();
    // As text: 10, 100, 9, then B.
    EXPECT_EQ(Titles(), (QStringList{"Card 1", "Card 3", "Card 2", "Card 4"}));
    EXPECT_EQ(store().CurrentCard, 3);
    EXPECT_EQ(Shown(), 4);
    EXPECT_EQ(Title1(), QStringLiteral("Card 4"));
    EXPECT_EQ(form->Memo3->Text(), QStringLiteral("B"));
    EXPECT_TRUE(store().CardFileChanged);
    // Descending through F11: the reverse.
    sortGroup()->RadioButton2->click();
    form->memoTUNNISTE->setFocus();
    QTest::keyClick(form->memoTUNNISTE, Qt::Key_F11);
    EXPECT_EQ(Titles(), (QStringList{"Card 4", "Card 2", "Card 3", "Card 1"}));
    EXPECT_EQ(Title1(), QStringLiteral("Card 1"));
    // Card IDs travel with their cards.
    EXPECT_EQ(store().CardTable[0][CardIdCell], QStringLiteral("id4"));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(SortTest, UpperCaseBeforeLowerCaseAndTheMemoLineBreak)
{
    CardRows rows = Rows(3);
    rows[0][MemoCell] = QStringLiteral("ab");
    rows[1][MemoCell] = QStringLiteral("ab\r\nc");
    rows[2][MemoCell] = QStringLiteral("Ab");
    StartWith(rows);
    sortGroup()->keyChoosers[0]->setCurrentIndex(17);
    form->Lajittelu1->trigger();
    EXPECT_EQ(Titles(), (QStringList{"Card 3", "Card 2", "Card 1"}));
}

TEST_F(SortTest, EqualKeysChangePlacesAtEverySortSoEachKeyRunsOnce)
{
    // All twelve keys on the empty Topic: every key is equal.
    StartWith(Rows(2));
    for (QComboBox* c : sortGroup()->keyChoosers)
        c->setCurrentIndex(7);
    struct Case {
        const char* what;
        std::function<void()> sort;
    };
    const Case cases[] = {
        {"SORT  F11", [this] { sortGroup()->btnLajittelu->click(); }},
        {"F11", [this] { QTest::keyClick(form->memoTUNNISTE, Qt::Key_F11); }},
        {"Tools, Sorting", [this] { form->Lajittelu1->trigger(); }},
    };
    QStringList order = {"Card 1", "Card 2"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        form->memoTUNNISTE->setFocus();
        c.sort();
        std::swap(order[0], order[1]);
        EXPECT_EQ(Titles(), order);
        EXPECT_EQ(Shown(), 2);
    }
    // Three equal rows end as third, second, first; four as third, fourth, first, second.
    StartWith(Rows(3));
    for (QComboBox* c : sortGroup()->keyChoosers)
        c->setCurrentIndex(7);
    sortGroup()->btnLajittelu->click();
    EXPECT_EQ(Titles(), (QStringList{"Card 3", "Card 2", "Card 1"}));
    StartWith(Rows(4));
    for (QComboBox* c : sortGroup()->keyChoosers)
        c->setCurrentIndex(7);
    sortGroup()->btnLajittelu->click();
    EXPECT_EQ(Titles(), (QStringList{"Card 3", "Card 4", "Card 1", "Card 2"}));
    // b, a, b, a ascending: fourth, second, first, third.
    StartWith(Rows(4, 8, {"b", "a", "b", "a"}));
    for (QComboBox* c : sortGroup()->keyChoosers)
        c->setCurrentIndex(7);
    sortGroup()->btnLajittelu->click();
    EXPECT_EQ(Titles(), (QStringList{"Card 4", "Card 2", "Card 1", "Card 3"}));
}

TEST_F(SortTest, TheShownCardIsStoredBeforeTheSort)
{
    StartWith(Rows(3, 8, {"b", "c", "a"}));
    for (QComboBox* c : sortGroup()->keyChoosers)
        c->setCurrentIndex(7);
    form->btnHome->click();
    form->memoASIASANAT1->SetText(QString());
    form->memoASIASANAT1->setFocus();
    QTest::keyClicks(form->memoASIASANAT1, QStringLiteral("z"));  // card 1 now sorts last
    sortGroup()->btnLajittelu->click();
    EXPECT_EQ(Titles(), (QStringList{"Card 3", "Card 2", "Card 1"}));
    EXPECT_EQ(Title1(), QStringLiteral("Card 1"));
    EXPECT_EQ(form->memoASIASANAT1->Text(), QStringLiteral("z"));
}

TEST_F(SortTest, OneCardStaysAndIsShown)
{
    StartWith(Rows(1));
    sortGroup()->btnLajittelu->click();
    EXPECT_EQ(Titles(), QStringList{"Card 1"});
    EXPECT_EQ(Shown(), 1);
    EXPECT_EQ(form->Label23->text(), QStringLiteral(" / 1"));
}

TEST_F(SortTest, TheGroupStartsOnFieldsOneToTwelveAscending)
{
    StartWith(Rows(1));
    for (int k = 0; k < SortKeyCount; ++k) {
        QComboBox* c = sortGroup()->keyChoosers[static_cast<size_t>(k)];
        EXPECT_EQ(c->objectName(), QStringLiteral("ComboBox%1").arg(6 + k));
        EXPECT_EQ(c->count(), 19);
        EXPECT_EQ(c->itemText(0), QStringLiteral("1"));
        EXPECT_EQ(c->itemText(18), QStringLiteral("19"));
        EXPECT_EQ(c->currentText(), QString::number(k + 1));
        EXPECT_FALSE(c->isEditable());
    }
    // Two rows of six: key 1 at the top left, key 12 at the bottom right.
    const auto& keys = sortGroup()->keyChoosers;
    EXPECT_EQ(keys[0]->y(), keys[5]->y());
    EXPECT_LT(keys[0]->x(), keys[5]->x());
    EXPECT_GT(keys[6]->y(), keys[0]->y());
    EXPECT_EQ(keys[6]->x(), keys[0]->x());
    EXPECT_EQ(keys[11]->x(), keys[5]->x());
    EXPECT_EQ(sortGroup()->RadioButton1->text(), QStringLiteral("Ascending"));
    EXPECT_EQ(sortGroup()->RadioButton2->text(), QStringLiteral("Descending"));
    EXPECT_TRUE(sortGroup()->RadioButton1->isChecked());
    EXPECT_FALSE(sortGroup()->RadioButton2->isChecked());
}
