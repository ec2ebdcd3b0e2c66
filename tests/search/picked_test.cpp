// The picked cards window: the picked set shown read-only, moved through by
// buttons, keys, the wheel and Go, searched, filtered and sorted with the
// window's own groups, and discarded when the window closes.
#include "search_fixture.h"

#include "frm2uusi6.h"

#include <QAccessible>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>

namespace {

class PickedTest : public SearchTest {
protected:
    // Starts on n cards and runs act inside the picked cards window opened
    // on all of them ("<>" with an empty string picks every card).
    void WithAllPicked(int n, const std::function<void()>& act, const CardRows& rows = {})
    {
        if (!program || !rows.empty() || !store().FileOpen)
            StartWith(rows.empty() ? Rows(n) : rows);
        acts[QStringLiteral("Form3")] = act;
        form->fieldSearch->ComboBox2->setCurrentIndex(6);
        Type(form->fieldSearch->Edit1, QString());
        form->fieldSearch->btnPoimi->click();
        ASSERT_FALSE(opened.empty());
        opened.clear();
    }
    int ShownPicked() const { return form3->editKORTTINRO->text().toInt(); }
    void GoTo(int n)
    {
        form3->editKORTTINRO->setText(QString::number(n));
        form3->btnGo->click();
    }
    FieldSearchGroup* fieldFilter() const { return form3->fieldSearch; }
    BooleanSearchGroup* booleanFilter() const { return form3->booleanSearch; }
};

}  // namespace

TEST_F(PickedTest, ShowsThePickedCardReadOnlyWithItsOwnLabels)
{
    CardRows rows = Rows(3);
    for (int cell = 1; cell < MemoCell; ++cell)
        rows[1][static_cast<size_t>(cell)] = QStringLiteral("f%1").arg(cell + 1);
    rows[1][MemoCell] = QStringLiteral("line 1\r\nline 2");
    StartWith(rows);
    acts[QStringLiteral("Form3")] = [this] {
        EXPECT_EQ(form3->windowTitle(), QStringLiteral("Picked Cards  -  CARDOMO  0.5 beta"));
        EXPECT_EQ(form3->memoTUNNISTE->Text(), QStringLiteral("Card 2"));
        for (int cell = 1; cell < MemoCell; ++cell) {
            QWidget* e = form3->editors[static_cast<size_t>(cell)];
            const QString text =
                qobject_cast<OneLineBox*>(e) ? static_cast<OneLineBox*>(e)->Text() : static_cast<FieldLine*>(e)->Text();
            EXPECT_EQ(text, QStringLiteral("f%1").arg(cell + 1));
        }
        EXPECT_EQ(form3->memoMUISTIINPANO->Text(), QStringLiteral("line 1\r\nline 2"));
        EXPECT_EQ(form3->lblKorttitunnistenro->text(), QStringLiteral("19. Tunniste: id2"));
        EXPECT_EQ(form3->editKORTTINRO->text(), QStringLiteral("1"));
        EXPECT_EQ(form3->Label20->text(), QStringLiteral(" / 1"));
        // Nothing can be typed into the card.
        form3->Memo2->setFocus();
        QTest::keyClicks(form3->Memo2, QStringLiteral("zz"));
        form3->memoMUISTIINPANO->setFocus();
        QTest::keyClicks(form3->memoMUISTIINPANO, QStringLiteral("zz"));
        form3->Edit5->setFocus();
        QTest::keyClicks(form3->Edit5, QStringLiteral("zz"));
        EXPECT_EQ(form3->Memo2->Text(), QStringLiteral("f2"));
        EXPECT_EQ(form3->memoMUISTIINPANO->Text(), QStringLiteral("line 1\r\nline 2"));
        EXPECT_EQ(form3->Edit5->Text(), QStringLiteral("f4"));
        // A screen reader hears every field as read-only text it can read,
        // select and copy, never as an edit field.
        for (size_t cell = 0; cell < form3->editors.size(); ++cell) {
            SCOPED_TRACE(cell);
            QWidget* editor = form3->editors[cell];
            QAccessibleInterface* field = QAccessible::queryAccessibleInterface(editor);
            ASSERT_NE(field, nullptr);
            EXPECT_EQ(field->text(QAccessible::Name), form3->fieldLabels[cell]->text());
            EXPECT_TRUE(field->state().readOnly);
            EXPECT_FALSE(field->state().editable);
            EXPECT_TRUE(field->state().selectableText);
            if (qobject_cast<FieldLine*>(editor)) {
                EXPECT_EQ(field->editableTextInterface(), nullptr);  // nothing offers to change it
            }
            QAccessibleTextInterface* text = field->textInterface();
            ASSERT_NE(text, nullptr);
            if (cell < MemoCell) {
                EXPECT_EQ(text->text(0, text->characterCount()),
                    cell == 0 ? QStringLiteral("Card 2") : QStringLiteral("f%1").arg(cell + 1));
            }
            text->setSelection(0, 0, 2);
            int start = -1, end = -1;
            text->selection(0, &start, &end);
            EXPECT_EQ(start, 0);
            EXPECT_EQ(end, 2);
        }
        // Selected from the keyboard and copied, as any text.
        for (QWidget* editor : {static_cast<QWidget*>(form3->Edit5), static_cast<QWidget*>(form3->Memo2)}) {
            editor->setFocus();
            QApplication::clipboard()->clear();
            QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(editor, Qt::Key_C, Qt::ControlModifier);
            EXPECT_EQ(QApplication::clipboard()->text(),
                editor == form3->Edit5 ? QStringLiteral("f4") : QStringLiteral("f2"));
        }
    };
    form->fieldSearch->ComboBox1->setCurrentIndex(18);
    form->fieldSearch->ComboBox2->setCurrentIndex(5);
    Type(form->fieldSearch->Edit1, QStringLiteral("id2"));
    form->fieldSearch->btnPoimi->click();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(store().CardTable[1][1], QStringLiteral("f2"));
    EXPECT_FALSE(store().CardFileChanged);

    const QStringList labels = {"1. Title", "2. Title", "3. Title", "4.D", "5.Mo", "6. Year", "7. Page", "8. Topic",
        "9. Keywords", "10. File link", "11. Code1", "12. Code2", "13. Code3", "14.yyyy", "15.mm", "16.dd", "17.hh+mm",
        "18. Memo"};
    for (size_t cell = 0; cell < form3->fieldLabels.size(); ++cell) {
        EXPECT_EQ(form3->fieldLabels[cell]->text(), labels[static_cast<qsizetype>(cell)]);
        EXPECT_EQ(form3->fieldLabels[cell]->buddy(), form3->editors[cell]);
        EXPECT_EQ(form3->editors[cell]->geometry(), form->editors[cell]->geometry()) << cell;
    }
    EXPECT_EQ(form3->lblDateOfAction->text(), QStringLiteral("Date of action"));
    EXPECT_EQ(form3->Label10->text(), QStringLiteral("Card order number"));
}

