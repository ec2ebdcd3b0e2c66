// The four listing commands: their common steps and order, the wait window,
// Esc held down, the caption and text of the listing window, the windows
// hidden and disabled while it is open and brought back when it closes, and
// the "No card file is open!" and "Error!" paths.
#include "listing_fixture.h"

#include "generalerror.h"
#include "listingcommands.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

namespace {

const QString NoFile = QStringLiteral("No card file is open!");

// The fixed block of the main window's current-card listing for a card made
// by MakeFile: Title1 "Card k", Memo "Memo k", Card ID "idk", the rest empty.
QString CurrentCardBlock(int k)
{
    const QString n = QString::number(k);
    return Lines({Separator + n, QStringLiteral("Card ") + n + QString(12, u' ') + QStringLiteral(", "), QString(),
        QStringLiteral(" Topic:          "), QStringLiteral(" Keywords:  "), QStringLiteral(" File link:      "),
        QStringLiteral(" Code1:        "), QStringLiteral(" Code2:        "), QStringLiteral(" Code3:        "),
        QStringLiteral(" Action date:     "), QString(), QStringLiteral("Memo ") + n, QString(),
        QStringLiteral(" id") + n, QString()});
}

// The block of "List all cards" with every box ticked for the same card.
QString AllCardsBlock(int k)
{
    const QString n = QString::number(k);
    return Lines({Separator + n, QStringLiteral("Card ") + n + QString(11, u' ') + QStringLiteral(", "), QString(),
        QStringLiteral(" Topic:          "), QStringLiteral(" Keywords:  "), QStringLiteral(" File link:      "),
        QStringLiteral(" Code1:        "), QStringLiteral(" Code2:        "), QStringLiteral(" Code3:        "),
        QStringLiteral(" Action date:     "), QString(), QStringLiteral("Memo ") + n, QString(),
        QStringLiteral(" id") + n, QString()});
}

class ListingCommandTest : public ListingTest {
protected:
    QString MainFooter(const QString& path) const
    {
        return Lines({QString(), QString(), path, QString(), Banner, QString()});
    }
    QString AllCardsHeader(int count) const
    {
        return Lines({QStringLiteral("Cardomo 0.5 beta - Card listing   ") + Date() + u' ' + Time(), QString(),
            QStringLiteral("Count of cards ") + QString::number(count) + u' ', QString()});
    }
};

}  // namespace

