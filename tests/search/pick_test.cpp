// Picking from the main window: by the one-field test, by the Boolean test
// and by a range of order numbers in the card picking window; the picked
// cards window opens on the last picked card.
#include "search_fixture.h"

#include <QApplication>
#include <QClipboard>

namespace {

class PickTest : public SearchTest {
protected:
    FieldSearchGroup* fieldSearch() const { return form->fieldSearch; }
    BooleanSearchGroup* booleanSearch() const { return form->booleanSearch; }

    // Runs the card picking window with these box texts typed, pressing
    // Enter in the last box unless another act is given.
    void RangePick(const QString& first, const QString& last)
    {
        acts[QStringLiteral("Form11")] = [this, first, last] {
            Type(form11->Edit1, first);
            Type(form11->Edit2, last);
            QTest::keyClick(form11->Edit2, Qt::Key_Return);
        };
        QTest::keyClick(form->memoTUNNISTE, Qt::Key_F2);
    }
};

}  // namespace

TEST_F(PickTest, PickOpensThePickedCardsWindowOnTheLastPickedCard)
{
    // Code1 holds "pick" in cards 2, 5 and 9 of 10.
    QStringList code1(10);
    for (int k : {2, 5, 9})
        code1[k - 1] = QStringLiteral("pick");
    StartWith(Rows(10, 11, code1));
    fieldSearch()->ComboBox1->setCurrentIndex(10);
    Type(fieldSearch()->Edit1, QStringLiteral("pick"));
    fieldSearch()->btnPoimi->click();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].number, QStringLiteral("3"));
    EXPECT_EQ(opened[0].count, QStringLiteral(" / 3"));
    EXPECT_EQ(opened[0].title1, QStringLiteral("Card 9"));
    EXPECT_EQ(opened[0].picked, (QStringList{"Card 2", "Card 5", "Card 9"}));
    EXPECT_TRUE(platform.messages.empty());
    // Closing discarded the set; the main window is as it was.
    EXPECT_FALSE(store().PickedWindowActive);
    EXPECT_TRUE(store().PickedTable.empty());
    EXPECT_EQ(store().PickedCount, 3);
    EXPECT_EQ(store().CurrentCard, 9);
    EXPECT_FALSE(store().CardFileChanged);
}

TEST_F(PickTest, EveryWayToPickRunsThePickOnce)
{
    StartWith(Rows(4, 8, {"a", "b", "a", "b"}));
    fieldSearch()->ComboBox1->setCurrentIndex(7);
    booleanSearch()->ComboBox3->setCurrentIndex(7);
    booleanSearch()->ComboBox4->setCurrentIndex(1);  // OR
    booleanSearch()->ComboBox5->setCurrentIndex(0);
    Type(fieldSearch()->Edit1, QStringLiteral("a"));
    Type(booleanSearch()->Edit2, QStringLiteral("b"));
    Type(booleanSearch()->Edit3, QStringLiteral("Card 3"));
    struct Case {
        const char* what;
        std::function<void()> start;
        QStringList picked;
    };
    const QStringList byField = {"Card 1", "Card 3"};
    const QStringList byBoolean = {"Card 2", "Card 3", "Card 4"};
    const Case cases[] = {
        {"PI&CK F9", [this] { fieldSearch()->btnPoimi->click(); }, byField},
        {"F9", [this] { QTest::keyClick(form->memoTUNNISTE, Qt::Key_F9); }, byField},
        {"Tools, Pick", [this] { form->Poiminta2->trigger(); }, byField},
        {"Enter in the search string",
            [this] {
                fieldSearch()->Edit1->setFocus();
                QTest::keyClick(fieldSearch()->Edit1, Qt::Key_Return);
            },
            byField},
        {"PIC&K F10", [this] { booleanSearch()->btnBolpoimi->click(); }, byBoolean},
        {"F10", [this] { QTest::keyClick(form->memoTUNNISTE, Qt::Key_F10); }, byBoolean},
        {"Tools, Pick by Boolean Search", [this] { form->Booleanpoiminta2->trigger(); }, byBoolean},
        {"Enter in the first Boolean string",
            [this] {
                booleanSearch()->Edit2->setFocus();
                QTest::keyClick(booleanSearch()->Edit2, Qt::Key_Return);
            },
            byBoolean},
        {"Enter in the second Boolean string",
            [this] {
                booleanSearch()->Edit3->setFocus();
                QTest::keyClick(booleanSearch()->Edit3, Qt::Key_Return);
            },
            byBoolean},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        opened.clear();
        form->memoTUNNISTE->setFocus();
        c.start();
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_EQ(opened[0].picked, c.picked);
        EXPECT_EQ(opened[0].number, QString::number(c.picked.size()));
        EXPECT_TRUE(platform.messages.empty());
        EXPECT_EQ(fieldSearch()->Edit1->text(), QStringLiteral("a"));  // Enter typed nothing
        EXPECT_EQ(booleanSearch()->Edit2->text(), QStringLiteral("b"));
    }
}