TEST_F(PickedTest, NavigationByButtonsAndKeys)
{
    WithAllPicked(12, [this] {
        struct Case {
            const char* what;
            int from;
            std::function<void()> act;
            int to;
        };
        auto key = [this](Qt::Key k, Qt::KeyboardModifiers mods) { return [this, k, mods] { Key(form3, k, mods); }; };
        const Case cases[] = {
            {"opens on the last", 12, [] {}, 12},
            {"previous", 7, [this] { form3->btnTaakse->click(); }, 6},
            {"next", 7, [this] { form3->btnEteen->click(); }, 8},
            {"previous at the first", 1, [this] { form3->btnTaakse->click(); }, 1},
            {"next at the last", 12, [this] { form3->btnEteen->click(); }, 12},
            {"home", 7, [this] { form3->btnHome->click(); }, 1},
            {"end", 7, [this] { form3->btnEnd->click(); }, 12},
            {"10 back from 5", 5, [this] { form3->btn10taakse->click(); }, 1},
            {"10 forward from 5", 5, [this] { form3->btn10eteen->click(); }, 12},
            {"10 forward from 2", 2, [this] { form3->btn10eteen->click(); }, 12},
            {"10 forward from 1", 1, [this] { form3->btn10eteen->click(); }, 11},
            {"10 back from 12", 12, [this] { form3->btn10taakse->click(); }, 2},
            {"Ctrl+PageUp", 7, key(Qt::Key_PageUp, Qt::ControlModifier), 6},
            {"Ctrl+PageDown", 7, key(Qt::Key_PageDown, Qt::ControlModifier), 8},
            {"Alt+PageUp", 12, key(Qt::Key_PageUp, Qt::AltModifier), 2},
            {"Alt+PageDown", 1, key(Qt::Key_PageDown, Qt::AltModifier), 11},
            {"Alt+Home", 7, key(Qt::Key_Home, Qt::AltModifier), 1},
            {"Alt+End", 7, key(Qt::Key_End, Qt::AltModifier), 12},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            GoTo(c.from);
            form3->btnHome->setFocus();
            c.act();
            EXPECT_EQ(store().CurrentPicked, c.to - 1);
            EXPECT_EQ(ShownPicked(), c.to);
            EXPECT_EQ(form3->memoTUNNISTE->Text(), QStringLiteral("Card %1").arg(c.to));
            EXPECT_EQ(form3->Label20->text(), QStringLiteral(" / 12"));
        }
        // Alt and a marked letter press the button.
        GoTo(7);
        form3->btnHome->setFocus();
        QTest::keyClick(form3->btnHome, Qt::Key_N, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return ShownPicked() == 8; }, 1000));
    });
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(store().CurrentCard, 11);  // the main window did not move
}

