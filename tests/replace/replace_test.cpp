// Find and replace across cards: the window, its keys, the checks and the
// confirmation of "Replace all", and runs through the main window's editors.
#include "support/mainwindow_fixture.h"

#include "Unit16.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace {

const QString Completed = QStringLiteral("Find-replace action completed");
const QString NotFound = QStringLiteral("Strings to replace not found ");

class ReplaceTest : public MainWindowTest {
protected:
    // A card file whose cards have the given Memos, Title1 "Card k" and Code1 "code k".
    void StartWith(const QStringList& memos)
    {
        CardRows rows(static_cast<size_t>(memos.size()));
        for (qsizetype i = 0; i < memos.size(); ++i) {
            Card& c = rows[static_cast<size_t>(i)];
            c[0] = QStringLiteral("Card %1").arg(i + 1);
            c[10] = QStringLiteral("code %1").arg(i + 1);
            c[MemoCell] = memos[i];
            c[CardIdCell] = QStringLiteral("id%1").arg(i + 1);
        }
        WriteCardFile(Path(QStringLiteral("cards.kqk")), rows, static_cast<int>(memos.size()), MainFileHeaderText);
        Start({Path(QStringLiteral("cards.kqk"))});
        form16 = program->windows().form16;
    }
    void StartWithCards(int n)
    {
        Start({MakeFile(n)});
        form16 = program->windows().form16;
    }

    // Tools > "Find and Replace in Cards" by its shortcut, from the main window.
    void Open()
    {
        Activate(form);
        QTest::keyClick(form, Qt::Key_F, Qt::ControlModifier | Qt::AltModifier);
        ASSERT_TRUE(form16->isVisible());
        ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == form16; }));
    }
    // (qWaitForWindowActive takes a window for active while the window it
    // belongs to, or one that belongs to it, has the focus.)
    static void Activate(QWidget* window)
    {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }));
    }
    static void Type(QLineEdit* box, const QString& text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
    }
    // Fills the boxes by typing into them.
    void Fill(const QString& find, const QString& replacement, const QString& first, const QString& last,
        const QString& field = QStringLiteral("18 Memo"))
    {
        Type(form16->Edit1, find);
        Type(form16->Edit2, replacement);
        Type(form16->Edit3, first);
        Type(form16->Edit4, last);
        Type(form16->ComboBox1->lineEdit(), field);
        ASSERT_EQ(form16->Edit1->text(), find);
        ASSERT_EQ(form16->Edit2->text(), replacement);
        ASSERT_EQ(form16->ComboBox1->currentText(), field);
    }
    // "Replace all", answering the confirmation with answer.
    void ReplaceAll(MsgAnswer answer = MsgAnswer::Yes)
    {
        platform.answers = {answer};
        form16->Button3->click();
    }
    void GoTo(int card)
    {
        form->editKORTTINRO->setText(QString::number(card));
        form->btnGo->click();
        ASSERT_EQ(store().CurrentCard, card - 1);
    }
    QString Cell(int card, int cell) const { return store().CardTable[static_cast<size_t>(card - 1)][cell]; }
    QStringList Column(int cell) const
    {
        QStringList out;
        for (int i = 1; i <= store().CardCount; ++i)
            out << Cell(i, cell);
        return out;
    }

    TForm16* form16 = nullptr;
};

}  // namespace