TEST_F(ListingCommandTest, ListButtonsStandInTheMainWindowWithTheirHints)
{
    Start({MakeFile(2)});
    EXPECT_EQ(form->btnListaus->text(), QStringLiteral("&List F8"));
    EXPECT_EQ(form->btnListaus->geometry(), QRect(429, 88, 83, 27));
    EXPECT_EQ(form->btnListaus->toolTip(), QStringLiteral("List the cards to the text form"));
    EXPECT_EQ(form->Button3->text(), QStringLiteral("F&7"));
    EXPECT_EQ(form->Button3->geometry(), QRect(429, 118, 83, 27));
    EXPECT_EQ(form->Button3->toolTip(), QStringLiteral("List Current Card"));
    EXPECT_EQ(form->Tyokalut1->shortcut(), QKeySequence(Qt::Key_F8));
    EXPECT_EQ(form->Ko->shortcut(), QKeySequence(Qt::Key_F7));
    EXPECT_EQ(form->Kenttavalinnat1->shortcut(), QKeySequence(Qt::Key_F4));
    for (QWidget* w : {static_cast<QWidget*>(form->btnListaus), static_cast<QWidget*>(form->Button3)})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();

    // Without a card file they are disabled with the menu entries, and the
    // keys do nothing.
    platform.answers = {MsgAnswer::Yes};
    form->Sulje1->trigger();
    ASSERT_FALSE(store().FileOpen);
    EXPECT_FALSE(form->btnListaus->isEnabled());
    EXPECT_FALSE(form->Button3->isEnabled());
    EXPECT_FALSE(form->Tyokalut1->isEnabled());
    EXPECT_FALSE(form->Ko->isEnabled());
    platform.Clear();
    QTest::keyClick(form, Qt::Key_F8);
    QTest::keyClick(form, Qt::Key_F7);
    EXPECT_EQ(platform.modalRuns, 0);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ListingCommandTest, ListCurrentCardByKeyButtonAndMenuShowsTheWholeCardOnce)
{
    const QString path = MakeFile(3);
    Start({path});
    OnListing();
    const QString expected =
        Lines({QStringLiteral("Cardomo 0.5 beta - Card listing   ") + Date() + u' ' + Time(), QString(), QString()})
        + CurrentCardBlock(3) + MainFooter(path);
    struct Way {
        const char* name;
        std::function<void()> start;
    };
    const Way ways[] = {
        {"F7", [this] { QTest::keyClick(form, Qt::Key_F7); }},
        {"button F&7", [this] { form->Button3->click(); }},
        {"Tools > List Current Card", [this] { form->Ko->trigger(); }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        shown.clear();
        platform.Clear();
        store().PickedWindowActive = true;  // a listing of the main window clears it
        BackToMain();
        way.start();
        ASSERT_EQ(shown.size(), 1u);  // the command ran once
        const ShownListing& s = shown[0];
        EXPECT_EQ(s.text, expected);
        EXPECT_EQ(s.caption, QStringLiteral("Listing  ") + path + QStringLiteral(" - CARDOMO 0.5 beta"));
        EXPECT_EQ(s.caret, 0);
        EXPECT_FALSE(s.mainVisible);
        EXPECT_FALSE(s.mainEnabled);
        EXPECT_FALSE(s.waitVisible);
        EXPECT_FALSE(s.pickedWindowActive);
        // Closing the listing window brings the main window back, enabled,
        // and empties the text.
        EXPECT_TRUE(form->isVisible());
        EXPECT_TRUE(form->isEnabled());
        EXPECT_FALSE(Listing()->isVisible());
        EXPECT_TRUE(Listing()->ListingText().isEmpty());
        EXPECT_TRUE(platform.messages.empty());
    }
}

TEST_F(ListingCommandTest, ListAllCardsShowsTheWaitWindowAboveFiftyCardsWithItsCaptions)
{
    struct Case {
        int cards;
        bool wait;
    };
    for (const Case c : {Case{50, false}, Case{51, true}}) {
        SCOPED_TRACE(c.cards);
        const QString path = MakeFile(c.cards, QStringLiteral("cards%1.kqk").arg(c.cards));
        Start({path});
        shown.clear();
        OnListing();
        QStringList captions;
        QObject::connect(Wait(), &QWidget::windowTitleChanged, [&captions](const QString& t) { captions << t; });
        int processed = 0;
        int processedWithWait = 0;
        platform.onProcessEvents = [&] {
            ++processed;
            processedWithWait += Wait()->isVisible() ? 1 : 0;
        };
        QTest::keyClick(form, Qt::Key_F8);
        ASSERT_EQ(shown.size(), 1u);
        const QString& text = shown[0].text;
        EXPECT_TRUE(text.startsWith(AllCardsHeader(c.cards) + AllCardsBlock(1) + AllCardsBlock(2)));
        EXPECT_TRUE(text.endsWith(AllCardsBlock(c.cards) + MainFooter(path)));
        EXPECT_EQ(text.count(Separator), c.cards);
        EXPECT_EQ(shown[0].caption, QStringLiteral("Listing  cards%1.kqk - CARDOMO 0.5 beta").arg(c.cards));
        EXPECT_EQ(shown[0].caret, 0);
        EXPECT_FALSE(shown[0].waitVisible);  // closed before the listing window shows
        EXPECT_FALSE(shown[0].mainVisible);
        EXPECT_FALSE(shown[0].mainEnabled);
        // Events are processed after every card, with the wait window up
        // while the cards are collected.
        EXPECT_EQ(processed, c.cards);
        EXPECT_EQ(processedWithWait, c.wait ? c.cards : 0);
        if (c.wait) {
            ASSERT_FALSE(captions.isEmpty());
            EXPECT_EQ(captions[0], QStringLiteral("Collecting listing 0/51  CARDOMO 0.5 beta"));
            for (const QString& caption : captions)
                EXPECT_TRUE(caption.startsWith(QStringLiteral("Collecting listing "))
                    && caption.endsWith(QStringLiteral("/51  CARDOMO 0.5 beta")))
                    << caption.toStdString();
        } else {
            EXPECT_TRUE(captions.isEmpty());
        }
        EXPECT_FALSE(Wait()->isVisible());
        EXPECT_TRUE(form->isVisible());
        EXPECT_TRUE(form->isEnabled());
    }
}

TEST_F(ListingCommandTest, EscHeldAfterTheTenthCardEndsTheListingWithTheFooterWritten)
{
    const QString path = MakeFile(200);
    Start({path});
    OnListing();
    int processed = 0;
    platform.onProcessEvents = [&] {
        ++processed;
        platform.escHeld = processed == 10;
    };
    QTest::keyClick(form, Qt::Key_F8);
    platform.escHeld = false;
    ASSERT_EQ(shown.size(), 1u);
    const QString& text = shown[0].text;
    EXPECT_EQ(processed, 10);
    EXPECT_TRUE(text.startsWith(AllCardsHeader(200) + AllCardsBlock(1)));  // the count states the whole table
    EXPECT_TRUE(text.endsWith(AllCardsBlock(10) + MainFooter(path)));
    EXPECT_EQ(text.count(Separator), 10);
    EXPECT_FALSE(shown[0].waitVisible);
}

TEST_F(ListingCommandTest, TheCurrentCardIsStoredAndTheMemoFindWindowClosedFirst)
{
    Start({MakeFile(3)});
    OnListing();
    QTest::keyClick(form, Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(form15->isVisible());
    BackToMain();
    form->memoTUNNISTE->setFocus();
    form->memoTUNNISTE->moveCursor(QTextCursor::End);
    QTest::keyClicks(form->memoTUNNISTE, QStringLiteral(" typed"));
    QTest::keyClick(form, Qt::Key_F7);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_FALSE(shown[0].findVisible);
    EXPECT_TRUE(shown[0].text.contains(QStringLiteral("\r\nCard 3 typed   ")));
    EXPECT_EQ(store().CardTable[2][0], QStringLiteral("Card 3 typed"));
}

TEST_F(ListingCommandTest, WithoutAnOpenCardFileF7SaysSoAndF8DoesNothing)
{
    Start({MakeFile(3)});
    OnListing();
    // The controls stay enabled here so that the commands' own test is
    // reached, as with a card file that failed to open part-way.
    store().FileOpen = false;
    store().PickedWindowActive = true;
    QTest::keyClick(form, Qt::Key_F8);
    EXPECT_TRUE(platform.messages.empty());
    QTest::keyClick(form, Qt::Key_F7);
    form->btnListaus->click();
    EXPECT_EQ(platform.Texts(), (QStringList{NoFile, NoFile}));
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::None);
    EXPECT_EQ(platform.modalRuns, 0);
    EXPECT_TRUE(shown.empty());
    EXPECT_FALSE(store().PickedWindowActive);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->isEnabled());
    EXPECT_FALSE(Wait()->isVisible());
}

