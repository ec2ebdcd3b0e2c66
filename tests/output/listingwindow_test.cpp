// The listing window: its frame, menus and keys, Close, Save as text, and
// the listing find window.
#include "listing_fixture.h"

#include "listing.h"
#include "support/filesystems.h"

#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTextDocument>
#include <QWindow>

namespace {

const QString ListingDialogTitle = QStringLiteral("Save the content of the form as UTF-8 text (*.txt)");
const QString ListingFilter = QStringLiteral("text file *.TXT|*.txt");

QString Failure(const QString& reason)
{
    return QStringLiteral("Exception Message: ") + reason
        + QStringLiteral(". The recording disk may be out of space. The file may not have been saved correctly. "
                         "Check the issue and save to another disk before closing the job file.");
}

class ListingWindowTest : public ListingTest {
protected:
    void SetUp() override
    {
        path = MakeFile(3);
        Start({path});
    }
    // Lists the current card (F7) and runs during inside the listing window.
    void InCurrentCardListing(std::function<void(TForm2&)> during)
    {
        OnListing(std::move(during));
        BackToMain();
        QTest::keyClick(form, Qt::Key_F7);
        ASSERT_EQ(shown.size(), 1u);
        shown.clear();
    }
    QByteArray Bom() const { return QByteArray("\xEF\xBB\xBF"); }

    QString path;
};

}  // namespace