TEST_F(ReplaceTest, WindowLooksAsItShouldAndFillsTheRangeAtEveryOpening)
{
    StartWithCards(20);
    GoTo(7);
    Open();
    EXPECT_FALSE(form16->isModal());
    EXPECT_EQ(form16->windowModality(), Qt::NonModal);
    EXPECT_TRUE(form->isEnabled());  // the main window stays usable
    const Qt::WindowFlags flags = form16->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowContextHelpButtonHint);
    EXPECT_EQ(form16->minimumSize(), form16->maximumSize());  // fixed size
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((form16->frameGeometry().center() - screen.center()).manhattanLength(), 2);
    EXPECT_EQ(form16->windowTitle(), QStringLiteral("Find and replace in cards - CARDOMO  0.5 beta"));

    EXPECT_EQ(form16->Label8->text(),
        QStringLiteral("NOTE! Undoing is not possible with this action! Save your "
                       "cardfile and/or make a backup before this action!!"));
    struct Caption {
        QLabel* label;
        const char* name;
        const char* text;
        QWidget* buddy;
    };
    for (const Caption& c : {Caption{form16->Label9, "Label9", "Word", form16->Edit1},
             Caption{form16->Label1, "Label1", "Find:", form16->Edit1},
             Caption{form16->Label2, "Label2", "Replace:", form16->Edit2},
             Caption{form16->Label3, "Label3", "Card index", form16->Edit3},
             Caption{form16->Label4, "Label4", "The first", form16->Edit3},
             Caption{form16->Label5, "Label5", " - ", form16->Edit4},
             Caption{form16->Label6, "Label6", "The last", form16->Edit4},
             Caption{form16->Label7, "Label7", "Field", form16->ComboBox1}}) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.label->objectName(), QString::fromLatin1(c.name));
        EXPECT_EQ(c.label->text(), QString::fromLatin1(c.text));
        EXPECT_EQ(c.label->buddy(), c.buddy);
        EXPECT_TRUE(c.label->isVisible());
    }
    for (const char* name :
        {"Label8", "Edit1", "Edit2", "Button3", "Edit3", "Edit4", "ComboBox1", "Button4", "Label10"})
        EXPECT_NE(form16->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(form16->Button3->text(), QStringLiteral("Replace all"));
    EXPECT_EQ(form16->Button4->text(), QStringLiteral("Close"));
    EXPECT_EQ(form16->Label10->text(), QStringLiteral("Interrupt the process by pressing  ESC"));
    EXPECT_FALSE(form16->Label10->isVisible());

    // The field chooser: the 19 entries, "18 Memo" chosen, typing allowed.
    ASSERT_EQ(form16->ComboBox1->count(), 19);
    EXPECT_EQ(form16->ComboBox1->itemText(0), QStringLiteral("1 Title1"));
    EXPECT_EQ(form16->ComboBox1->itemText(16), QStringLiteral("17 aHour:min"));
    EXPECT_EQ(form16->ComboBox1->itemText(18), QStringLiteral("19 Card ID"));
    EXPECT_EQ(form16->ComboBox1->currentText(), QStringLiteral("18 Memo"));
    EXPECT_TRUE(form16->ComboBox1->isEditable());

    // Card 7 of 20: the range boxes hold 7 and 20, the find box has the focus.
    EXPECT_EQ(form16->Edit3->text(), QStringLiteral("7"));
    EXPECT_EQ(form16->Edit4->text(), QStringLiteral("20"));
    EXPECT_TRUE(form16->Edit1->text().isEmpty());
    EXPECT_TRUE(form16->Edit2->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), form16->Edit1);

    // Close keeps the boxes; the next opening refills only the range boxes.
    Fill(QStringLiteral("find"), QStringLiteral("put"), QStringLiteral("1"), QStringLiteral("2"),
        QStringLiteral("8 Topic"));
    form16->Button4->click();
    EXPECT_FALSE(form16->isVisible());
    GoTo(3);
    store().CardCount = 19;  // as if a card had been deleted
    Open();
    EXPECT_EQ(form16->Edit3->text(), QStringLiteral("3"));
    EXPECT_EQ(form16->Edit4->text(), QStringLiteral("19"));
    EXPECT_EQ(form16->Edit1->text(), QStringLiteral("find"));
    EXPECT_EQ(form16->Edit2->text(), QStringLiteral("put"));
    EXPECT_EQ(form16->ComboBox1->currentText(), QStringLiteral("8 Topic"));
    EXPECT_EQ(form16->ComboBox1->count(), 19);  // a typed entry is not added to the list
    store().CardCount = 20;
}