TEST_F(ListingCommandTest, AnErrorWhileCollectingSaysErrorAndBringsTheMainWindowBack)
{
    Start({MakeFile(200)});
    OnListing();
    int processed = 0;
    bool waitWasUp = false;
    platform.onProcessEvents = [&] {
        waitWasUp = Wait()->isVisible();
        if (++processed == 3)
            throw GeneralError(QStringLiteral("Out of memory"));
    };
    QTest::keyClick(form, Qt::Key_F8);
    EXPECT_TRUE(waitWasUp);
    EXPECT_EQ(platform.Texts(), QStringList{QStringLiteral("Error!")});
    EXPECT_EQ(platform.modalRuns, 0);
    EXPECT_FALSE(Wait()->isVisible());
    EXPECT_FALSE(Listing()->isVisible());
    EXPECT_TRUE(Listing()->ListingText().isEmpty());
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->isEnabled());

    // The next listing works.
    platform.onProcessEvents = {};
    platform.Clear();
    BackToMain();
    QTest::keyClick(form, Qt::Key_F7);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].text.contains(CurrentCardBlock(200)));
}

TEST_F(ListingCommandTest, TheWaitWindowLooksAsItShouldAndIgnoresEsc)
{
    Start({MakeFile(2)});
    TForm5* wait = Wait();
    EXPECT_EQ(wait->windowTitle(), QStringLiteral("Collecting the listing..."));
    EXPECT_EQ(wait->Label1->text(), QStringLiteral("Press ESC to Interrupt the listing"));
    EXPECT_TRUE(wait->Label1->font().bold());
    EXPECT_EQ(wait->Label1->font().pixelSize(), 16);
    EXPECT_EQ(wait->size(), QSize(317, 132));
    EXPECT_FALSE(wait->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(wait->windowFlags() & Qt::WindowMinMaxButtonsHint);
    EXPECT_FALSE(wait->isModal());
    wait->ShowWait();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(wait));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((wait->frameGeometry().center() - screen.center()).manhattanLength(), 8);
    QTest::keyClick(wait, Qt::Key_Escape);
    wait->close();  // neither Esc nor a close request closes it
    EXPECT_TRUE(wait->isVisible());
    wait->CloseWait();
    EXPECT_FALSE(wait->isVisible());
}

