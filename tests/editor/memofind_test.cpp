// Finding text in the Memo with the find window.
#include "support/mainwindow_fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

class MemoFindTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        Start();
        // The selection while the match is shown, recorded at the wait.
        platform.onWait = [this](int) { selectedDuringWait << form->memoMUISTIINPANO->textCursor().selectedText(); };
    }
    void SetMemo(const QString& text)
    {
        form->memoMUISTIINPANO->SetText(text);
        form->memoMUISTIINPANO->setFocus();
        QTest::keyClick(form, Qt::Key_F, Qt::ControlModifier);
    }
    void Find(const QString& what)
    {
        form15->Edit1->setText(what);
        form15->Button1->click();
    }
    int Caret() const { return form->memoMUISTIINPANO->textCursor().position(); }
    bool HasSelection() const { return form->memoMUISTIINPANO->textCursor().hasSelection(); }

    QStringList selectedDuringWait;
};

}  // namespace

TEST_F(MemoFindTest, FindWindowLooksAsItShould)
{
    SetMemo(QStringLiteral("x"));
    EXPECT_TRUE(form15->isVisible());
    EXPECT_FALSE(form15->isModal());
    EXPECT_EQ(form15->windowTitle(), QStringLiteral("Find From the Memo Field"));
    EXPECT_EQ(form15->size(), QSize(399, 133));
    EXPECT_EQ(form15->pos(), QPoint(800, 257));
    EXPECT_EQ(form15->focusWidget(), form15->Edit1);
    EXPECT_EQ(form15->Label1->text(), QStringLiteral("Find what:"));
    EXPECT_EQ(form15->Label1->pos(), QPoint(16, 35));
    EXPECT_EQ(form15->Edit1->geometry(), QRect(81, 32, 201, 21));
    EXPECT_EQ(form15->Edit1->toolTip(),
        QStringLiteral("The search is case sensitive and it is performed from the cursor forward"));
    EXPECT_EQ(form15->Button1->text(), QStringLiteral("Find Next"));
    EXPECT_EQ(form15->Button1->geometry(), QRect(304, 30, 75, 25));
    EXPECT_EQ(form15->Button2->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(form15->Button2->geometry(), QRect(304, 80, 75, 25));
}

TEST_F(MemoFindTest, FindsForwardWithoutWrapping)
{
    SetMemo(QStringLiteral("abc abc"));
    form->memoMUISTIINPANO->moveCursor(QTextCursor::End);
    QTest::keyClick(form, Qt::Key_F, Qt::ControlModifier);  // Ctrl+F starts again at 0
    EXPECT_EQ(Caret(), 0);
    Find(QStringLiteral("abc"));
    EXPECT_EQ(Caret(), 3);
    EXPECT_FALSE(HasSelection());
    Find(QStringLiteral("abc"));
    EXPECT_EQ(Caret(), 7);
    Find(QStringLiteral("abc"));
    EXPECT_EQ(selectedDuringWait, (QStringList{"abc", "abc"}));
    EXPECT_EQ(platform.waits, (std::vector<int>{280, 280}));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, QStringLiteral("String \"abc\" not found"));
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::Information);
    EXPECT_EQ(Caret(), 7);
}

TEST_F(MemoFindTest, CaseCountsAndEmptyTextIsNeverFound)
{
    SetMemo(QStringLiteral("abc"));
    Find(QStringLiteral("Abc"));
    Find(QString());
    EXPECT_EQ(platform.Texts(), (QStringList{"String \"Abc\" not found", "String \"\" not found"}));
    EXPECT_TRUE(platform.waits.empty());
}

TEST_F(MemoFindTest, SearchStartsAfterTheSelectionAndCountsLineBreaks)
{
    SetMemo(QStringLiteral("ab\r\nab\r\nxab"));
    QTextCursor c = form->memoMUISTIINPANO->textCursor();
    c.setPosition(0);
    c.setPosition(4, QTextCursor::KeepAnchor);  // "ab", the break and "a"
    form->memoMUISTIINPANO->setTextCursor(c);
    Find(QStringLiteral("ab"));
    EXPECT_EQ(selectedDuringWait, QStringList{QStringLiteral("ab")});
    EXPECT_EQ(Caret(), 9);  // after "xab": it ends at 11 in the text with CR LF breaks
    EXPECT_EQ(form->memoMUISTIINPANO->toPlainText().left(Caret()), QStringLiteral("ab\nab\nxab"));
}

TEST_F(MemoFindTest, F3AndCtrlDWorkWithTheWindowClosed)
{
    SetMemo(QStringLiteral("one two one two"));
    Find(QStringLiteral("two"));
    QTest::keyClick(form15, Qt::Key_Escape);
    EXPECT_FALSE(form15->isVisible());
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    form->memoMUISTIINPANO->setFocus();
    QTest::keyClick(form->memoMUISTIINPANO, Qt::Key_F3);
    EXPECT_EQ(Caret(), 15);
    QTest::keyClick(form->memoMUISTIINPANO, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(platform.Texts(), QStringList{QStringLiteral("String \"two\" not found")});
    EXPECT_EQ(form15->Edit1->text(), QStringLiteral("two"));

    // Enter in the text box finds; Cancel closes.
    QTest::keyClick(form, Qt::Key_F, Qt::ControlModifier);
    form15->Edit1->setFocus();
    QTest::keyClick(form15->Edit1, Qt::Key_Return);
    EXPECT_EQ(Caret(), 7);
    form15->Button2->click();
    EXPECT_FALSE(form15->isVisible());
}