TEST_F(ReplaceTest, OpeningStoresTheCardShownFirst)
{
    StartWithCards(3);
    form->memoTUNNISTE->setFocus();
    QTest::keyClick(form->memoTUNNISTE, Qt::Key_End);
    QTest::keyClicks(form->memoTUNNISTE, QStringLiteral("!"));
    Open();
    EXPECT_EQ(Cell(3, 0), QStringLiteral("Card 3!"));
    // Without an open card file the entry is disabled, shortcut included.
    form16->Button4->click();
    store().FileOpen = false;
    form->btnDeaktivoiClick();
    Activate(form);
    QTest::keyClick(form, Qt::Key_F, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_FALSE(form16->isVisible());
    store().FileOpen = true;
}

TEST_F(ReplaceTest, EscClosesTheWindowFromEveryControl)
{
    StartWithCards(2);
    const std::initializer_list<QWidget*> controls = {form16->Edit1, form16->Edit2, form16->Button3, form16->Edit3,
        form16->Edit4, form16->ComboBox1, form16->Button4};
    for (QWidget* w : controls) {
        SCOPED_TRACE(w->objectName().toStdString());
        Open();
        w->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_FALSE(form16->isVisible());
    }
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ReplaceTest, IndexBoxesTakeDigitsAndEnterRunsReplaceAll)
{
    StartWithCards(20);
    Open();
    for (QLineEdit* box : {form16->Edit3, form16->Edit4}) {
        SCOPED_TRACE(box->objectName().toStdString());
        Type(box, QStringLiteral("1a2 -.x3~"));
        EXPECT_EQ(box->text(), QStringLiteral("123"));
        QTest::keyClick(box, Qt::Key_Backspace);
        EXPECT_EQ(box->text(), QStringLiteral("12"));
        QTest::keyClick(box, Qt::Key_Home);
        QTest::keyClick(box, Qt::Key_Delete);  // keys that type nothing work as usual
        EXPECT_EQ(box->text(), QStringLiteral("2"));
        QApplication::clipboard()->setText(QStringLiteral("45"));
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(box->text(), QStringLiteral("2"));
        // Enter runs "Replace all" (the find box is empty) and is not inserted.
        platform.Clear();
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_EQ(platform.Texts(), QStringList{QStringLiteral("The field for the word to find is empty")});
        platform.Clear();
        QTest::keyClick(box, Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_EQ(platform.Texts(), QStringList{QStringLiteral("The field for the word to find is empty")});
        EXPECT_EQ(box->text(), QStringLiteral("2"));
    }
    // Enter in the other boxes runs nothing.
    platform.Clear();
    for (QWidget* w : {static_cast<QWidget*>(form16->Edit1), static_cast<QWidget*>(form16->Edit2)}) {
        w->setFocus();
        QTest::keyClick(w, Qt::Key_Return);
    }
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(form16->isVisible());
    // Letters go into the find and replace boxes like any other text.
    Type(form16->Edit1, QStringLiteral("a1 ."));
    EXPECT_EQ(form16->Edit1->text(), QStringLiteral("a1 ."));
}

TEST_F(ReplaceTest, FindAndReplaceBoxesTakeNoLineBreak)
{
    StartWithCards(2);
    Open();
    for (FieldLine* box : {form16->Edit1, form16->Edit2}) {
        SCOPED_TRACE(box->objectName().toStdString());
        Type(box, QStringLiteral("one"));
        for (const QString& pasted : {QStringLiteral("a\nb"), QStringLiteral("a\r\nb"), QStringLiteral("a\u2029b")}) {
            QApplication::clipboard()->setText(pasted);
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
            EXPECT_EQ(box->text(), QStringLiteral("one"));
            box->paste();  // the mouse menu's paste
            EXPECT_EQ(box->text(), QStringLiteral("one"));
        }
        QApplication::clipboard()->setText(QStringLiteral(" two"));
        box->paste();
        EXPECT_EQ(box->text(), QStringLiteral("one two"));
    }
}

TEST_F(ReplaceTest, ChecksRunInOrderAndChangeNothing)
{
    StartWithCards(20);
    Open();
    struct Case {
        const char* what;
        QString find, first, last;
        QString message;
    };
    const QString smaller = QStringLiteral("The index number of the first index can not be smaller than 1");
    const Case cases[] = {
        {"first empty, find empty too", QString(), QString(), QStringLiteral("5"),
            QStringLiteral("One of the text fields is empty")},
        {"last empty", QStringLiteral("a"), QStringLiteral("1"), QString(),
            QStringLiteral("One of the text fields is empty")},
        {"find empty, first 0", QString(), QStringLiteral("0"), QStringLiteral("5"),
            QStringLiteral("The field for the word to find is empty")},
        {"first 0", QStringLiteral("a"), QStringLiteral("0"), QStringLiteral("5"), smaller},
        {"first 00, last beyond", QStringLiteral("a"), QStringLiteral("00"), QStringLiteral("99"), smaller},
        {"last below first", QStringLiteral("a"), QStringLiteral("6"), QStringLiteral("5"),
            QStringLiteral("The first index number can not be greater than the last index number")},
        {"last beyond the cards", QStringLiteral("a"), QStringLiteral("1"), QStringLiteral("21"),
            QStringLiteral("The last index can not be greater than the number of the cards in whole 20")},
    };
    const CardRows before(store().CardTable.begin(), store().CardTable.begin() + 20);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        platform.Clear();
        Fill(c.find, QStringLiteral("b"), c.first, c.last);
        ReplaceAll();
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].text, c.message);
        EXPECT_EQ(platform.messages[0].buttons, MsgButtons::Ok);
        EXPECT_EQ(platform.answers.size(), 1u);  // no question asked
        EXPECT_EQ(store().CurrentCard, 19);
        EXPECT_FALSE(store().CardFileChanged);
    }
    EXPECT_TRUE(std::equal(before.begin(), before.end(), store().CardTable.begin()));

    // Text that is no number comes in only by the mouse menu's paste; it ends
    // the command through the general error report.
    struct Pasted {
        const char* what;
        QString first, last;
        QString message;
    };
    for (const Pasted& p :
        {Pasted{"first", QStringLiteral("x"), QStringLiteral("5"), QStringLiteral("'x' is not a valid integer value")},
            Pasted{
                "last", QStringLiteral("2"), QStringLiteral("5y"), QStringLiteral("'5y' is not a valid integer value")},
            Pasted{"first 0, last no number", QStringLiteral("0"), QStringLiteral("z"), smaller}}) {
        SCOPED_TRACE(p.what);
        platform.Clear();
        Fill(QStringLiteral("a"), QStringLiteral("b"), QString(), QString());
        QApplication::clipboard()->setText(p.first);
        form16->Edit3->paste();
        QApplication::clipboard()->setText(p.last);
        form16->Edit4->paste();
        ReplaceAll();
        EXPECT_EQ(platform.Texts(), QStringList{p.message});
        EXPECT_FALSE(store().CardFileChanged);
    }
    EXPECT_TRUE(std::equal(before.begin(), before.end(), store().CardTable.begin()));
}