TEST_F(PickTest, PickEdgeCases)
{
    StartWith(Rows(5, 8, {"one", "two", "three", "four", "five"}));
    fieldSearch()->ComboBox1->setCurrentIndex(7);

    // One card: 1 of 1.
    Type(fieldSearch()->Edit1, QStringLiteral("hre"));
    fieldSearch()->btnPoimi->click();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].number, QStringLiteral("1"));
    EXPECT_EQ(opened[0].count, QStringLiteral(" / 1"));
    EXPECT_EQ(opened[0].title1, QStringLiteral("Card 3"));

    // "<>" with an empty string: every card, in card file order.
    opened.clear();
    fieldSearch()->ComboBox2->setCurrentIndex(6);
    Type(fieldSearch()->Edit1, QString());
    fieldSearch()->btnPoimi->click();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].picked, (QStringList{"Card 1", "Card 2", "Card 3", "Card 4", "Card 5"}));
    EXPECT_EQ(opened[0].number, QStringLiteral("5"));

    // Nothing found: "Not found", no window, the counters as they were.
    opened.clear();
    store().PickedCount = 7;
    store().CurrentPicked = 4;
    fieldSearch()->ComboBox2->setCurrentIndex(0);
    Type(fieldSearch()->Edit1, QStringLiteral("six"));
    fieldSearch()->btnPoimi->click();
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(platform.Texts(), QStringList{QStringLiteral("Not found")});
    EXPECT_EQ(store().PickedCount, 7);
    EXPECT_EQ(store().CurrentPicked, 4);
    EXPECT_EQ(platform.modalRuns, 2);
}