// ---------------------------------------------------------------------------
// The picked cards window's listings

namespace {

class PickedListingTest : public ListingCommandTest {
protected:
    void SetUp() override
    {
        path = MakeFile(3);
        Start({path});
        OnListing();
    }
    // n picked cards: Title1 "Pk", Code1 "Ck", Memo "PMk", Card ID "pidk".
    void Pick(int n, int current)
    {
        store().PickedTable.assign(static_cast<size_t>(n), Card{});
        for (int k = 1; k <= n; ++k) {
            Card& c = store().PickedTable[static_cast<size_t>(k - 1)];
            c[0] = QStringLiteral("P%1").arg(k);
            c[10] = QStringLiteral("C%1").arg(k);
            c[MemoCell] = QStringLiteral("PM%1").arg(k);
            c[CardIdCell] = QStringLiteral("pid%1").arg(k);
        }
        store().PickedCount = n;
        store().CurrentPicked = current;
        store().PickedWindowActive = true;
    }
    // Runs the listing from inside the picked cards window's own modal
    // display, as its buttons do, and ends that display once the listing is
    // closed; true when the display was still running then.
    bool ListFromPickedWindow(QDialog& picked, ListingKind kind)
    {
        bool stillModal = false;
        QTimer::singleShot(0, &picked, [&] {
            ListCards(program->context, kind, &picked);
            stillModal = picked.isVisible() && picked.isModal();
            afterListing = {picked.isVisible(), picked.isEnabled(), form->isVisible(), form->isEnabled()};
            picked.accept();
        });
        picked.setModal(true);
        picked.exec();
        return stillModal;
    }

    struct After {
        bool pickedVisible, pickedEnabled, mainVisible, mainEnabled;
    } afterListing{};
    QString path;
};

}  // namespace

TEST_F(PickedListingTest, ListPickedCardsHidesBothWindowsAndReturnsToThePickedWindowStillModal)
{
    Pick(2, 1);
    QDialog picked;  // stands for the picked cards window, which holds the main window disabled
    form->setEnabled(false);
    bool pickedHiddenAndDisabled = false;
    platform.modalHandler = [&](QDialog&) {
        shown.push_back(Seen());
        pickedHiddenAndDisabled = !picked.isVisible() && !picked.isEnabled();
        return 0;
    };
    EXPECT_TRUE(ListFromPickedWindow(picked, ListingKind::PickedCards));
    ASSERT_EQ(shown.size(), 1u);
    const ShownListing& s = shown[0];
    EXPECT_TRUE(pickedHiddenAndDisabled);
    EXPECT_FALSE(s.mainVisible);
    EXPECT_FALSE(s.mainEnabled);
    EXPECT_TRUE(s.pickedWindowActive);
    EXPECT_FALSE(s.waitVisible);
    EXPECT_EQ(s.caret, 0);
    EXPECT_EQ(s.caption, QStringLiteral("Listing of the picked cards - CARDOMO 0.5 beta"));
    auto block = [](int k) {
        const QString n = QString::number(k);
        return Lines({Separator + n, QStringLiteral("P") + n + QString(11, u' ') + QStringLiteral(", "), QString(),
            QString(), QStringLiteral(" Topic:          "), QStringLiteral(" Keywords:  "),
            QStringLiteral(" File link:      "), QStringLiteral(" Code1:          C") + n,
            QStringLiteral(" Code2:          "), QStringLiteral(" Code3:          "),
            QStringLiteral(" Action date:     "), QString(), QString(), QStringLiteral("PM") + n, QString(),
            QStringLiteral(" pid") + n, QString()});
    };
    EXPECT_EQ(s.text,
        Lines({QStringLiteral("Cardomo 0.5 - Listing of the picked cards   ") + Date() + u' ' + Time(), QString(),
            QStringLiteral("Number of the cards 2"), QString()})
            + block(1) + block(2)
            + Lines({QStringLiteral("Picked from the file ") + path, QString(), Banner, QString()}));
    // Back in the picked cards window, which keeps the main window disabled.
    EXPECT_TRUE(afterListing.pickedVisible);
    EXPECT_TRUE(afterListing.pickedEnabled);
    EXPECT_TRUE(afterListing.mainVisible);
    EXPECT_FALSE(afterListing.mainEnabled);
    EXPECT_TRUE(Listing()->ListingText().isEmpty());
}