TEST_F(ListingWindowTest, WindowMenusAndShortcuts)
{
    InCurrentCardListing([this](TForm2& w) {
        EXPECT_EQ(w.memoLISTAUS->geometry().size(), QSize(467, 547));
        EXPECT_EQ(w.memoLISTAUS->font().family(), QStringLiteral("Arial"));
        EXPECT_EQ(w.memoLISTAUS->font().pixelSize(), 12);
        EXPECT_FALSE(w.memoLISTAUS->isReadOnly());
        EXPECT_EQ(w.memoLISTAUS->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        EXPECT_EQ(w.memoLISTAUS->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        EXPECT_TRUE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
        EXPECT_FALSE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
        EXPECT_EQ(w.focusWidget(), w.memoLISTAUS);

        const QStringList menus = {QStringLiteral("Form"), QStringLiteral("Find")};
        QStringList titles;
        for (QAction* a : w.MainMenu1->actions())
            titles << a->text();
        EXPECT_EQ(titles, menus);
        struct Entry {
            QAction* action;
            const char* caption;
            QKeySequence keys;
            bool enabled;
        };
        const Entry entries[] = {
            {w.Tallenna1, "Save as text", QKeySequence(Qt::CTRL | Qt::Key_K), true},
            {w.Esikatselu1, "Preview", QKeySequence(Qt::CTRL | Qt::Key_E), true},
            {w.Tulosta1, "Print", QKeySequence(Qt::CTRL | Qt::Key_P), true},
            {w.Poistu1, "Form Close   ESC", QKeySequence(), true},
            {w.Etsisanaa1, "Find a word", QKeySequence(Qt::CTRL | Qt::Key_F), true},
            {w.Etsiseuraava1, "Find next  (Ctrl+D)", QKeySequence(Qt::Key_F3), true},
            {w.FindNext21, "Find Next 2", QKeySequence(Qt::CTRL | Qt::Key_D), true},
        };
        for (const Entry& e : entries) {
            SCOPED_TRACE(e.caption);
            EXPECT_EQ(e.action->text(), QString::fromLatin1(e.caption));
            EXPECT_EQ(e.action->shortcut(), e.keys);
            EXPECT_EQ(e.action->isEnabled(), e.enabled);
        }
        EXPECT_EQ(w.Etsiseuraava1->toolTip(), QStringLiteral("Try also Ctrl + D"));
        // In the menus, in order, a separator above "Form Close   ESC"; "Find
        // Next 2" is in none.
        QStringList form;
        for (QAction* a : w.Lomake1->actions())
            form << (a->isSeparator() ? QStringLiteral("-") : a->text());
        EXPECT_EQ(form, (QStringList{"Save as text", "Preview", "Print", "-", "Form Close   ESC"}));
        QStringList find;
        for (QAction* a : w.Etsi1->actions())
            find << a->text();
        EXPECT_EQ(find, (QStringList{"Find a word", "Find next  (Ctrl+D)"}));
    });
}

TEST_F(ListingWindowTest, CloseByEscMenuOrTitleBarEmptiesTheWindowAndReturnsToTheMainWindow)
{
    struct Way {
        const char* name;
        std::function<void(TForm2&)> close;
    };
    const Way ways[] = {
        {"Esc in the text", [](TForm2& w) { QTest::keyClick(w.memoLISTAUS, Qt::Key_Escape); }},
        {"Form Close   ESC", [](TForm2& w) { w.Poistu1->trigger(); }},
        {"the title bar's close box", [](TForm2& w) { w.close(); }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        bool closedInside = false;
        bool mainBackInside = false;
        bool findClosedInside = false;
        InCurrentCardListing([&](TForm2& w) {
            w.Etsisanaa1->trigger();
            ASSERT_TRUE(Find()->isVisible());
            Activate(&w);
            way.close(w);
            closedInside = !w.isVisible() && w.ListingText().isEmpty();
            mainBackInside = form->isVisible() && form->isEnabled();
            findClosedInside = !Find()->isVisible();
        });
        EXPECT_TRUE(closedInside);
        EXPECT_TRUE(mainBackInside);
        EXPECT_TRUE(findClosedInside);
    }
}

TEST_F(ListingWindowTest, EscRepeatingFromAHeldKeyDoesNotCloseTheWindow)
{
    bool openAfterRepeat = false;
    InCurrentCardListing([&](TForm2& w) {
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(w.memoLISTAUS, &repeat);
        openAfterRepeat = w.isVisible() && !w.ListingText().isEmpty();
        QTest::keyClick(w.memoLISTAUS, Qt::Key_Escape);
        EXPECT_FALSE(w.isVisible());
    });
    EXPECT_TRUE(openAfterRepeat);
}

TEST_F(ListingWindowTest, SaveAsTextWritesTheBomAndTheTextExactlyAsHeld)
{
    // Odd line breaks and characters in a Memo are kept as the listing holds
    // them, unless the user edits the text.
    store().CardTable[2][MemoCell] = QStringLiteral("one\rtwo\u2028three\u2029four \U0001F600");
    form->btnPaivitaClick();
    QString held;
    InCurrentCardListing([&](TForm2&) {
        held = Listing()->ListingText();
        platform.fileAnswers = {Path(QStringLiteral("list"))};
        QTest::keyClick(Listing()->memoLISTAUS, Qt::Key_K, Qt::ControlModifier);
        EXPECT_TRUE(Listing()->isVisible());  // saving leaves the window open
    });
    ASSERT_EQ(platform.dialogs.size(), 1u);
    EXPECT_TRUE(platform.dialogs[0].save);
    EXPECT_EQ(platform.dialogs[0].request.title, ListingDialogTitle);
    EXPECT_EQ(platform.dialogs[0].request.filter, ListingFilter);
    EXPECT_EQ(platform.dialogs[0].request.initialName, QString());
    EXPECT_TRUE(held.contains(QStringLiteral("\r\none\rtwo\u2028three\u2029four \U0001F600\r\n")));
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("list.txt"))), Bom() + held.toUtf8());
    EXPECT_TRUE(platform.messages.empty());  // no message on success

    // Edited at its start and at its end, the text is saved with the edits,
    // and every character between them as it was (the lone CR, U+2028 and
    // U+2029 of the Memo too).
    platform.Clear();
    InCurrentCardListing([&](TForm2& w) {
        QTextCursor c = w.memoLISTAUS->textCursor();
        c.setPosition(0);
        c.setPosition(
            static_cast<int>(w.memoLISTAUS->document()->toRawText().indexOf(Separator)), QTextCursor::KeepAnchor);
        w.memoLISTAUS->setTextCursor(c);
        QTest::keyClick(w.memoLISTAUS, Qt::Key_Delete);  // the header's three lines go
        QTest::keyClicks(w.memoLISTAUS, QStringLiteral("Mine"));
        QTest::keyClick(w.memoLISTAUS, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(w.memoLISTAUS, QStringLiteral("End"));
        platform.fileAnswers = {Path(QStringLiteral("edited.TXT"))};
        w.Tallenna1->trigger();
    });
    // The second save proposes the first one's name without its folder.
    ASSERT_EQ(platform.dialogs.size(), 1u);
    EXPECT_EQ(platform.dialogs[0].request.initialName, QStringLiteral("list"));
    const QString edited = held.mid(held.indexOf(Separator));
    EXPECT_TRUE(edited.contains(QStringLiteral("\r\none\rtwo\u2028three\u2029four \U0001F600\r\n")));
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("edited.TXT"))),
        Bom() + (QStringLiteral("Mine") + edited + QStringLiteral("End")).toUtf8());
}