TEST_F(PickTest, BooleanConnectivesThroughTheGroup)
{
    // Topic and Keywords of cards 1 to 4: (A, B) = (0,0), (0,1), (1,0), (1,1).
    CardRows rows = Rows(4);
    const char* topics[] = {"x", "x", "red", "red"};
    const char* keywords[] = {"y", "dog", "y", "dog"};
    for (size_t i = 0; i < 4; ++i) {
        rows[i][7] = QString::fromLatin1(topics[i]);
        rows[i][8] = QString::fromLatin1(keywords[i]);
    }
    StartWith(rows);
    booleanSearch()->ComboBox3->setCurrentIndex(7);
    booleanSearch()->ComboBox5->setCurrentIndex(8);
    struct Case {
        const char* first;
        int connective;
        const char* second;
        QStringList picked;  // empty: "Not found"
    };
    const Case cases[] = {
        {"red", 0, "dog", {"Card 4"}},
        {"red", 1, "dog", {"Card 2", "Card 3", "Card 4"}},
        {"red", 2, "dog", {"Card 2", "Card 3"}},
        {"red", 3, "dog", {"Card 3"}},
        // Both strings empty: nothing under any connective.
        {"", 0, "", {}},
        {"", 1, "", {}},
        {"", 2, "", {}},
        {"", 3, "", {}},
        // Second string empty: AND nothing, the others the first half.
        {"red", 0, "", {}},
        {"red", 1, "", {"Card 3", "Card 4"}},
        {"red", 2, "", {"Card 3", "Card 4"}},
        {"red", 3, "", {"Card 3", "Card 4"}},
        // First string empty: AND and NOT nothing, OR and XOR the second half.
        {"", 0, "dog", {}},
        {"", 1, "dog", {"Card 2", "Card 4"}},
        {"", 2, "dog", {"Card 2", "Card 4"}},
        {"", 3, "dog", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.first) + " " + std::to_string(c.connective) + " " + c.second);
        opened.clear();
        platform.Clear();
        booleanSearch()->ComboBox4->setCurrentIndex(c.connective);
        Type(booleanSearch()->Edit2, QString::fromLatin1(c.first));
        Type(booleanSearch()->Edit3, QString::fromLatin1(c.second));
        booleanSearch()->btnBolpoimi->click();
        if (c.picked.isEmpty()) {
            EXPECT_TRUE(opened.empty());
            EXPECT_EQ(platform.Texts(), QStringList{QStringLiteral("Not found")});
        } else {
            ASSERT_EQ(opened.size(), 1u);
            EXPECT_EQ(opened[0].picked, c.picked);
            EXPECT_TRUE(platform.messages.empty());
        }
    }
    // The same field in both halves with AND: both strings, in any order,
    // overlapping too.
    StartWith(Rows(4, 8, {"abc", "cab", "ab", "bc"}));
    booleanSearch()->ComboBox3->setCurrentIndex(7);
    booleanSearch()->ComboBox5->setCurrentIndex(7);
    Type(booleanSearch()->Edit2, QStringLiteral("ab"));
    Type(booleanSearch()->Edit3, QStringLiteral("bc"));
    booleanSearch()->btnBolpoimi->click();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].picked, QStringList{"Card 1"});
}

TEST_F(PickTest, RangePickChecksInOrderWithTheirMessages)
{
    StartWith(Rows(12));
    struct Case {
        QString first;
        QString last;
        QString message;
    };
    const Case refused[] = {
        {"", "3", "One of the fields is empty"},
        {"3", "", "One of the fields is empty"},
        {"0", "", "One of the fields is empty"},
        {"0", "99", "The first index number can not be smaller than 1"},
        {"0", "0", "The first index number can not be smaller than 1"},
        {"3", "2", "The first index number can not be greater than the last index number"},
        {"1", "13", "The last index number can not be greater than the number of cards in whole 12"},
        {"13", "14", "The last index number can not be greater than the number of cards in whole 12"},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE((c.first + u'|' + c.last).toStdString());
        platform.Clear();
        bool stayedOpen = false;
        acts[QStringLiteral("Form11")] = [&] {
            Type(form11->Edit1, c.first);
            Type(form11->Edit2, c.last);
            QTest::keyClick(form11->Edit2, Qt::Key_Return);
            stayedOpen = form11->isVisible();
        };
        QTest::keyClick(form->memoTUNNISTE, Qt::Key_F2);
        EXPECT_EQ(platform.Texts(), QStringList{c.message});
        EXPECT_TRUE(stayedOpen);
        EXPECT_TRUE(opened.empty());
        EXPECT_EQ(platform.modalRuns, 1);
    }
    // The whole card file, and one card.
    platform.Clear();
    RangePick(QStringLiteral("1"), QStringLiteral("12"));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].picked.size(), 12);
    EXPECT_EQ(opened[0].number, QStringLiteral("12"));
    EXPECT_EQ(opened[0].title1, QStringLiteral("Card 12"));
    RangePick(QStringLiteral("4"), QStringLiteral("4"));
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1].picked, QStringList{"Card 4"});
    EXPECT_EQ(opened[1].count, QStringLiteral(" / 1"));
    RangePick(QStringLiteral("3"), QStringLiteral("6"));
    ASSERT_EQ(opened.size(), 3u);
    EXPECT_EQ(opened[2].picked, (QStringList{"Card 3", "Card 4", "Card 5", "Card 6"}));
    EXPECT_EQ(opened[2].title1, QStringLiteral("Card 6"));
    // The window closed after the picked cards window; the boxes keep their numbers.
    EXPECT_FALSE(form11->isVisible());
    EXPECT_EQ(form11->Edit1->text(), QStringLiteral("3"));
    EXPECT_EQ(form11->Edit2->text(), QStringLiteral("6"));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(PickTest, RangePickStoresTheShownCardFirst)
{
    StartWith(Rows(3));
    form->memoASIASANAT1->setFocus();
    QTest::keyClicks(form->memoASIASANAT1, QStringLiteral("typed"));
    RangePick(QStringLiteral("3"), QStringLiteral("3"));
    ASSERT_EQ(opened.size(), 1u);
    ASSERT_EQ(store().CardTable[2][7], QStringLiteral("typed"));
    // The picked copy holds it too.
    StartWith(Rows(3));
    QString picked;
    acts[QStringLiteral("Form3")] = [&] { picked = form3->memoASIASANAT1->Text(); };
    form->memoASIASANAT1->setFocus();
    QTest::keyClicks(form->memoASIASANAT1, QStringLiteral("typed"));
    RangePick(QStringLiteral("2"), QStringLiteral("3"));
    EXPECT_EQ(picked, QStringLiteral("typed"));
}

