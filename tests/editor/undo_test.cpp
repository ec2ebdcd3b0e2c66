// Undo stays with the card it was typed into: showing a card, New, Open and
// Close start every editor's undo history afresh; and a new card takes the
// focus to Title1.
#include "support/mainwindow_fixture.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <functional>

namespace {

class UndoTest : public MainWindowTest {
protected:
    // Two cards whose Title1, Topic, Code1 and Memo are empty alike.
    QString TwoEmptyCards()
    {
        CardRows rows(2);
        rows[0][CardIdCell] = QStringLiteral("id1");
        rows[1][CardIdCell] = QStringLiteral("id2");
        WriteCardFile(Path(QStringLiteral("two.kqk")), rows, 2, MainFileHeaderText);
        return Path(QStringLiteral("two.kqk"));
    }
    QString TextOf(QWidget* editor) const
    {
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            return line->text();
        return static_cast<QPlainTextEdit*>(editor)->toPlainText();
    }
};

TEST_F(UndoTest, NoUndoOrRedoReachesACardShownBefore)
{
    struct Move {
        const char* what;
        std::function<void()> act;
    };
    const Move moves[] = {
        {"previous card", [this] { QTest::keyClick(form->focusWidget(), Qt::Key_PageUp, Qt::ControlModifier); }},
        {"new card", [this] { QTest::keyClick(form->focusWidget(), Qt::Key_F5); }},
        {"close and new",
            [this] {
                platform.answers = {MsgAnswer::No};  // do not save
                form->Sulje1->trigger();
                QTest::keyClick(form, Qt::Key_N, Qt::ControlModifier);
            }},
    };
    const int cells[] = {0, 7, 10, MemoCell};  // a one-line box, another, an edit line, the Memo
    for (const Move& m : moves) {
        for (const int cell : cells) {
            SCOPED_TRACE(std::string(m.what) + ", cell " + std::to_string(cell));
            Start({TwoEmptyCards()});
            QWidget* editor = form->editors[static_cast<size_t>(cell)];
            editor->setFocus();
            QTest::keyClicks(editor, QStringLiteral("typed"));
            for (int i = 0; i < 5; ++i)
                QTest::keyClick(editor, Qt::Key_Backspace);
            ASSERT_EQ(TextOf(editor), QString());
            m.act();
            ASSERT_TRUE(store().FileOpen);
            editor = form->editors[static_cast<size_t>(cell)];
            editor->setFocus();
            QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
            EXPECT_EQ(TextOf(editor), QString());
            QTest::keyClick(editor, Qt::Key_Y, Qt::ControlModifier);
            QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
            EXPECT_EQ(TextOf(editor), QString());
            form->btnTallennaClick();
            for (int c = 0; c < store().CardCount; ++c)
                EXPECT_EQ(store().CardTable[static_cast<size_t>(c)][static_cast<size_t>(cell)], QString()) << c;
        }
    }
}

TEST_F(UndoTest, UndoStillWorksWithinTheCardShown)
{
    Start({TwoEmptyCards()});
    form->editKOODI1->setFocus();
    QTest::keyClicks(form->editKOODI1, QStringLiteral("ab"));
    QTest::keyClick(form->editKOODI1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form->editKOODI1->text(), QString());
    form->memoMUISTIINPANO->setFocus();
    QTest::keyClicks(form->memoMUISTIINPANO, QStringLiteral("cd"));
    QTest::keyClick(form->memoMUISTIINPANO, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form->memoMUISTIINPANO->toPlainText(), QString());
}

TEST_F(UndoTest, ANewCardTakesTheFocusToTitle1)
{
    Start({MakeFile(3)});
    struct Case {
        const char* what;
        std::function<void()> act;
    };
    const Case cases[] = {
        {"F5", [this] { QTest::keyClick(form->focusWidget(), Qt::Key_F5); }},
        {"New Ca&rd", [this] { QTest::keyClick(form->focusWidget(), Qt::Key_R, Qt::AltModifier); }},
        {"the menu entry", [this] { form->Liskortti1->trigger(); }},
    };
    int count = 3;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        form->memoMUISTIINPANO->setFocus();
        c.act();
        EXPECT_TRUE(QTest::qWaitFor([&] { return store().CardCount == count + 1; }, 1000));
        ++count;
        EXPECT_EQ(QApplication::focusWidget(), form->memoTUNNISTE);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("New"));
        EXPECT_EQ(form->memoTUNNISTE->Text(), QStringLiteral("New"));
    }
}

}  // namespace