TEST_F(ListingWindowTest, TheTxtRuleLooksAtTheWholePath)
{
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("notes.txt")));
    struct Case {
        QString chosen;
        QString written;
    };
    const Case cases[] = {
        {Path(QStringLiteral("plain")), Path(QStringLiteral("plain.txt"))},
        {Path(QStringLiteral("upper.TXT")), Path(QStringLiteral("upper.TXT"))},
        {Path(QStringLiteral("mixed.Txt")), Path(QStringLiteral("mixed.Txt.txt"))},
        {Path(QStringLiteral("notes.txt/inside")), Path(QStringLiteral("notes.txt/inside"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen.toStdString());
        InCurrentCardListing([&](TForm2& w) {
            platform.fileAnswers = {c.chosen};
            w.Tallenna1->trigger();
        });
        EXPECT_TRUE(QFileInfo::exists(c.written));
        EXPECT_TRUE(ReadBytes(c.written).startsWith(Bom() + "Cardomo 0.5 beta - Card listing"));
    }
}

TEST_F(ListingWindowTest, AnExistingFileIsReplacedOnlyAfterYes)
{
    const QString target = Path(QStringLiteral("old.txt"));
    const QString question =
        QStringLiteral("The file ") + target + QStringLiteral(" already exists. Do you want to replace it?");
    for (const MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Cancel, MsgAnswer::Yes}) {
        SCOPED_TRACE(static_cast<int>(answer));
        WriteBytes(target, "old");
        platform.Clear();
        bool stillOpen = false;
        InCurrentCardListing([&](TForm2& w) {
            platform.fileAnswers = {Path(QStringLiteral("old"))};
            platform.answers = {answer};
            w.Tallenna1->trigger();
            stillOpen = w.isVisible();
        });
        EXPECT_TRUE(stillOpen);
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].text, question);  // with its folder
        EXPECT_EQ(platform.messages[0].icon, MsgIcon::None);
        EXPECT_EQ(platform.messages[0].buttons, MsgButtons::YesNoCancel);
        if (answer == MsgAnswer::Yes)
            EXPECT_TRUE(ReadBytes(target).startsWith(Bom() + "Cardomo 0.5 beta - Card listing"));
        else
            EXPECT_EQ(ReadBytes(target), QByteArray("old"));
    }
}

TEST_F(ListingWindowTest, AFailedSaveSaysWhyAndKeepsTheWindowOpen)
{
    WriteBytes(Path(QStringLiteral("kept.txt")), "kept");
    struct Case {
        const char* name;
        QString chosen;
        QString message;
        bool limit;
    };
    const QString missing = Path(QStringLiteral("no folder/x.txt"));
    const Case cases[] = {
        {"a write fails", Path(QStringLiteral("kept.txt")), Failure(QStringLiteral("File too large")), true},
        {"the file cannot be created", missing,
            Failure(
                QStringLiteral("Cannot create file \"") + missing + QStringLiteral("\". No such file or directory")),
            false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform.Clear();
        bool stillOpen = false;
        InCurrentCardListing([&](TForm2& w) {
            platform.fileAnswers = {c.chosen};
            platform.answers = {MsgAnswer::Yes};
            if (c.limit)
                WithFileSizeLimit(100, [&] { w.Tallenna1->trigger(); });
            else
                w.Tallenna1->trigger();
            stillOpen = w.isVisible() && !w.ListingText().isEmpty();
        });
        EXPECT_TRUE(stillOpen);
        ASSERT_FALSE(platform.messages.empty());
        EXPECT_EQ(platform.messages.back().text, c.message);
    }
    // The file that was there is whole.
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("kept.txt"))), QByteArray("kept"));
}