TEST_F(ReplaceTest, ConfirmationQuotesTheBoxesAndNoChangesNothing)
{
    StartWith({QStringLiteral("a"), QStringLiteral("a"), QStringLiteral("a")});
    Open();
    Fill(QStringLiteral("a"), QStringLiteral("b c"), QStringLiteral("01"), QStringLiteral("3"));
    bool noticeShown = false;
    platform.onMessage = [&](const ScriptedPlatform::Shown&) { noticeShown = form16->Label10->isVisible(); };
    for (MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Cancel}) {
        platform.Clear();
        ReplaceAll(answer);
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].text,
            QStringLiteral("Finding in cards  01 - 3  from the field 18 Memo string \"a\" and replacing it "
                           "with \"b c\", do you want to proceed?"));
        EXPECT_EQ(platform.messages[0].icon, MsgIcon::Question);
        EXPECT_EQ(platform.messages[0].buttons, MsgButtons::YesNo);
        EXPECT_FALSE(noticeShown);
        EXPECT_EQ(Column(MemoCell), (QStringList{"a", "a", "a"}));
        EXPECT_EQ(store().CurrentCard, 2);
        EXPECT_FALSE(store().CardFileChanged);
        EXPECT_EQ(platform.processEventsCalls, 0);
    }
    // An empty replacement is quoted as two quotation marks.
    platform.Clear();
    Fill(QStringLiteral("x"), QString(), QStringLiteral("2"), QStringLiteral("2"), QStringLiteral("1 Title1"));
    ReplaceAll(MsgAnswer::No);
    EXPECT_EQ(platform.Texts(),
        QStringList{QStringLiteral("Finding in cards  2 - 2  from the field 1 Title1 string "
                                   "\"x\" and replacing it with \"\", do you want to "
                                   "proceed?")});
}

TEST_F(ReplaceTest, OccurrencesAreReplacedLeftToRightWithoutOverlapInEveryKindOfEditor)
{
    StartWithCards(3);
    struct Case {
        const char* what;
        QString text, find, replacement, result;
    };
    const Case cases[] = {
        {"b to nothing", QStringLiteral("abcabc"), QStringLiteral("b"), QString(), QStringLiteral("acac")},
        {"a to aa", QStringLiteral("aaa"), QStringLiteral("a"), QStringLiteral("aa"), QStringLiteral("aaaaaa")},
        {"aa to x", QStringLiteral("aaa"), QStringLiteral("aa"), QStringLiteral("x"), QStringLiteral("xa")},
        {"a word in the middle", QStringLiteral("päivä ja yö"), QStringLiteral("ja"), QStringLiteral("tai"),
            QStringLiteral("päivä tai yö")},
    };
    struct Field {
        const char* chooser;
        int cell;
    };
    // A one-line box, an edit line and the Memo.
    for (const Field& f : {Field{"1 Title1", 0}, Field{"11 Code1", 10}, Field{"18 Memo", MemoCell}}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(f.chooser) + ": " + c.what);
            GoTo(2);
            store().CardTable[1][f.cell] = c.text;
            form->btnPaivitaClick();
            store().CardFileChanged = false;
            platform.Clear();
            Open();
            Fill(c.find, c.replacement, QStringLiteral("2"), QStringLiteral("2"), QString::fromLatin1(f.chooser));
            ReplaceAll();
            EXPECT_EQ(platform.Texts().mid(1), QStringList{Completed});
            EXPECT_EQ(Cell(2, f.cell), c.result);
            EXPECT_EQ(dynamic_cast<EditableField*>(form->editors[static_cast<size_t>(f.cell)])->EditText(), c.result);
            EXPECT_EQ(store().CurrentCard, 1);
            EXPECT_TRUE(store().CardFileChanged);
            EXPECT_EQ(Cell(1, 0), QStringLiteral("Card 1"));
            EXPECT_EQ(Cell(3, 0), QStringLiteral("Card 3"));
        }
    }
}

TEST_F(ReplaceTest, CaseCountsAndNothingFoundSaysSo)
{
    StartWith({QStringLiteral("AB"), QStringLiteral("xAbx"), QStringLiteral("aB")});
    GoTo(1);
    Open();
    Fill(QStringLiteral("ab"), QStringLiteral("z"), QStringLiteral("1"), QStringLiteral("3"));
    ReplaceAll();
    EXPECT_EQ(platform.Texts().mid(1), QStringList{NotFound});
    EXPECT_EQ(Column(MemoCell), (QStringList{"AB", "xAbx", "aB"}));
    // The main window shows the last card of the range.
    EXPECT_EQ(store().CurrentCard, 2);
    EXPECT_EQ(form->editKORTTINRO->text(), QStringLiteral("3"));
    EXPECT_EQ(form->memoMUISTIINPANO->Text(), QStringLiteral("aB"));
    // One search per card, each followed by a store and events.
    EXPECT_EQ(platform.processEventsCalls, 3);
}

TEST_F(ReplaceTest, MemoLineBreaksCountAsCrLfAndStayWhole)
{
    StartWith({QStringLiteral("ab\r\nab\r\n\r\nxab"), QStringLiteral("tail ab")});
    GoTo(1);
    Open();
    Fill(QStringLiteral("ab"), QStringLiteral("Z"), QStringLiteral("1"), QStringLiteral("2"));
    ReplaceAll();
    EXPECT_EQ(platform.Texts().mid(1), QStringList{Completed});
    EXPECT_EQ(Column(MemoCell), (QStringList{"Z\r\nZ\r\n\r\nxZ", "tail Z"}));
    // The Memo's change handling ran: its line label follows the last card.
    EXPECT_EQ(form->Label22->text(), QStringLiteral("18. Memo (Lines 1)"));
}

