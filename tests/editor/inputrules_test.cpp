// Enter, maximum lengths, one-line fields and the Memo's line limits.
#include "support/mainwindow_fixture.h"

#include <QClipboard>
#include <QMenu>

namespace {

const QString TypingLimit = QStringLiteral("Only 599 lines allowed. Please decrease the line count.");
const QString LineLimit = QStringLiteral("Only 599 lines allowed!");
const QString Absolute = QStringLiteral(
    "Absolute line count maximum in Memo field is 6000. When opening the card file, Cardomo does not read lines "
    "over 6000 to the Memo field!");

QString Lines(int n)
{
    QStringList l;
    for (int i = 0; i < n; ++i)
        l << QStringLiteral("line %1").arg(i + 1);
    return l.join(QStringLiteral("\r\n"));
}

class InputRulesTest : public MainWindowTest {
protected:
    void SetUp() override { Start({MakeFile(2)}); }

    void ShowMemo(const QString& memo)
    {
        store().CardTable[1][MemoCell] = memo;
        form->btnPaivitaClick();
    }
    void Key(QWidget* w, Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        w->setFocus();
        QTest::keyClick(w, k, mods);
    }
};

}  // namespace

TEST_F(InputRulesTest, EnterFollowsTheTabOrder)
{
    struct Case {
        QWidget* from;
        QWidget* to;
    };
    for (const Case& c : {Case{form->memoTUNNISTE, form->Memo2}, Case{form->Memo3, form->Edit5},
             Case{form->editSIVU, form->memoASIASANAT1}, Case{form->Memo1, form->Button1},
             Case{form->editKOODI1, form->editKOODI2}, Case{form->Edit11, form->btnListaus}}) {
        Key(c.from, Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), c.to) << c.from->metaObject()->className();
    }
    EXPECT_FALSE(store().CardFileChanged);
    // A disabled control is passed over.
    form->Button1->setEnabled(false);
    Key(form->Memo1, Qt::Key_Enter);
    EXPECT_EQ(QApplication::focusWidget(), form->Button2);
    // In the Memo, Enter is a line break.
    form->memoMUISTIINPANO->moveCursor(QTextCursor::End);
    Key(form->memoMUISTIINPANO, Qt::Key_Return);
    EXPECT_EQ(form->memoMUISTIINPANO->Text(), QStringLiteral("Memo 2\r\n"));
}

TEST_F(InputRulesTest, MaximumLengthsLimitTypingAndPastingOnly)
{
    Key(form->Edit5, Qt::Key_End);
    form->Edit5->clear();
    QTest::keyClicks(form->Edit5, QStringLiteral("123456"));
    EXPECT_EQ(form->Edit5->text(), QStringLiteral("1234"));

    QApplication::clipboard()->setText(QString(300, u'p'));
    Key(form->memoTUNNISTE, Qt::Key_End);
    QTest::keyClick(form->memoTUNNISTE, Qt::Key_V, Qt::ControlModifier);  // "Card 2" + 250 of the 300
    EXPECT_EQ(form->memoTUNNISTE->Text().size(), 256);
    EXPECT_TRUE(form->memoTUNNISTE->Text().startsWith(QStringLiteral("Card 2p")));
    QTest::keyClick(form->memoTUNNISTE, Qt::Key_X);
    EXPECT_EQ(form->memoTUNNISTE->Text().size(), 256);

    form->Edit9->setFocus();
    form->Edit9->clear();
    QApplication::clipboard()->setText(QStringLiteral("abcdefgh"));
    QTest::keyClicks(form->Edit9, QStringLiteral("1"));
    form->Edit9->paste();  // the mouse menu's paste
    EXPECT_EQ(form->Edit9->text(), QStringLiteral("1abcd"));

    // A shown card's longer text is shown whole and stored back whole.
    store().CardTable[1][3] = QStringLiteral("a day of ten");
    form->btnPaivitaClick();
    EXPECT_EQ(form->Edit5->text(), QStringLiteral("a day of ten"));
    Key(form->Edit5, Qt::Key_Z);  // over the limit: typing takes nothing more
    EXPECT_EQ(form->Edit5->text(), QStringLiteral("a day of ten"));
    Key(form->Edit5, Qt::Key_Backspace);
    EXPECT_EQ(form->Edit5->text(), QStringLiteral("a day of te"));
    form->btnTallennaClick();
    EXPECT_EQ(store().CardTable[1][3], QStringLiteral("a day of te"));
    // Letters go into date fields like any other text.
    form->editVUOSI->clear();
    QTest::keyClicks(form->editVUOSI, QStringLiteral("2018b"));
    EXPECT_EQ(form->editVUOSI->text(), QStringLiteral("2018b"));
}