// ---------------------------------------------------------------------------
// The listing find window

namespace {

class ListingFindTest : public ListingWindowTest {
protected:
    void SetUp() override
    {
        ListingWindowTest::SetUp();
        platform.onWait = [this](int) { selectedDuringWait << Listing()->memoLISTAUS->textCursor().selectedText(); };
    }
    int Caret() const { return Listing()->memoLISTAUS->textCursor().position(); }
    // The caret position just after the first occurrence of what at or after
    // from in the text area.
    int After(const QString& what, int from = 0) const
    {
        const QString plain = Listing()->memoLISTAUS->document()->toRawText();
        const qsizetype at = plain.indexOf(what, from);
        EXPECT_GE(at, 0);
        return static_cast<int>(at + what.size());
    }

    QStringList selectedDuringWait;
};

}  // namespace

TEST_F(ListingFindTest, FindWindowLooksAsItShouldAndCtrlFPutsTheFocusInItsBox)
{
    InCurrentCardListing([this](TForm2& w) {
        QTest::keyClick(w.memoLISTAUS, Qt::Key_F, Qt::ControlModifier);
        TForm17* f = Find();
        ASSERT_TRUE(f->isVisible());
        EXPECT_TRUE(WaitActive(f));
        EXPECT_FALSE(f->isModal());
        // A window of the listing window's for the window system, owned by
        // the program alone.
        EXPECT_EQ(f->parentWidget(), nullptr);
        ASSERT_NE(f->windowHandle(), nullptr);
        EXPECT_EQ(f->windowHandle()->transientParent(), w.windowHandle());
        EXPECT_EQ(f->windowTitle(), QStringLiteral("FIND a word or part of it"));
        EXPECT_EQ(f->size(), QSize(366, 105));
        EXPECT_EQ(f->pos(), QPoint(800, 321));
        EXPECT_EQ(QApplication::focusWidget(), f->Edit1) << qPrintable(QApplication::focusWidget()->objectName());
        EXPECT_EQ(f->Label1->text(), QStringLiteral("Find what:"));
        EXPECT_EQ(f->Label1->pos(), QPoint(16, 26));
        EXPECT_EQ(f->Label1->buddy(), f->Edit1);
        EXPECT_EQ(f->Edit1->geometry(), QRect(73, 21, 176, 21));
        EXPECT_EQ(f->Edit1->toolTip(),
            QStringLiteral("The search is case sensitive and is performed from the cursor forward"));
        EXPECT_EQ(f->Button1->text(), QStringLiteral("Find Next"));
        EXPECT_EQ(f->Button1->geometry(), QRect(272, 20, 75, 24));
        EXPECT_EQ(f->Button2->text(), QStringLiteral("Close"));
        EXPECT_EQ(f->Button2->geometry(), QRect(272, 50, 75, 23));
        // Esc in the find window closes it alone.
        QTest::keyClick(f->Edit1, Qt::Key_Escape);
        EXPECT_FALSE(f->isVisible());
        EXPECT_TRUE(w.isVisible());
        // "Close" closes it too.
        w.Etsisanaa1->trigger();
        f->Button2->click();
        EXPECT_FALSE(f->isVisible());
    });
}