TEST_F(PickedTest, GoToTheTypedNumber)
{
    WithAllPicked(12, [this] {
        struct Case {
            QString typed;
            int to;
            QString box;
        };
        for (const Case& c :
            {Case{"3", 3, "3"}, Case{"12", 12, "12"}, Case{"0", 5, "5"}, Case{"13", 5, "5"}, Case{"", 5, ""}}) {
            SCOPED_TRACE(c.typed.toStdString());
            GoTo(5);
            Type(form3->editKORTTINRO, c.typed);
            QTest::keyClick(form3->editKORTTINRO, Qt::Key_Return);
            EXPECT_EQ(store().CurrentPicked, c.to - 1);
            EXPECT_EQ(form3->editKORTTINRO->text(), c.box);
        }
        // Only digits and Backspace are typed.
        Type(form3->editKORTTINRO, QStringLiteral("1a-b2 x"));
        EXPECT_EQ(form3->editKORTTINRO->text(), QStringLiteral("12"));
        QTest::keyClick(form3->editKORTTINRO, Qt::Key_Backspace);
        EXPECT_EQ(form3->editKORTTINRO->text(), QStringLiteral("1"));
        form3->btnGo->click();
        EXPECT_EQ(ShownPicked(), 1);
        // A pasted text that is no number: the conversion error.
        form3->editKORTTINRO->setText(QStringLiteral("4x"));
        form3->btnGo->click();
        EXPECT_EQ(platform.Texts(), QStringList{QStringLiteral("'4x' is not a valid integer value")});
        EXPECT_EQ(store().CurrentPicked, 0);
    });
}

TEST_F(PickedTest, WheelMovesUnlessOverAFieldAChooserOrASearchString)
{
    WithAllPicked(12, [this] {
        GoTo(5);
        Wheel(form3->btnEteen, -120);
        EXPECT_EQ(ShownPicked(), 6);
        Wheel(form3->btnPoistu, 120);
        EXPECT_EQ(ShownPicked(), 5);
        Wheel(form3->Label10, -60);
        EXPECT_EQ(ShownPicked(), 5);
        Wheel(form3->Label20, -60);  // halves add up
        EXPECT_EQ(ShownPicked(), 6);
        Wheel(form3->editKORTTINRO, -360);
        EXPECT_EQ(ShownPicked(), 9);
        Wheel(form3->btnTaakse, 120 * 20);
        EXPECT_EQ(ShownPicked(), 1);
        std::vector<QWidget*> owners(form3->editors.begin(), form3->editors.end());
        owners.push_back(form3->memoMUISTIINPANO->viewport());
        for (const std::vector<QWidget*>& group :
            {fieldFilter()->WheelOwners(), booleanFilter()->WheelOwners(), form3->sortGroup->WheelOwners()})
            owners.insert(owners.end(), group.begin(), group.end());
        for (QWidget* w : owners) {
            Wheel(w, -240);
            EXPECT_EQ(ShownPicked(), 1) << w->objectName().toStdString();
        }
        Wheel(form3->sortGroup->btnLajittelu, -120);
        EXPECT_EQ(ShownPicked(), 2);
    });
    EXPECT_EQ(store().CurrentCard, 11);
}