TEST_F(ReplaceTest, OnlyTheOccurrencesChangeOtherLineBreaksKeepTheirForm)
{
    // A Memo read from a card file may hold U+2028 and U+2029 inside its
    // lines; the run changes the occurrences and nothing else.
    StartWith({QStringLiteral("one\u2028two\u2029three two"), QStringLiteral("two\u2029\u2028two\r\ntwo")});
    GoTo(1);
    Open();
    Fill(QStringLiteral("two"), QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("2"));
    ReplaceAll();
    EXPECT_EQ(platform.Texts().mid(1), QStringList{Completed});
    EXPECT_EQ(Column(MemoCell),
        (QStringList{QStringLiteral("one\u20282\u2029three 2"), QStringLiteral("2\u2029\u20282\r\n2")}));
    platform.Clear();
    Activate(form);
    QTest::keyClick(form, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(platform.messages.empty());
    auto memoStart = [](const char* k) { return QByteArray("\xC2\xA4#<&%\xC2\xA4#<&%KQ==") + k + "\r\n"; };
    auto memoEnd = [](const char* k) { return QByteArray("\xC2\xA4#>&%\xC2\xA4#>&%KQ==") + k + "\r\n"; };
    const QByteArray empty = QByteArray("\r\n");
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("cards.kqk"))),
        "\xEF\xBB\xBFIF YOU SEE THIS TEXT, YOU ARE IN WRONG PLACE!! THIS IS CARDOMO DATA FILE. THIS TEXT FILE "
        "IS ONLY FOR THE USE OF CARDOMO SOFTWARE! PLEASE ABORT WITHOUT MAKING A N Y CHANGES IN THIS FILE!\r\n"
        "KQa0b5c1d0e2f1g0h0i1\r\n2\r\n"
        "Card 1\r\n"
            + empty.repeated(9) + "code 1\r\n" + empty.repeated(6) + memoStart("1")
            + "one\xE2\x80\xA8"
              "2\xE2\x80\xA9three 2\r\n"
            + memoEnd("1") + "id1\r\n" + "Card 2\r\n" + empty.repeated(9) + "code 2\r\n" + empty.repeated(6)
            + memoStart("2")
            + "2\xE2\x80\xA9\xE2\x80\xA8"
              "2\r\n2\r\n"
            + memoEnd("2") + "id2\r\n");
}

TEST_F(ReplaceTest, RangeCoversOnlyItsCardsAndEndsOnTheLastOne)
{
    StartWithCards(6);
    Open();
    Fill(QStringLiteral("Card"), QStringLiteral("Kortti"), QStringLiteral("2"), QStringLiteral("4"),
        QStringLiteral("1 Title1"));
    ReplaceAll();
    EXPECT_EQ(platform.Texts().mid(1), QStringList{Completed});
    EXPECT_EQ(Column(0), (QStringList{"Card 1", "Kortti 2", "Kortti 3", "Kortti 4", "Card 5", "Card 6"}));
    EXPECT_EQ(Column(MemoCell), (QStringList{"Memo 1", "Memo 2", "Memo 3", "Memo 4", "Memo 5", "Memo 6"}));
    EXPECT_EQ(Column(CardIdCell), (QStringList{"id1", "id2", "id3", "id4", "id5", "id6"}));
    EXPECT_EQ(store().CurrentCard, 3);
    EXPECT_EQ(form->editKORTTINRO->text(), QStringLiteral("4"));
    EXPECT_EQ(Title1(), QStringLiteral("Kortti 4"));
    EXPECT_EQ(form->lblKorttitunnistenro->text(), QStringLiteral("19. Card ID: id4"));
    EXPECT_TRUE(store().CardFileChanged);
    EXPECT_FALSE(form16->Label10->isVisible());
    EXPECT_TRUE(form16->isVisible());
}

TEST_F(ReplaceTest, KeysComeBackToTheWindowAfterEachMessage)
{
    StartWithCards(3);
    Open();
    // A message box belongs to the main window, which has the keys when it closes.
    platform.onMessage = [this](const ScriptedPlatform::Shown&) { Activate(form); };
    bool backForTheRun = false;
    platform.onProcessEvents = [&] { backForTheRun = backForTheRun || QApplication::activeWindow() == form16; };
    Fill(QStringLiteral("Card"), QStringLiteral("x"), QStringLiteral("1"), QStringLiteral("3"),
        QStringLiteral("1 Title1"));
    ReplaceAll();
    EXPECT_EQ(platform.Texts().mid(1), QStringList{Completed});
    EXPECT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == form16; }));
    EXPECT_TRUE(backForTheRun);
    // Also after a check's message.
    Type(form16->Edit1, QString());
    ReplaceAll();
    EXPECT_EQ(platform.Texts().last(), QStringLiteral("The field for the word to find is empty"));
    EXPECT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == form16; }));
}