TEST_F(InputRulesTest, OneLineFieldsGetBackTheirTextAfterALineBreak)
{
    form->Memo2->SetText(QStringLiteral("before"));
    form->Memo2->moveCursor(QTextCursor::End);
    QApplication::clipboard()->setText(QStringLiteral("two\nlines"));
    Key(form->Memo2, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(form->Memo2->Text(), QStringLiteral("before"));
    Key(form->Memo2, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(form->Memo2->Text(), QStringLiteral("before"));
    Key(form->Memo2, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(form->Memo2->Text(), QStringLiteral("before"));
    for (const QString& pasted : {QStringLiteral("a\r\nb"), QStringLiteral("a\u2029b"), QStringLiteral("a\rb")}) {
        form->Memo2->insertPlainText(pasted);  // as the mouse menu's paste does
        EXPECT_EQ(form->Memo2->Text(), QStringLiteral("before")) << pasted.toStdString();
    }
    QApplication::clipboard()->setText(QStringLiteral(" one line"));
    form->Memo2->paste();
    EXPECT_EQ(form->Memo2->Text(), QStringLiteral("before one line"));
    EXPECT_EQ(store().CardTable[1][1], QString());  // the card gets it at the next store
    form->btnTallennaClick();
    EXPECT_EQ(store().CardTable[1][1], QStringLiteral("before one line"));
}

TEST_F(InputRulesTest, MemoCountsWrappedDisplayLinesButNotAnEmptyLastOne)
{
    struct Case {
        QString memo;
        int lines;
    };
    const QString paragraph = QStringLiteral("word ").repeated(60);  // far wider than the Memo
    for (const Case& c : {Case{QString(), 0}, Case{QStringLiteral("a"), 1}, Case{QStringLiteral("a\r\n"), 1},
             Case{QStringLiteral("a\r\n\r\nb"), 3}, Case{QStringLiteral("\r\n"), 1}}) {
        ShowMemo(c.memo);
        EXPECT_EQ(form->memoMUISTIINPANO->LineCount(), c.lines) << c.memo.toStdString();
    }
    ShowMemo(paragraph);
    const int wrapped = form->memoMUISTIINPANO->LineCount();
    EXPECT_GE(wrapped, 3);
    EXPECT_LE(wrapped, 6);
    EXPECT_EQ(form->Label22->text(), QStringLiteral("18. Memo (Lines %1)").arg(wrapped));
    ShowMemo(paragraph + QStringLiteral("\r\nend"));
    EXPECT_EQ(form->memoMUISTIINPANO->LineCount(), wrapped + 1);
}

TEST_F(InputRulesTest, TypingStopsAtSixHundredLines)
{
    ShowMemo(Lines(599));
    EXPECT_TRUE(platform.messages.empty());
    // Enter at the start of the last line makes the 600th line.
    QTextCursor c = form->memoMUISTIINPANO->textCursor();
    c.movePosition(QTextCursor::End);
    c.movePosition(QTextCursor::StartOfBlock);
    form->memoMUISTIINPANO->setTextCursor(c);
    Key(form->memoMUISTIINPANO, Qt::Key_Return);
    EXPECT_EQ(platform.Texts(), QStringList{LineLimit});
    EXPECT_EQ(form->Label22->text(), QStringLiteral("18. Memo (Lines 600)"));

    // The next letter is refused, but still marks the file changed.
    platform.Clear();
    store().CardFileChanged = false;
    QTest::keyClick(form->memoMUISTIINPANO, Qt::Key_Q);
    EXPECT_EQ(platform.Texts(), QStringList{TypingLimit});
    EXPECT_FALSE(form->memoMUISTIINPANO->Text().contains(u'q'));
    EXPECT_TRUE(store().CardFileChanged);

    // Backspace works; while 600 lines remain it warns again.
    platform.Clear();
    QTest::keyClick(form->memoMUISTIINPANO, Qt::Key_End);
    QTest::keyClick(form->memoMUISTIINPANO, Qt::Key_Backspace);
    EXPECT_EQ(platform.Texts(), QStringList{LineLimit});
    QTest::keyClick(form->memoMUISTIINPANO, Qt::Key_Home);
    platform.Clear();
    QTest::keyClick(form->memoMUISTIINPANO, Qt::Key_Backspace);  // joins two lines: 599
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(form->Label22->text(), QStringLiteral("18. Memo (Lines 599)"));
    QTest::keyClick(form->memoMUISTIINPANO, Qt::Key_W);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(InputRulesTest, ShownCardsOverTheLimitsWarnAtOnceAndKeepTheirLines)
{
    ShowMemo(Lines(600));
    EXPECT_EQ(platform.Texts(), QStringList{LineLimit});
    platform.Clear();
    ShowMemo(Lines(6000));
    EXPECT_EQ(platform.Texts(), (QStringList{LineLimit, Absolute}));
    form->btnTallennaClick();
    EXPECT_EQ(store().CardTable[1][MemoCell], Lines(6000));
}

TEST_F(InputRulesTest, EnterIsRefusedAtSixHundredLinesLikeAnyCharacter)
{
    ShowMemo(Lines(600));
    platform.Clear();
    form->memoMUISTIINPANO->moveCursor(QTextCursor::End);
    for (const Qt::Key k : {Qt::Key_Return, Qt::Key_Enter}) {
        Key(form->memoMUISTIINPANO, k);
        EXPECT_EQ(platform.Texts(), QStringList{TypingLimit});
        EXPECT_EQ(form->memoMUISTIINPANO->LineCount(), 600);
        EXPECT_EQ(form->memoMUISTIINPANO->Text(), Lines(600));
        platform.Clear();
    }
}

TEST_F(InputRulesTest, EditLinesTakeNoLineBreakInAnyForm)
{
    for (QLineEdit* field : {static_cast<QLineEdit*>(form->Edit5), static_cast<QLineEdit*>(form->editKOODI1),
             static_cast<QLineEdit*>(form->Edit11)}) {
        for (const QString& pasted : {QStringLiteral("a\rb"), QStringLiteral("a\nb"), QStringLiteral("a\r\nb"),
                 QStringLiteral("a\u2028b"), QStringLiteral("a\u2029b")}) {
            SCOPED_TRACE(field->objectName().toStdString() + " " + pasted.toStdString());
            static_cast<FieldLine*>(field)->SetText(QStringLiteral("kept"));
            field->setFocus();
            field->end(false);
            QApplication::clipboard()->setText(pasted);
            Key(field, Qt::Key_V, Qt::ControlModifier);
            EXPECT_EQ(field->text(), QStringLiteral("kept"));
            EXPECT_EQ(field->cursorPosition(), 4);
        }
    }
    // The card stays saveable.
    form->btnTallennaClick();
    platform.Clear();
    QTest::keyClick(form, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(InputRulesTest, ShowingAndStoringLeavesEveryLineBreakAsItWas)
{
    // What a card file can bring: lone CRs and LFs, line and paragraph
    // separators; the editor shows each as a line break.
    const QString memo = QStringLiteral("one\u2028two\u2029three\rfour\nfive\r\nsix");
    store().CardTable[1][0] = QStringLiteral("title\u2028line");
    ShowMemo(memo);
    form->btnTallennaClick();
    EXPECT_EQ(store().CardTable[1][MemoCell], memo);
    EXPECT_EQ(store().CardTable[1][0], QStringLiteral("title\u2028line"));

    // Edited, the Memo changes where it was edited and nowhere else: the
    // breaks the edit left alone keep their form, a break typed is CR LF.
    form->memoMUISTIINPANO->moveCursor(QTextCursor::End);
    Key(form->memoMUISTIINPANO, Qt::Key_X);
    form->btnTallennaClick();
    EXPECT_EQ(store().CardTable[1][MemoCell], QStringLiteral("one\u2028two\u2029three\rfour\nfive\r\nsixx"));
    Key(form->memoMUISTIINPANO, Qt::Key_Return);
    Key(form->memoMUISTIINPANO, Qt::Key_Y);
    form->btnTallennaClick();
    EXPECT_EQ(store().CardTable[1][MemoCell], QStringLiteral("one\u2028two\u2029three\rfour\nfive\r\nsixx\r\ny"));

    // A title that holds a line separator can still be edited.
    form->memoTUNNISTE->moveCursor(QTextCursor::End);
    Key(form->memoTUNNISTE, Qt::Key_S);
    EXPECT_EQ(form->memoTUNNISTE->Text(), QStringLiteral("title\u2028lines"));
}