TEST_F(PickedTest, ASetOfOneCard)
{
    StartWith(Rows(3));
    acts[QStringLiteral("Form3")] = [this] {
        fieldFilter()->ComboBox2->setCurrentIndex(6);  // "<>" with an empty string matches it
        booleanFilter()->ComboBox4->setCurrentIndex(1);
        Type(booleanFilter()->Edit2, QStringLiteral("Card"));
        for (QPushButton* b : {form3->btnTaakse, form3->btnEteen, form3->btnHome, form3->btnEnd, form3->btn10taakse,
                 form3->btn10eteen, fieldFilter()->btnSelaaeteen, fieldFilter()->btnSelaataakse,
                 booleanFilter()->btnSelaaboleteen, booleanFilter()->btnSelaaboltaakse}) {
            b->click();
            EXPECT_EQ(ShownPicked(), 1) << b->objectName().toStdString();
            EXPECT_EQ(form3->memoTUNNISTE->Text(), QStringLiteral("Card 2"));
        }
    };
    form->fieldSearch->ComboBox2->setCurrentIndex(5);
    Type(form->fieldSearch->Edit1, QStringLiteral("Card 2"));
    form->fieldSearch->btnPoimi->click();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(PickedTest, FindsOverThePickedSetWithTheWindowsOwnGroups)
{
    // Picked: cards 1 to 6; Topic x y x y z y.
    WithAllPicked(
        6,
        [this] {
            // The main window's one-field group is set to something else.
            fieldFilter()->ComboBox1->setCurrentIndex(7);
            Type(fieldFilter()->Edit1, QStringLiteral("y"));
            form3->btnHome->click();
            fieldFilter()->btnSelaaeteen->click();
            EXPECT_EQ(ShownPicked(), 2);
            fieldFilter()->btnSelaaeteen->click();
            EXPECT_EQ(ShownPicked(), 4);
            fieldFilter()->btnSelaaeteen->click();
            EXPECT_EQ(ShownPicked(), 6);
            EXPECT_TRUE(platform.messages.empty());
            fieldFilter()->btnSelaaeteen->click();  // at the last: silent
            EXPECT_TRUE(platform.messages.empty());
            fieldFilter()->btnSelaataakse->click();
            EXPECT_EQ(ShownPicked(), 4);
            Type(fieldFilter()->Edit1, QStringLiteral("z"));
            fieldFilter()->btnSelaataakse->click();
            EXPECT_EQ(ShownPicked(), 4);
            EXPECT_EQ(platform.Texts(), QStringList{QStringLiteral("Not found")});
            platform.Clear();
            // Boolean: Topic y AND Card ID 4.
            booleanFilter()->ComboBox3->setCurrentIndex(7);
            Type(booleanFilter()->Edit2, QStringLiteral("y"));
            booleanFilter()->ComboBox5->setCurrentIndex(18);
            Type(booleanFilter()->Edit3, QStringLiteral("6"));
            booleanFilter()->btnSelaaboleteen->click();
            EXPECT_EQ(ShownPicked(), 6);
            booleanFilter()->btnSelaaboltaakse->click();
            EXPECT_EQ(ShownPicked(), 6);
            EXPECT_EQ(platform.Texts(), QStringList{QStringLiteral("Not found")});
        },
        Rows(6, 8, {"x", "y", "x", "y", "z", "y"}));
    // The main window's groups kept their own values.
    EXPECT_EQ(form->fieldSearch->ComboBox1->currentIndex(), 0);
    EXPECT_EQ(form->fieldSearch->ComboBox2->currentIndex(), 6);
    EXPECT_TRUE(form->fieldSearch->Edit1->text().isEmpty());
    EXPECT_TRUE(form->booleanSearch->Edit2->text().isEmpty());
}

TEST_F(PickedTest, FiltersNarrowTheSetOrLeaveItWhenNothingMatches)
{
    WithAllPicked(
        6,
        [this] {
            fieldFilter()->ComboBox1->setCurrentIndex(7);
            // Nothing: "Not found", the set, its order and the shown card untouched.
            GoTo(3);
            Type(fieldFilter()->Edit1, QStringLiteral("q"));
            Key(form3, Qt::Key_F9);
            EXPECT_EQ(platform.Texts(), QStringList{QStringLiteral("Not found")});
            EXPECT_EQ(PickedTitles().size(), 6);
            EXPECT_EQ(ShownPicked(), 3);
            EXPECT_EQ(form3->Label20->text(), QStringLiteral(" / 6"));
            platform.Clear();
            // y: cards 2, 4, 6; shown is the last of them, once.
            Type(fieldFilter()->Edit1, QStringLiteral("y"));
            QTest::keyClick(fieldFilter()->Edit1, Qt::Key_Return);
            EXPECT_EQ(PickedTitles(), (QStringList{"Card 2", "Card 4", "Card 6"}));
            EXPECT_EQ(ShownPicked(), 3);
            EXPECT_EQ(form3->Label20->text(), QStringLiteral(" / 3"));
            EXPECT_EQ(form3->memoTUNNISTE->Text(), QStringLiteral("Card 6"));
            EXPECT_EQ(fieldFilter()->Edit1->text(), QStringLiteral("y"));
            // Boolean filter: Title1 contains 2 OR Title1 contains 4.
            booleanFilter()->ComboBox4->setCurrentIndex(1);
            Type(booleanFilter()->Edit2, QStringLiteral("2"));
            Type(booleanFilter()->Edit3, QStringLiteral("4"));
            Key(form3, Qt::Key_F10);
            EXPECT_EQ(PickedTitles(), (QStringList{"Card 2", "Card 4"}));
            EXPECT_EQ(form3->memoTUNNISTE->Text(), QStringLiteral("Card 4"));
            Type(booleanFilter()->Edit3, QStringLiteral("9"));
            booleanFilter()->btnBolpoimi->click();  // 2 OR 9
            EXPECT_EQ(PickedTitles(), QStringList{"Card 2"});
            Type(booleanFilter()->Edit2, QStringLiteral("7"));
            QTest::keyClick(booleanFilter()->Edit2, Qt::Key_Return);  // nothing
            EXPECT_EQ(PickedTitles(), QStringList{"Card 2"});
            EXPECT_EQ(platform.Texts(), QStringList{QStringLiteral("Not found")});
            platform.Clear();
            fieldFilter()->ComboBox2->setCurrentIndex(6);
            Type(fieldFilter()->Edit1, QString());
            fieldFilter()->btnPoimi->click();
            EXPECT_EQ(PickedTitles(), QStringList{"Card 2"});
            EXPECT_TRUE(store().PickedWindowActive);
        },
        Rows(6, 8, {"x", "y", "x", "y", "z", "y"}));
    // The card file was never touched.
    EXPECT_EQ(store().CardCount, 6);
    EXPECT_EQ(store().CardTable[5][0], QStringLiteral("Card 6"));
}

TEST_F(PickedTest, RangeFilterChecksAndNarrows)
{
    WithAllPicked(5, [this] {
        struct Case {
            QString first;
            QString last;
            QString message;
        };
        for (const Case& c : {Case{"", "2", "One of the fields is empty"},
                 Case{"0", "3", "The first index number can not be smaller than 1"},
                 Case{"3", "2", "The first index number can not be greater than the last index number"},
                 Case{"2", "6",
                     "The last index number can not be greater than the number of cards in "
                     "whole 5"}}) {
            SCOPED_TRACE(c.message.toStdString());
            platform.Clear();
            acts[QStringLiteral("Form13")] = [&] {
                Type(form13->Edit1, c.first);
                Type(form13->Edit2, c.last);
                QTest::keyClick(form13->Edit2, Qt::Key_Return);
                EXPECT_TRUE(form13->isVisible());
            };
            Key(form3, Qt::Key_F2);
            EXPECT_EQ(platform.Texts(), QStringList{c.message});
            EXPECT_EQ(PickedTitles().size(), 5);
        }
        platform.Clear();
        acts[QStringLiteral("Form13")] = [this] {
            form13->Edit1->setText(QStringLiteral("x2"));  // as a paste brings it
            Type(form13->Edit2, QStringLiteral("3"));
            form13->Button1->click();
        };
        form3->Suodatakorttialue1->trigger();
        EXPECT_EQ(platform.Texts(), QStringList{QStringLiteral("'x2' is not a valid integer value")});
        platform.Clear();
        acts[QStringLiteral("Form13")] = [this] {
            Type(form13->Edit1, QStringLiteral("2"));
            Type(form13->Edit2, QStringLiteral("3"));
            QTest::keyClick(form13->Edit2, Qt::Key_Return);
        };
        Key(form3, Qt::Key_F2);
        EXPECT_EQ(PickedTitles(), (QStringList{"Card 2", "Card 3"}));
        EXPECT_EQ(ShownPicked(), 2);
        EXPECT_EQ(form3->Label20->text(), QStringLiteral(" / 2"));
        EXPECT_EQ(form3->memoTUNNISTE->Text(), QStringLiteral("Card 3"));
        EXPECT_FALSE(form13->isVisible());
        EXPECT_EQ(form13->Edit1->text(), QStringLiteral("2"));
        EXPECT_EQ(form13->Edit2->text(), QStringLiteral("3"));
        EXPECT_TRUE(platform.messages.empty());
        EXPECT_TRUE(store().PickedWindowActive);
        // Esc empties its boxes and closes it.
        acts[QStringLiteral("Form13")] = [this] { QTest::keyClick(form13->Edit1, Qt::Key_Escape); };
        Key(form3, Qt::Key_F2);
        EXPECT_TRUE(form13->Edit1->text().isEmpty());
        EXPECT_TRUE(form13->Edit2->text().isEmpty());
        EXPECT_EQ(PickedTitles().size(), 2);
    });
}

TEST_F(PickedTest, SortingThePickedSetLeavesTheCardFileAlone)
{
    // Title3 values 10, 9, 100 of cards 1 to 3: as text 10 < 100 < 9.
    for (bool changed : {false, true}) {
        SCOPED_TRACE(changed);
        WithAllPicked(
            3,
            [this] {
                form3->sortGroup->keyChoosers[0]->setCurrentIndex(2);
                form3->btnHome->setFocus();
                Key(form3, Qt::Key_F11);
                EXPECT_EQ(PickedTitles(), (QStringList{"Card 1", "Card 3", "Card 2"}));
                EXPECT_EQ(ShownPicked(), 3);
                EXPECT_EQ(form3->memoTUNNISTE->Text(), QStringLiteral("Card 2"));
                form3->sortGroup->RadioButton2->click();
                form3->sortGroup->btnLajittelu->click();
                EXPECT_EQ(PickedTitles(), (QStringList{"Card 2", "Card 3", "Card 1"}));
                EXPECT_EQ(form3->memoTUNNISTE->Text(), QStringLiteral("Card 1"));
            },
            Rows(3, 3, {"10", "9", "100"}));
        if (changed)
            store().CardFileChanged = true;
        // Again with the flag set before: the picked sort leaves it as it was.
        const bool before = store().CardFileChanged;
        acts[QStringLiteral("Form3")] = [this] { Key(form3, Qt::Key_F11); };
        form->fieldSearch->btnPoimi->click();
        EXPECT_EQ(store().CardFileChanged, before);
        EXPECT_EQ(store().CardTable[0][0], QStringLiteral("Card 1"));
        EXPECT_EQ(store().CardTable[1][0], QStringLiteral("Card 2"));
    }
}

TEST_F(PickedTest, EachKeyOfTheWindowRunsItsCommandOnce)
{
    // Two picked cards with equal sort keys change places at every sort, and
    // "<>" with an empty string keeps both cards at every filter.
    WithAllPicked(2, [this] {
        for (QComboBox* c : form3->sortGroup->keyChoosers)
            c->setCurrentIndex(7);  // the empty Topic
        form3->btnHome->setFocus();
        Key(form3, Qt::Key_F11);
        EXPECT_EQ(PickedTitles(), (QStringList{"Card 2", "Card 1"}));
        Key(form3, Qt::Key_F11);
        EXPECT_EQ(PickedTitles(), (QStringList{"Card 1", "Card 2"}));
        fieldFilter()->ComboBox2->setCurrentIndex(1);  // "<" "Card 2": keeps Card 1 only
        Type(fieldFilter()->Edit1, QStringLiteral("Card 2"));
        form3->btnHome->setFocus();
        Key(form3, Qt::Key_F9);
        EXPECT_EQ(PickedTitles(), QStringList{"Card 1"});
        EXPECT_TRUE(platform.messages.empty());
        // F7 and F8 press the listing buttons, which are not there yet.
        Key(form3, Qt::Key_F7);
        Key(form3, Qt::Key_F8);
        EXPECT_TRUE(form3->isVisible());
        EXPECT_TRUE(platform.messages.empty());
    });
}

TEST_F(PickedTest, CloseDiscardsTheSetWhicheverWayItCloses)
{
    struct Case {
        const char* what;
        std::function<void(TForm3&)> close;
    };
    const Case cases[] = {
        {"&Close", [](TForm3& f) { f.btnPoistu->click(); }},
        {"Esc", [](TForm3& f) { Key(&f, Qt::Key_Escape); }},
        {"Alt+C", [](TForm3& f) { QTest::keyClick(f.btnHome, Qt::Key_C, Qt::AltModifier); }},
        {"menu entry", [](TForm3& f) { f.Suljelomake1->trigger(); }},
        {"title bar", [](TForm3& f) { f.close(); }},
    };
    StartWith(Rows(4));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        bool wasActive = false;
        bool closed = false;
        WithAllPicked(4, [&] {
            wasActive = store().PickedWindowActive;
            form3->btnHome->setFocus();
            c.close(*form3);
            closed = QTest::qWaitFor([&] { return !form3->isVisible(); }, 1000);
        });
        EXPECT_TRUE(wasActive);
        EXPECT_TRUE(closed);
        EXPECT_FALSE(store().PickedWindowActive);
        EXPECT_TRUE(store().PickedTable.empty());
        EXPECT_EQ(store().PickedCount, 4);
        EXPECT_EQ(platform.modalRuns, 1);
        platform.Clear();
    }
}