TEST_F(PickTest, ATextThatIsNoNumberEndsTheRangePickWithTheConversionError)
{
    StartWith(Rows(12));
    struct Case {
        QString first;
        QString last;
        QString message;
    };
    // The two boxes are read before the checks of their values.
    for (const Case& c :
        {Case{"1x", "3", "'1x' is not a valid integer value"}, Case{"0", "x", "'x' is not a valid integer value"},
            Case{"2", "99999999999", "'99999999999' is not a valid integer value"}}) {
        SCOPED_TRACE(c.message.toStdString());
        platform.Clear();
        acts[QStringLiteral("Form11")] = [&] {
            // As a paste from the box's menu brings them in.
            form11->Edit1->setText(c.first);
            form11->Edit2->setText(c.last);
            form11->Button1->click();
        };
        QTest::keyClick(form->memoTUNNISTE, Qt::Key_F2);
        EXPECT_EQ(platform.Texts(), QStringList{c.message});
        EXPECT_TRUE(opened.empty());
        EXPECT_FALSE(store().PickedWindowActive);
    }
}

TEST_F(PickTest, RangeBoxesTakeDigitsAndBackspaceAndEscEmptiesThem)
{
    StartWith(Rows(12));
    acts[QStringLiteral("Form11")] = [this] {
        EXPECT_EQ(form11->windowTitle(), QStringLiteral("Card picking - CARDOMO  0.5 beta"));
        form11->Edit1->setFocus();
        QTest::keyClicks(form11->Edit1, QStringLiteral("1a-2 b"));
        EXPECT_EQ(form11->Edit1->text(), QStringLiteral("12"));
        QTest::keyClick(form11->Edit1, Qt::Key_Backspace);
        EXPECT_EQ(form11->Edit1->text(), QStringLiteral("1"));
        // A paste from the keyboard is dropped too.
        QApplication::clipboard()->setText(QStringLiteral("7x"));
        QTest::keyClick(form11->Edit1, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(form11->Edit1->text(), QStringLiteral("1"));
        Type(form11->Edit2, QStringLiteral("5"));
    };
    QTest::keyClick(form->memoTUNNISTE, Qt::Key_F2);
    // Closed by its close box: the boxes keep their numbers.
    EXPECT_EQ(form11->Edit1->text(), QStringLiteral("1"));
    EXPECT_EQ(form11->Edit2->text(), QStringLiteral("5"));
    EXPECT_TRUE(opened.empty());

    // Esc, wherever the focus is, empties both boxes and closes.
    for (int focus = 0; focus < 3; ++focus) {
        bool closed = false;
        acts[QStringLiteral("Form11")] = [&] {
            Type(form11->Edit1, QStringLiteral("2"));
            Type(form11->Edit2, QStringLiteral("4"));
            QWidget* at = focus == 0 ? static_cast<QWidget*>(form11->Edit1)
                : focus == 1         ? static_cast<QWidget*>(form11->Edit2)
                                     : static_cast<QWidget*>(form11->Button1);
            at->setFocus();
            QTest::keyClick(at, Qt::Key_Escape);
            closed = !form11->isVisible();
        };
        Key(form, Qt::Key_F2);
        EXPECT_TRUE(closed) << focus;
        EXPECT_TRUE(form11->Edit1->text().isEmpty());
        EXPECT_TRUE(form11->Edit2->text().isEmpty());
    }
    // So does its close button.
    acts[QStringLiteral("Form11")] = [this] {
        Type(form11->Edit1, QStringLiteral("2"));
        form11->Button2->click();
    };
    form->Poimikorttialue1->trigger();
    EXPECT_TRUE(form11->Edit1->text().isEmpty());
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(PickTest, ThePickingWindowsControlsAndTexts)
{
    StartWith(Rows(2));
    EXPECT_EQ(form11->Label1->text(), QStringLiteral("Picking up the cards by the index number"));
    EXPECT_EQ(form11->Label2->text(), QStringLiteral("The First"));
    EXPECT_EQ(form11->Label3->text(), QStringLiteral("The Last"));
    EXPECT_EQ(form11->Label4->text(), QStringLiteral("Start index"));
    EXPECT_EQ(form11->Label5->text(), QStringLiteral("End index"));
    ASSERT_NE(form11->Label6, nullptr);
    EXPECT_EQ(form11->Label6->text(), QStringLiteral("to"));
    EXPECT_EQ(form11->Edit1->toolTip(), QStringLiteral("The first card to pick"));
    EXPECT_EQ(form11->Edit2->toolTip(), QStringLiteral("The last card to pick"));
    EXPECT_EQ(form11->Button1->text(), QStringLiteral("&Pick"));
    EXPECT_EQ(form11->Button2->text(), QStringLiteral("Clo&se   ESC"));
    EXPECT_EQ(form11->Label2->buddy(), form11->Edit1);
    EXPECT_EQ(form11->Label3->buddy(), form11->Edit2);
    EXPECT_TRUE(form11->Edit1->text().isEmpty());
    EXPECT_TRUE(form11->Edit2->text().isEmpty());
    EXPECT_EQ(form13->windowTitle(), QStringLiteral("Card Filtering - CARDOMO  0.5 beta"));
    EXPECT_EQ(form13->Label1->text(), QStringLiteral("Filtering the cards by index number"));
    EXPECT_EQ(form13->Label2->text(), QStringLiteral("The first"));
    EXPECT_EQ(form13->Label3->text(), QStringLiteral("The last"));
    EXPECT_EQ(form13->Label4->text(), QStringLiteral("Start index:"));
    EXPECT_EQ(form13->Label5->text(), QStringLiteral("End index:"));
    EXPECT_EQ(form13->Label6, nullptr);
    EXPECT_EQ(form13->Edit1->toolTip(), QStringLiteral("The first card to filter"));
    EXPECT_EQ(form13->Edit2->toolTip(), QStringLiteral("The last card to filter"));
    EXPECT_EQ(form13->Button1->text(), QStringLiteral("&Filter"));
    EXPECT_EQ(form13->Button2->text(), QStringLiteral("Clo&se  ESC"));
    for (QDialog* d : {static_cast<QDialog*>(form11), static_cast<QDialog*>(form13)}) {
        EXPECT_FALSE(d->isVisible());
        EXPECT_EQ(d->minimumSize(), d->maximumSize());
        EXPECT_FALSE(d->windowFlags() & Qt::WindowMinimizeButtonHint);
        EXPECT_FALSE(d->windowFlags() & Qt::WindowMaximizeButtonHint);
    }
}