TEST_F(ReplaceTest, ReplacementIsKeptWholeBeyondTheTypingLimit)
{
    StartWithCards(1);
    store().CardTable[0][3] = QStringLiteral("d1");  // Day: 4 characters typed at most
    store().CardTable[0][1] = QStringLiteral("t") + QString(290, u'.');  // Title2: 300 at most
    form->btnPaivitaClick();
    Open();
    Fill(QStringLiteral("d"), QStringLiteral("dddddddd"), QStringLiteral("1"), QStringLiteral("1"),
        QStringLiteral("4 Day"));
    ReplaceAll();
    EXPECT_EQ(Cell(1, 3), QStringLiteral("dddddddd1"));
    EXPECT_EQ(form->Edit5->text(), QStringLiteral("dddddddd1"));
    const QString long20 = QStringLiteral("0123456789").repeated(2);
    Fill(QStringLiteral("t"), long20, QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("2 Title2"));
    ReplaceAll();
    EXPECT_EQ(Cell(1, 1), long20 + QString(290, u'.'));
    EXPECT_EQ(form->Memo2->Text().size(), 310);
    EXPECT_EQ(platform.Texts().filter(Completed).size(), 2);
    // Typing there afterwards still keeps to the limit: it takes nothing more.
    form->Edit5->setFocus();
    QTest::keyClick(form->Edit5, Qt::Key_End);
    QTest::keyClick(form->Edit5, Qt::Key_X);
    EXPECT_EQ(form->Edit5->text(), QStringLiteral("dddddddd1"));
}

TEST_F(ReplaceTest, EqualFindAndReplacementStillCountsAsAChange)
{
    StartWithCards(3);
    Open();
    Fill(QStringLiteral("code"), QStringLiteral("code"), QStringLiteral("3"), QStringLiteral("3"),
        QStringLiteral("1 Title1"));
    form16->Edit1->setFocus();
    store().CardTable[2][0] = QStringLiteral("code code");
    form->btnPaivitaClick();
    store().CardFileChanged = false;
    ReplaceAll();
    EXPECT_EQ(platform.Texts().mid(1), QStringList{Completed});
    EXPECT_EQ(Cell(3, 0), QStringLiteral("code code"));
    EXPECT_TRUE(store().CardFileChanged);
    // Two occurrences, then the search that finds none: three steps.
    EXPECT_EQ(platform.processEventsCalls, 3);
}

TEST_F(ReplaceTest, CardIdOrATextThatIsNoFieldChangesNoCard)
{
    StartWithCards(4);
    GoTo(2);
    for (const char* field : {"19 Card ID", "Memo", "18 memo", ""}) {
        SCOPED_TRACE(field);
        platform.Clear();
        store().CardFileChanged = false;
        Open();
        Fill(QStringLiteral("id"), QStringLiteral("X"), QStringLiteral("1"), QStringLiteral("4"),
            QString::fromLatin1(field));
        ReplaceAll();
        ASSERT_EQ(platform.messages.size(), 2u);
        EXPECT_EQ(platform.messages[1].text, NotFound);
        EXPECT_EQ(Column(CardIdCell), (QStringList{"id1", "id2", "id3", "id4"}));
        EXPECT_EQ(store().CurrentCard, 1);  // the shown card does not change
        EXPECT_FALSE(store().CardFileChanged);
        EXPECT_EQ(platform.processEventsCalls, 0);
    }
}

TEST_F(ReplaceTest, EachStepIsStoredWithTheNoticeShownAndEventsLetThrough)
{
    StartWith({QStringLiteral("a a a"), QStringLiteral("none"), QStringLiteral("a")});
    GoTo(1);
    Open();
    Fill(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("1"), QStringLiteral("3"));
    QStringList seen;
    bool noticeAlways = true;
    std::vector<bool> cardAreaDrawn;
    platform.onProcessEvents = [&] {
        seen << QString::number(store().CurrentCard + 1) + u':' + Cell(store().CurrentCard + 1, MemoCell);
        noticeAlways = noticeAlways && form16->Label10->isVisible();
        cardAreaDrawn.push_back(form->centralWidget()->updatesEnabled());
    };
    ReplaceAll();
    EXPECT_EQ(seen, (QStringList{"1:b a a", "1:b b a", "1:b b b", "1:b b b", "2:none", "3:b", "3:b"}));
    EXPECT_TRUE(noticeAlways);
    EXPECT_FALSE(form16->Label10->isVisible());
    // The card area is drawn at a readable rate, not after every step: at
    // the first step, then not again within a tenth of a second (the whole
    // run takes less); afterwards as usual.
    ASSERT_EQ(cardAreaDrawn.size(), 7u);
    EXPECT_TRUE(cardAreaDrawn[0]);
    EXPECT_FALSE(cardAreaDrawn[1]);
    EXPECT_TRUE(form->centralWidget()->updatesEnabled());
    EXPECT_EQ(platform.Texts().mid(1), QStringList{Completed});
}