TEST_F(PickedTest, TheWindowsGroupsKeepTheirValuesFromOneSetToTheNext)
{
    StartWith(Rows(5, 8, {"a", "b", "a", "b", "a"}));
    acts[QStringLiteral("Form3")] = [this] {
        EXPECT_EQ(fieldFilter()->title(), QStringLiteral("FILTER FROM ONE FIELD"));
        EXPECT_EQ(booleanFilter()->title(), QStringLiteral("BOOLEAN FILTERING FROM TWO FIELDS"));
        EXPECT_EQ(form3->sortGroup->title(), QStringLiteral("Sorting order"));
        EXPECT_EQ(fieldFilter()->btnPoimi->text(), QStringLiteral("Filter F&9"));
        EXPECT_EQ(booleanFilter()->btnBolpoimi->text(), QStringLiteral("Filter F10"));
        EXPECT_EQ(form3->sortGroup->btnLajittelu->text(), QStringLiteral("SORT F11"));
        // The same first selections as the main window's groups.
        EXPECT_EQ(fieldFilter()->ComboBox1->currentIndex(), 0);
        EXPECT_EQ(fieldFilter()->ComboBox2->currentIndex(), 0);
        EXPECT_EQ(booleanFilter()->ComboBox4->currentText(), QStringLiteral("AND"));
        for (int k = 0; k < SortKeyCount; ++k)
            EXPECT_EQ(form3->sortGroup->keyChoosers[static_cast<size_t>(k)]->currentText(), QString::number(k + 1));
        EXPECT_TRUE(form3->sortGroup->RadioButton1->isChecked());
        // No length limit in this window.
        Type(fieldFilter()->Edit1, QString(200, u'q'));
        EXPECT_EQ(fieldFilter()->Edit1->text().size(), 200);
        fieldFilter()->ComboBox1->setCurrentIndex(7);
        fieldFilter()->ComboBox2->setCurrentIndex(5);
        Type(fieldFilter()->Edit1, QStringLiteral("b"));
        booleanFilter()->ComboBox4->setCurrentIndex(2);
        Type(booleanFilter()->Edit3, QStringLiteral("kept"));
        form3->sortGroup->keyChoosers[11]->setCurrentIndex(18);
        form3->sortGroup->RadioButton2->click();
    };
    form->fieldSearch->btnPoimi->click();  // "~" with an empty string: nothing
    EXPECT_TRUE(opened.empty());
    Type(form->fieldSearch->Edit1, QStringLiteral("Card"));
    form->fieldSearch->btnPoimi->click();
    ASSERT_EQ(opened.size(), 1u);
    // A new set: the window's choices are what the user left, and they work.
    std::vector<QStringList> afterFilter;
    acts[QStringLiteral("Form3")] = [&] {
        EXPECT_EQ(fieldFilter()->ComboBox1->currentIndex(), 7);
        EXPECT_EQ(fieldFilter()->ComboBox2->currentIndex(), 5);
        EXPECT_EQ(fieldFilter()->Edit1->text(), QStringLiteral("b"));
        EXPECT_EQ(booleanFilter()->ComboBox4->currentIndex(), 2);
        EXPECT_EQ(booleanFilter()->Edit3->text(), QStringLiteral("kept"));
        EXPECT_EQ(form3->sortGroup->keyChoosers[11]->currentText(), QStringLiteral("19"));
        EXPECT_TRUE(form3->sortGroup->RadioButton2->isChecked());
        fieldFilter()->btnPoimi->click();
        afterFilter.push_back(PickedTitles());
    };
    form->fieldSearch->btnPoimi->click();
    ASSERT_EQ(afterFilter.size(), 1u);
    EXPECT_EQ(afterFilter[0], (QStringList{"Card 2", "Card 4"}));
    // The main window's groups never saw those values.
    EXPECT_EQ(form->fieldSearch->ComboBox1->currentIndex(), 0);
    EXPECT_EQ(form->booleanSearch->ComboBox4->currentIndex(), 0);
    EXPECT_TRUE(form->booleanSearch->Edit3->text().isEmpty());
    EXPECT_TRUE(form->sortGroup->RadioButton1->isChecked());
}