TEST_F(PickedListingTest, ListCurrentPickedCardShowsTheWaitWindowOverFiftyPickedCards)
{
    Pick(51, 49);
    QDialog picked;
    QStringList captions;
    QObject::connect(Wait(), &QWidget::windowTitleChanged, [&captions](const QString& t) { captions << t; });
    bool waitWasUp = false;
    platform.onProcessEvents = [&] { waitWasUp = Wait()->isVisible(); };
    EXPECT_TRUE(ListFromPickedWindow(picked, ListingKind::CurrentPickedCard));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(waitWasUp);
    EXPECT_EQ(captions, QStringList{QStringLiteral("Collecting the listing 49/51   CARDOMO 0.5 beta")});
    EXPECT_EQ(shown[0].caption, QStringLiteral("Listing of the picked cards - CARDOMO 0.5 beta"));
    EXPECT_EQ(shown[0].text,
        Lines({QStringLiteral("Cardomo 0.5 beta - Listing from the picking form   ") + Date() + u' ' + Time(),
            QString(), QString(), Separator + QStringLiteral("50"),
            QStringLiteral("P50") + QString(11, u' ') + QStringLiteral(", "), QString(),
            QStringLiteral(" Topic:          "), QStringLiteral(" Keywords:  "), QStringLiteral(" File link:      "),
            QStringLiteral(" Code1:        C50"), QStringLiteral(" Code2:        "), QStringLiteral(" Code3:        "),
            QStringLiteral(" Action date:     "), QString(), QStringLiteral("PM50"), QString(),
            QStringLiteral(" pid50"), QString(), QStringLiteral("Picked cards from the file ") + path, QString(),
            Banner, QString()}));
}

TEST_F(PickedListingTest, APickedWindowThatIsAChildOfTheMainWindowComesBackEnabled)
{
    // Should the picked cards window rely on its modality alone, the main
    // window is enabled before the listing and is so again after it.
    Pick(1, 0);
    QDialog picked(form);
    EXPECT_TRUE(ListFromPickedWindow(picked, ListingKind::PickedCards));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_FALSE(shown[0].mainEnabled);
    EXPECT_TRUE(afterListing.pickedVisible);
    EXPECT_TRUE(afterListing.pickedEnabled);
    EXPECT_TRUE(afterListing.mainEnabled);
}

TEST_F(PickedListingTest, AnErrorWhileCollectingBringsThePickedWindowBackAndReportsIt)
{
    Pick(60, 0);
    QDialog picked;
    form->setEnabled(false);
    picked.show();
    int processed = 0;
    platform.onProcessEvents = [&] {
        if (++processed == 5)
            throw GeneralError(QStringLiteral("Out of memory"));
    };
    EXPECT_THROW(ListCards(program->context, ListingKind::PickedCards, &picked), GeneralError);
    EXPECT_EQ(platform.modalRuns, 0);
    EXPECT_TRUE(platform.messages.empty());  // the general error report shows it
    EXPECT_FALSE(Wait()->isVisible());
    EXPECT_TRUE(Listing()->ListingText().isEmpty());
    EXPECT_TRUE(picked.isVisible());
    EXPECT_TRUE(picked.isEnabled());
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isEnabled());
}