TEST_F(ListingFindTest, FindNextByButtonEnterTabF3AndCtrlDGoesForwardWithoutWrapping)
{
    // The current card's listing names "Card 3" on its title line and the
    // file path in the footer; "Code" stands on three lines.
    InCurrentCardListing([this](TForm2& w) {
        QTest::keyClick(w.memoLISTAUS, Qt::Key_F, Qt::ControlModifier);
        TForm17* f = Find();
        QTest::keyClicks(f->Edit1, QStringLiteral("Code"));
        f->Button1->click();  // 1: by the button
        EXPECT_EQ(Caret(), After(QStringLiteral("Code")));
        EXPECT_FALSE(w.memoLISTAUS->textCursor().hasSelection());
        EXPECT_EQ(QApplication::focusWidget(), w.memoLISTAUS);  // the text shows the match

        Activate(f);
        f->Edit1->setFocus();
        QTest::keyClick(f->Edit1, Qt::Key_Return);  // 2: Enter in the box
        const int second = After(QStringLiteral("Code"), After(QStringLiteral("Code")));
        EXPECT_EQ(Caret(), second);

        Activate(f);
        f->Edit1->setFocus();
        QTest::keyClick(f->Edit1, Qt::Key_Tab);  // 3: the button receives the focus
        const int third = After(QStringLiteral("Code"), second);
        EXPECT_EQ(Caret(), third);

        Activate(&w);
        QTest::keyClick(w.memoLISTAUS, Qt::Key_F3);  // 4: no fourth "Code"
        EXPECT_EQ(Caret(), third);
        f->Edit1->setText(QStringLiteral("Card"));
        w.memoLISTAUS->moveCursor(QTextCursor::Start);
        QTest::keyClick(w.memoLISTAUS, Qt::Key_D, Qt::ControlModifier);  // 5: Ctrl+D, also with the window open
        EXPECT_EQ(Caret(), After(QStringLiteral("Card")));
        f->close();
        Activate(&w);
        QTest::keyClick(w.memoLISTAUS, Qt::Key_F3);  // 6: F3 with the window closed
        EXPECT_EQ(Caret(), After(QStringLiteral("Card"), After(QStringLiteral("Card"))));
    });
    EXPECT_EQ(selectedDuringWait, (QStringList{"Code", "Code", "Code", "Card", "Card"}));
    EXPECT_EQ(platform.waits, (std::vector<int>(5, 280)));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, QStringLiteral("String \"Code\" not found"));
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::Information);
}

TEST_F(ListingFindTest, AMouseClickOnFindNextFindsOnceAndCaseCounts)
{
    InCurrentCardListing([this](TForm2& w) {
        w.Etsisanaa1->trigger();
        TForm17* f = Find();
        EXPECT_TRUE(WaitActive(f));
        f->Edit1->setText(QStringLiteral("Code"));
        QTest::mouseClick(f->Button1, Qt::LeftButton);  // the press gives it the focus, the release clicks
        EXPECT_EQ(Caret(), After(QStringLiteral("Code")));
        f->Edit1->setText(QStringLiteral("code"));
        f->Button1->click();
        f->Edit1->clear();
        f->Button1->click();
    });
    EXPECT_EQ(platform.waits.size(), 1u);
    EXPECT_EQ(platform.Texts(), (QStringList{"String \"code\" not found", "String \"\" not found"}));
}

TEST_F(ListingFindTest, FindStartsAfterTheSelectionAndCountsLineBreaksAsTwo)
{
    InCurrentCardListing([this](TForm2& w) {
        w.Etsisanaa1->trigger();
        TForm17* f = Find();
        // A text to find that spans a line break: the title line's end, its
        // break and the empty line after it.
        f->Edit1->setText(QStringLiteral(", \r\n\r\n Topic:"));
        f->Button1->click();
        EXPECT_EQ(Caret(), After(QStringLiteral(", \u2028\u2028 Topic:")));
        // With part of the text selected the search starts after the selection.
        QTextCursor c(w.memoLISTAUS->document());
        c.setPosition(0);
        c.setPosition(After(QStringLiteral("Code1")), QTextCursor::KeepAnchor);
        w.memoLISTAUS->setTextCursor(c);
        f->Edit1->setText(QStringLiteral("Code"));
        f->Button1->click();
        EXPECT_EQ(Caret(), After(QStringLiteral("Code2")) - 1);
    });
    // The selection's text gives every line break as U+2029.
    ASSERT_EQ(selectedDuringWait.size(), 2);
    EXPECT_EQ(selectedDuringWait[0].replace(QChar::LineSeparator, QChar::ParagraphSeparator),
        QStringLiteral(", \u2029\u2029 Topic:"));
    EXPECT_EQ(selectedDuringWait[1], QStringLiteral("Code"));
}