TEST_F(PickedTest, OpenHandsTheFileLinkToTheShell)
{
    CardRows rows = Rows(2);
    rows[1][9] = QStringLiteral("https://example.org/notes");
    WithAllPicked(
        2, [this] { form3->Button1->click(); }, rows);
    EXPECT_EQ(platform.shellOpened, QStringList{QStringLiteral("https://example.org/notes")});
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(PickedTest, MenusAndTheButtonsOfTheListing)
{
    StartWith(Rows(2));
    struct Entry {
        QAction* action;
        const char* caption;
        QKeySequence shortcut;
        bool enabled;
    };
    const Entry entries[] = {
        {form3->Tallenna1, "Save As Card file", QKeySequence(Qt::CTRL | Qt::Key_R), true},
        {form3->Tallennanimell1, "Save As Text File", QKeySequence(Qt::CTRL | Qt::Key_K), true},
        {form3->Tallennatekstinsivunvaihdot1, "Save As Text (With Page Feeds)", QKeySequence(Qt::CTRL | Qt::Key_U),
            true},
        {form3->Esikatselu1, "Preview", QKeySequence(Qt::CTRL | Qt::Key_E), true},
        {form3->Tulosta1, "Print", QKeySequence(Qt::CTRL | Qt::Key_P), true},
        {form3->Suljelomake1, "Close The Form            ESC", QKeySequence(), true},
        {form3->Suodatakorttialue1, "Filter cards in order", QKeySequence(Qt::Key_F2), true},
        {form3->Kenttvalinnat1, "Select fields for listing", QKeySequence(Qt::Key_F4), true},
    };
    for (const Entry& e : entries) {
        SCOPED_TRACE(e.caption);
        EXPECT_EQ(e.action->text(), QString::fromLatin1(e.caption));
        EXPECT_EQ(e.action->shortcut(), e.shortcut);
        EXPECT_EQ(e.action->isEnabled(), e.enabled);
    }
    QStringList menus;
    for (QAction* top : form3->MainMenu1->actions())
        menus << top->text();
    EXPECT_EQ(menus, (QStringList{"Picked cards", "Tools", "Setup"}));
    QStringList picked;
    for (QAction* a : form3->Poimitutkortit1->actions())
        picked << a->objectName();
    EXPECT_EQ(picked,
        (QStringList{"Tallenna1", "Tallennanimell1", "Tallennatekstinsivunvaihdot1", "Esikatselu1", "Tulosta1",
            "Suljelomake1"}));
    struct ButtonText {
        QPushButton* button;
        const char* caption;
        const char* hint;
        bool enabled;
    };
    for (const ButtonText& b : {ButtonText{form3->btnListaus, "&List  F8", "Listing of picked cards", true},
             ButtonText{form3->Button2, "F&7", "List the current card", true},
             ButtonText{form3->PreviewBitBtn, "Previe&w", "", true}, ButtonText{form3->PrintBitBtn, "&Print", "", true},
             ButtonText{form3->btnPoistu, "&Close", "", true}, ButtonText{form3->Button1, "Open", "", true}}) {
        SCOPED_TRACE(b.caption);
        EXPECT_EQ(b.button->text(), QString::fromLatin1(b.caption));
        EXPECT_EQ(b.button->toolTip(), QString::fromLatin1(b.hint));
        EXPECT_EQ(b.button->isEnabled(), b.enabled);
    }
    // Created hidden, fixed in size, without minimise and maximise boxes.
    EXPECT_FALSE(form3->isVisible());
    EXPECT_EQ(form3->minimumSize(), form3->maximumSize());
    EXPECT_FALSE(form3->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(form3->windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(PickedTest, AWindowHiddenAndShownAgainGoesOnUntilItCloses)
{
    // A listing of the picked cards hides the window and shows it again; the
    // window's modal run then goes on with the same set.
    int runs = 0;
    WithAllPicked(3, [&] {
        ++runs;
        if (runs == 1) {
            form3->btnHome->click();
            form3->hide();
            form3->show();
            leaveOpen = true;  // still open: it runs again
            return;
        }
        EXPECT_EQ(ShownPicked(), 1);
        EXPECT_TRUE(store().PickedWindowActive);
        form3->btnPoistu->click();
    });
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(platform.modalRuns, 2);
    EXPECT_TRUE(store().PickedTable.empty());
}

TEST_F(PickedTest, ListingAndSavingAsTextRunFromThePickedWindow)
{
    QString listed;
    QStringList captions;
    WithAllPicked(3, [&] {
        acts[QStringLiteral("Form2")] = [&] {
            listed = program->windows().form2->ListingText();
            captions << program->windows().form2->windowTitle();
        };
        Key(form3, Qt::Key_F8);  // List picked cards
        form3->Button2->click();  // List current picked card
        // Save As Text File
        platform.fileAnswers = {Path(QStringLiteral("picked"))};
        Key(form3, Qt::Key_K, Qt::ControlModifier);
    });
    EXPECT_EQ(captions,
        (QStringList{
            "Listing of the picked cards - CARDOMO 0.5 beta", "Listing of the picked cards - CARDOMO 0.5 beta"}));
    EXPECT_TRUE(listed.startsWith(QStringLiteral("Cardomo 0.5 beta - Listing from the picking form   ")));
    const QByteArray saved = ReadBytes(Path(QStringLiteral("picked.txt")));
    EXPECT_TRUE(saved.startsWith("\xEF\xBB\xBF"
                                 "Cardomo 0.5 beta - Saving of the picked cards  "));
    EXPECT_TRUE(saved.contains("Number of the cards 3\r\n"));
    // The footer names the card file the cards were picked from.
    EXPECT_TRUE(saved.endsWith("\r\n\r\n" + Path(QStringLiteral("cards.kqk")).toUtf8()
        + "\r\n\r\n== Cardomo 0.5 beta (v.0.5.1.0.2) Note Card Software ==\r\n\r\n"));
}