TEST_F(ReplaceTest, EscHeldDownInterruptsAndKeepsWhatWasDone)
{
    StartWith({QStringLiteral("x1"), QStringLiteral("x2"), QStringLiteral("x3"), QStringLiteral("x4")});
    GoTo(1);
    Open();
    Fill(QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("1"), QStringLiteral("4"));
    // Two steps a card (the replacement, then the search that finds no more):
    // Esc is down after the third, the replacement in card 2.
    platform.onProcessEvents = [&] { platform.escHeld = platform.processEventsCalls >= 3; };
    ReplaceAll();
    EXPECT_EQ(platform.processEventsCalls, 3);
    EXPECT_EQ(platform.messages.size(), 1u);  // the confirmation alone
    EXPECT_EQ(Column(MemoCell), (QStringList{"y1", "y2", "x3", "x4"}));
    EXPECT_EQ(store().CurrentCard, 1);
    EXPECT_EQ(form->memoMUISTIINPANO->Text(), QStringLiteral("y2"));
    EXPECT_TRUE(store().CardFileChanged);
    EXPECT_FALSE(form16->Label10->isVisible());
    EXPECT_TRUE(form->centralWidget()->updatesEnabled());

    // Interrupted before anything was found: the card file is not marked changed.
    platform.Clear();
    platform.escHeld = false;
    platform.onProcessEvents = [&] { platform.escHeld = true; };
    GoTo(3);
    store().CardFileChanged = false;
    Fill(QStringLiteral("none here"), QStringLiteral("y"), QStringLiteral("3"), QStringLiteral("4"),
        QStringLiteral("11 Code1"));
    ReplaceAll();
    EXPECT_EQ(platform.processEventsCalls, 1);
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_FALSE(store().CardFileChanged);
    EXPECT_EQ(store().CurrentCard, 2);

    // A new run goes on as usual.
    platform.Clear();
    platform.escHeld = false;
    platform.onProcessEvents = nullptr;
    Fill(QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("1"), QStringLiteral("4"));
    ReplaceAll();
    EXPECT_EQ(platform.Texts().mid(1), QStringList{Completed});
    EXPECT_EQ(Column(MemoCell), (QStringList{"y1", "y2", "y3", "y4"}));
}