namespace {

// The largest change of the text area's shown document, in characters, and
// how many changes it had: what the text area tells a screen reader (each
// change of the document it shows goes to the accessibility bus with the
// characters inserted or as many removed).
struct ShownChanges {
    qsizetype largest = 0;
    int count = 0;
    void Follow(QTextDocument* doc)
    {
        QObject::connect(doc, &QTextDocument::contentsChange, doc, [this](int, int removed, int added) {
            largest = std::max<qsizetype>(largest, std::max(removed, added));
            ++count;
        });
    }
};

using LongListingTest = ListingTest;

}  // namespace

// F8 on a long listing: the text area holds exactly the listing text, with
// the caret and the view at its start, in the area's font; it answers keys
// at once, and an edit reads back with every line break kept in its form.
// The document the area shows has no change the size of the listing, neither
// when the listing shows nor when it closes: a screen reader would be sent
// the whole text (on a large file a message of megabytes on the
// accessibility bus), and at the close as many characters removed.
TEST_F(LongListingTest, F8ShowsTheWholeListingAtItsStartAndTheShownDocumentHasNoChangeOfItsSize)
{
    constexpr int Cards = 400;
    CardRows rows(Cards);
    for (int i = 0; i < Cards; ++i) {
        rows[static_cast<size_t>(i)][0] = QStringLiteral("Card %1").arg(i + 1);
        // A lone LF among the CR LF breaks, which the text gives back as it was.
        rows[static_cast<size_t>(i)][MemoCell] =
            QStringLiteral("first line of %1\r\nsecond\nthird \u00e4\u20ac").arg(i + 1);
        rows[static_cast<size_t>(i)][CardIdCell] = QStringLiteral("id%1").arg(i + 1);
    }
    const QString path = Path(QStringLiteral("long.kqk"));
    WriteCardFile(path, rows, Cards, MainFileHeaderText);
    Start({path});
    ASSERT_EQ(store().CardCount, Cards);

    ListingCollector expected(ListingKind::AllCards, store(), FieldSelection(), Date(), Time());
    while (!expected.AtEnd())
        expected.AppendNext();
    const QString listing = expected.Finish();
    ASSERT_GT(listing.size(), 20000);

    ShownChanges changes;
    changes.Follow(Listing()->memoLISTAUS->document());
    int caret = -1;
    int scrolled = -1;
    QString family;
    int pixels = 0;
    bool atEnd = false;
    bool endShown = false;
    QString edited;
    OnListing([&](TForm2& w) {
        ListingTextEdit* area = w.memoLISTAUS;
        changes.Follow(area->document());
        caret = area->textCursor().position();
        scrolled = area->verticalScrollBar()->value();
        family = area->document()->defaultFont().family();
        pixels = area->document()->defaultFont().pixelSize();
        QTest::keyClick(area, Qt::Key_End, Qt::ControlModifier);
        atEnd = area->textCursor().atEnd();
        endShown = area->verticalScrollBar()->value() == area->verticalScrollBar()->maximum()
            && area->verticalScrollBar()->maximum() > 0;
        QTest::keyClick(area, Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClicks(area, QStringLiteral("X"));
        edited = w.ListingText();
    });
    BackToMain();
    QTest::keyClick(form, Qt::Key_F8);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].text == listing) << shown[0].text.size() << " " << listing.size();
    EXPECT_EQ(caret, 0);
    EXPECT_EQ(scrolled, 0);
    EXPECT_EQ(family, QStringLiteral("Arial"));
    EXPECT_EQ(pixels, 12);
    EXPECT_TRUE(atEnd);
    EXPECT_TRUE(endShown);
    EXPECT_TRUE(edited == u'X' + listing);
    // Closed: empty.
    EXPECT_TRUE(Listing()->ListingText().isEmpty());
    EXPECT_TRUE(Listing()->memoLISTAUS->document()->isEmpty());
    // The typed letter was a change; none as large as the listing.
    EXPECT_GE(changes.count, 1);
    EXPECT_LT(changes.largest, 1000);

    // A second listing shows the same text afresh.
    shown.clear();
    changes.Follow(Listing()->memoLISTAUS->document());
    OnListing();
    BackToMain();
    QTest::keyClick(form, Qt::Key_F8);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].text == listing);
    EXPECT_EQ(shown[0].caret, 0);
    EXPECT_LT(changes.largest, 1000);
}