TEST_F(ReplaceTest, EscPressedDuringARunClosesTheWindowAndTheRunGoesOn)
{
    StartWith({QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x")});
    Open();
    Fill(QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("1"), QStringLiteral("3"));
    platform.onProcessEvents = [&] {
        if (platform.processEventsCalls == 2 && QApplication::focusWidget())
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);  // pressed and let go
    };
    form16->Edit2->setFocus();
    ReplaceAll();
    EXPECT_FALSE(form16->isVisible());
    EXPECT_EQ(platform.Texts().mid(1), QStringList{Completed});
    EXPECT_EQ(Column(MemoCell), (QStringList{"y", "y", "y"}));
}

TEST_F(ReplaceTest, TheMainWindowsCommandsWaitForTheRun)
{
    StartWith({QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x")});
    const QByteArray onDisk = ReadBytes(Path(QStringLiteral("cards.kqk")));
    GoTo(1);
    Open();
    Fill(QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("1"), QStringLiteral("3"));
    // The main window has the keyboard while the run goes on.
    Activate(form);
    form->memoTUNNISTE->setFocus();
    platform.onProcessEvents = [&] {
        if (platform.processEventsCalls != 1)
            return;
        // The user tries to move on, to save, to type and to start another run.
        QTest::keyClick(form->memoTUNNISTE, Qt::Key_PageDown, Qt::ControlModifier);
        QTest::mouseClick(form->btnEteen, Qt::LeftButton);
        QTest::keyClick(form->memoTUNNISTE, Qt::Key_S, Qt::ControlModifier);
        QTest::keyClicks(form->memoTUNNISTE, QStringLiteral("typed"));
        form16->Button3->click();
        QTest::keyClick(form16->Edit3, Qt::Key_Return);
    };
    ReplaceAll();
    EXPECT_EQ(platform.Texts().mid(1), QStringList{Completed});
    EXPECT_EQ(platform.unansweredQuestions, 0);
    EXPECT_EQ(Column(MemoCell), (QStringList{"y", "y", "y"}));
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("cards.kqk"))), onDisk);
    EXPECT_EQ(store().CurrentCard, 2);
    EXPECT_EQ(Column(0), (QStringList{"Card 1", "Card 2", "Card 3"}));
    // Afterwards the main window takes its keys again.
    Activate(form);
    form->memoTUNNISTE->setFocus();  // (the click gave the button the focus, though it did not click it)
    QTest::keyClick(form->memoTUNNISTE, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(store().CurrentCard, 1);
}

TEST_F(ReplaceTest, NothingRunsOnceTheCardFileIsClosed)
{
    StartWithCards(3);
    Open();
    Fill(QStringLiteral("Card"), QStringLiteral("x"), QStringLiteral("1"), QStringLiteral("3"),
        QStringLiteral("1 Title1"));
    platform.answers = {MsgAnswer::Yes};
    form->Sulje1->trigger();  // "Do you really want to close the file?"
    ASSERT_FALSE(store().FileOpen);
    platform.Clear();
    ReplaceAll();
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(platform.processEventsCalls, 0);
}

TEST_F(ReplaceTest, ACardWhoseMemoReachesTheLineLimitShowsItsMessagesAtItsOwnStep)
{
    // Card 2 has 650 lines; card 3 has 320 lines that may or may not wrap in
    // the editor: its messages come as the editor counts its lines.
    QStringList longLines;
    for (int i = 0; i < 650; ++i)
        longLines << QStringLiteral("line %1").arg(i);
    const QString wrapped = QStringLiteral("word ").repeated(10).trimmed();
    StartWith({QStringLiteral("x"), QStringLiteral("x ") + longLines.join(QStringLiteral("\r\n")),
        QStringLiteral("x ") + QStringList(320, wrapped).join(QStringLiteral("\r\n")), QStringLiteral("x")});
    GoTo(1);
    Open();
    Fill(QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("1"), QStringLiteral("4"));
    QStringList stepOfEachMessage;
    platform.onMessage = [&](const ScriptedPlatform::Shown& m) {
        stepOfEachMessage << QString::number(store().CurrentCard + 1) + u':' + m.text;
    };
    ReplaceAll();
    ASSERT_FALSE(stepOfEachMessage.isEmpty());
    EXPECT_TRUE(stepOfEachMessage[0].startsWith(QStringLiteral("1:Finding in cards  1 - 4")));
    GoTo(3);
    const int wrappedCount = form->memoMUISTIINPANO->LineCount();
    const QString only = QStringLiteral("Only 599 lines allowed!");
    // Card 2 when it is shown, and again when its Memo is changed.
    QStringList expected{QStringLiteral("2:") + only, QStringLiteral("2:") + only};
    if (wrappedCount >= 600)
        expected << QStringLiteral("3:") + only << QStringLiteral("3:") + only;
    expected << QStringLiteral("4:") + Completed;
    EXPECT_EQ(stepOfEachMessage.mid(1), expected);
    EXPECT_EQ(Cell(2, MemoCell).left(8), QStringLiteral("y line 0"));
    EXPECT_EQ(Cell(3, MemoCell).left(6), QStringLiteral("y word"));
    EXPECT_EQ(Cell(4, MemoCell), QStringLiteral("y"));
}

TEST_F(ReplaceTest, TheCardAreaShowsTheCardWheneverItIsDrawnAndTheLastCardAtTheEnd)
{
    StartWithCards(5);
    GoTo(1);
    for (int i = 0; i < 5; ++i)
        store().CardTable[static_cast<size_t>(i)][MemoCell] = QStringLiteral("a x b x c");
    form->btnPaivitaClick();
    Open();
    Fill(QStringLiteral("x"), QStringLiteral("yy"), QStringLiteral("1"), QStringLiteral("5"));
    int drawn = 0;
    bool shownWhenDrawn = true;
    platform.onProcessEvents = [&] {
        if (!form->centralWidget()->updatesEnabled())
            return;
        ++drawn;
        const int n = store().CurrentCard + 1;
        shownWhenDrawn = shownWhenDrawn && form->editKORTTINRO->text() == QString::number(n) && Title1() == Cell(n, 0)
            && form->memoMUISTIINPANO->Text() == Cell(n, MemoCell)
            && form->lblKorttitunnistenro->text() == QStringLiteral("19. Card ID: id") + QString::number(n);
    };
    ReplaceAll();
    EXPECT_EQ(platform.Texts().mid(1), QStringList{Completed});
    EXPECT_GE(drawn, 1);
    EXPECT_TRUE(shownWhenDrawn);
    EXPECT_EQ(Column(MemoCell), QStringList(5, QStringLiteral("a yy b yy c")));
    // The main window shows the last card as stored, with its line label, and
    // the Memo's caret stands behind the last replacement.
    EXPECT_EQ(form->editKORTTINRO->text(), QStringLiteral("5"));
    EXPECT_EQ(Title1(), QStringLiteral("Card 5"));
    EXPECT_EQ(form->memoMUISTIINPANO->Text(), QStringLiteral("a yy b yy c"));
    EXPECT_EQ(form->Label22->text(), QStringLiteral("18. Memo (Lines 1)"));
    EXPECT_EQ(form->memoMUISTIINPANO->textCursor().position(), 9);
    EXPECT_FALSE(form->memoMUISTIINPANO->textCursor().hasSelection());
    // Typing goes on from there: the editors hold the card for real.
    form->btnTallennaClick();
    EXPECT_EQ(Cell(5, MemoCell), QStringLiteral("a yy b yy c"));
}

TEST_F(ReplaceTest, ShowingCardsWithDifferentMemosMarksTheFileChangedEvenWhenNothingIsFound)
{
    // Showing a card whose Memo differs from the one on screen counts as a
    // change of the Memo, also within a run that replaces nothing.
    StartWith({QStringLiteral("same"), QStringLiteral("same"), QStringLiteral("same")});
    for (const auto& [memo2, changed] : {std::pair{QStringLiteral("same"), false}, {QStringLiteral("other"), true}}) {
        SCOPED_TRACE(memo2.toStdString());
        store().CardTable[1][MemoCell] = memo2;
        GoTo(1);
        store().CardFileChanged = false;
        platform.Clear();
        Open();
        Fill(QStringLiteral("zz"), QStringLiteral("y"), QStringLiteral("1"), QStringLiteral("3"),
            QStringLiteral("1 Title1"));
        ReplaceAll();
        EXPECT_EQ(platform.Texts().mid(1), QStringList{NotFound});
        EXPECT_EQ(store().CardFileChanged, changed);
    }
}
