// The print preview: its look, the size of its page image, where it starts
// in each kind of pages, every page move with its keys and conditions, the
// windows kept on the page shown, how it closes and starts printing, the
// wait window of a long listing, a card that does not fit, and a failure
// while drawing the last page.
#include "preview_fixture.h"

#include "Drawpage.h"
#include "Unit15.h"
#include "listingpages.h"
#include "support/contrast.h"

#include "generalerror.h"

#include <QAccessible>
#include <QColor>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScreen>

namespace {

// The preview with its look taken apart.
TEST_F(PreviewTest, TheWindowLooksAsItShould)
{
    StartOn(5, 3);
    TPreviewForm& p = *Preview();
    EXPECT_FALSE(p.isVisible());
    EXPECT_EQ(p.windowTitle(), QStringLiteral("Preview - CARDOMO  0.5 beta"));
    EXPECT_TRUE(p.windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(p.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(p.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_NE(p.minimumSize(), p.maximumSize());  // resizable
    EXPECT_EQ(p.size(), QSize(1042, 722));
    EXPECT_EQ(p.pos(), QPoint(114, 0));

    // The tool bar, left to right, with the hints; nothing takes the focus.
    EXPECT_EQ(p.ToolBar->height(), 25);
    EXPECT_EQ(p.ToolBar->geometry().topLeft(), QPoint(0, 0));
    struct Item {
        QWidget* widget;
        const char* name;
        const char* caption;
        const char* hint;
    };
    const Item items[] = {
        {p.HomeButton, "HomeButton", "&Home", "First Card - Home"},
        {p.PreviousButton, "PreviousButton", "Pre&vious", "Previous Card - PgUp"},
        {p.NextButton, "NextButton", "&Next", "Next Card - PgDn"},
        {p.EndButton, "EndButton", "&End", "Last Card - End"},
        {p.Label1, "Label1", "", ""},
        {p.PrintButton, "PrintButton", "&Print", "Print Selected Pages"},
        {p.CloseButton, "CloseButton", "&Close", "Close the Preview form  ESC"},
        {p.Label2, "Label2", "", ""},
    };
    for (const Item& item : items) {
        SCOPED_TRACE(item.name);
        EXPECT_EQ(item.widget->objectName(), QString::fromLatin1(item.name));
        EXPECT_EQ(item.widget->parentWidget(), p.ToolBar);
        EXPECT_EQ(item.widget->focusPolicy(), Qt::NoFocus);
        if (auto* b = qobject_cast<QToolButton*>(item.widget)) {
            EXPECT_EQ(b->text(), QString::fromLatin1(item.caption));
            EXPECT_EQ(b->toolTip(), QString::fromLatin1(item.hint));
            EXPECT_TRUE(b->autoRaise());
        }
    }
    EXPECT_EQ(p.Label2->font().pixelSize(), 11);
    EXPECT_EQ(p.Label2->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(p.Label2->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(p.Label3->parentWidget(), &p);
    EXPECT_EQ(p.Label3->font().pixelSize(), 11);
    EXPECT_GE(p.Label3->y(), p.ToolBar->height());
    EXPECT_LT(p.Label3->x(), 10);

    acts[QStringLiteral("PreviewForm")] = [&p, &items] {
        int left = -1;
        for (const Item& item : items) {
            SCOPED_TRACE(item.name);
            EXPECT_TRUE(item.widget->isVisible());
            EXPECT_GT(item.widget->x(), left);
            left = item.widget->x();
        }
        EXPECT_TRUE(p.Label2->text().isEmpty());
        // Shown on the main window's current card, the image a quarter of
        // the width in, under the tool bar.
        EXPECT_EQ(p.Label1->text(), QStringLiteral("3/5"));
        EXPECT_EQ(p.PreBits.size(), QSize(521, 677));
        EXPECT_EQ(p.size(), QSize(1042, 722));
        EXPECT_EQ(p.focusWidget(), nullptr);  // the window itself takes the keys
        // After a resize, Label3 reads the outer width and height.
        p.resize(1240, 600);
        QTest::qWait(20);
        const QRect outer = p.frameGeometry();
        EXPECT_EQ(p.Label3->text(), QString::number(outer.width()) + u',' + QString::number(outer.height()));
        EXPECT_EQ(p.width(), 1240);
    };
    form->Esikatselu1->trigger();
    ASSERT_EQ(previews.size(), 1u);
    EXPECT_TRUE(previews[0].enabled);
}

// FitPreviewBitmap: half the width, 1.3 times as high, the window's
// height following unless it is maximised.
TEST_F(PreviewTest, ThePageImageFollowsTheWidthAndTheHeightFollowsIt)
{
    StartOn(3, 1);
    TPreviewForm& p = *Preview();
    struct Case {
        int width;
        QSize image;
        int ppiX;
        int ppiY;
        int height;
    };
    acts[QStringLiteral("PreviewForm")] = [&p] {
        for (const Case& c : {Case{1042, {521, 677}, 63, 56, 722}, Case{1240, {620, 806}, 75, 67, 851},
                 Case{1000, {500, 650}, 60, 54, 695}, Case{801, {400, 520}, 48, 43, 565}}) {
            SCOPED_TRACE(c.width);
            p.resize(c.width, 300);
            QTest::qWait(20);
            EXPECT_EQ(p.PreBits.size(), c.image);
            EXPECT_EQ(p.PpiX, c.ppiX);
            EXPECT_EQ(p.PpiY, c.ppiY);
            EXPECT_EQ(p.width(), c.width);
            EXPECT_EQ(p.height(), c.height);
        }
        // Wider by 200: taller by 1.3 x 100, and the page's text larger.
        p.resize(1042, 722);
        QTest::qWait(20);
        auto darkRows = [&p] {
            int rows = 0;
            for (int y = 0; y < p.PreBits.height(); ++y)
                for (int x = 0; x < p.PreBits.width(); ++x)
                    if (qGray(p.PreBits.pixel(x, y)) < 128) {
                        ++rows;
                        break;
                    }
            return rows;
        };
        const int narrowRows = darkRows();
        const int narrowHeight = p.height();
        p.resize(1242, 722);
        QTest::qWait(20);
        EXPECT_EQ(p.height() - narrowHeight, 130);
        EXPECT_GT(darkRows(), narrowRows);

        // Maximised, the window keeps the height it is given.
        p.showMaximized();
        EXPECT_TRUE(QTest::qWaitFor([&p] { return p.isMaximized(); }, 2000));
        QTest::qWait(50);
        const QRect screen = p.screen()->availableGeometry();
        EXPECT_EQ(p.PreBits.width(), p.width() / 2);
        EXPECT_NE(p.height(), p.PreBits.height() + 45);
        EXPECT_GE(p.frameGeometry().height(), screen.height() - 1);
        p.showNormal();
    };
    form->Esikatselu1->trigger();
    ASSERT_EQ(previews.size(), 1u);
}

// Every move with its keys and its conditions; the main window follows the
// preview to the page shown, and ends on the last card previewed.
TEST_F(PreviewTest, EveryMoveByItsKeysAndButtonsAndTheMainWindowFollows)
{
    StartOn(25, 1);
    TPreviewForm& p = *Preview();
    struct Step {
        const char* name;
        std::function<void()> act;
        int page;  // where the preview and the main window are after it
    };
    const QString longNote = QStringLiteral("a note from before");
    acts[QStringLiteral("PreviewForm")] = [&] {
        auto key = [&p](Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
            return [&p, k, mods] { QTest::keyClick(&p, k, mods); };
        };
        auto mnemonic = [&p](Qt::Key k) {
            return [&p, k] {
                const int before = p.Page;
                QTest::keyClick(&p, k, Qt::AltModifier);
                EXPECT_TRUE(QTest::qWaitFor([&p, before] { return p.Page != before; }, 2000));
            };
        };
        const Step steps[] = {
            {"PageDown", key(Qt::Key_PageDown), 2},
            {"Ctrl+PageDown", key(Qt::Key_PageDown, Qt::ControlModifier), 3},
            {"PageUp", key(Qt::Key_PageUp), 2},
            {"Ctrl+PageUp", key(Qt::Key_PageUp, Qt::ControlModifier), 1},
            {"PageUp on the first page", key(Qt::Key_PageUp), 1},
            {"Ctrl+PageUp on the first page", key(Qt::Key_PageUp, Qt::ControlModifier), 1},
            {"Alt+PageUp on page 1", key(Qt::Key_PageUp, Qt::AltModifier), 1},
            {"Alt+PageDown from page 1", key(Qt::Key_PageDown, Qt::AltModifier), 11},
            {"Alt+PageDown from page 11", key(Qt::Key_PageDown, Qt::AltModifier), 21},
            {"Alt+PageDown from page 21 of 25", key(Qt::Key_PageDown, Qt::AltModifier), 21},
            {"Alt+PageUp from page 21", key(Qt::Key_PageUp, Qt::AltModifier), 11},
            {"Alt+PageUp from page 11", key(Qt::Key_PageUp, Qt::AltModifier), 1},
            {"End", key(Qt::Key_End), 25},
            {"PageDown on the last page", key(Qt::Key_PageDown), 25},
            {"Ctrl+PageDown on the last page", key(Qt::Key_PageDown, Qt::ControlModifier), 25},
            {"Alt+PageDown on the last page", key(Qt::Key_PageDown, Qt::AltModifier), 25},
            {"Alt+PageUp from page 25", key(Qt::Key_PageUp, Qt::AltModifier), 15},
            {"Alt+PageUp from page 15", key(Qt::Key_PageUp, Qt::AltModifier), 5},
            {"Alt+PageUp from page 5", key(Qt::Key_PageUp, Qt::AltModifier), 5},
            {"Alt+PageDown from page 5", key(Qt::Key_PageDown, Qt::AltModifier), 15},
            {"Alt+PageDown from page 15 of 25", key(Qt::Key_PageDown, Qt::AltModifier), 15},
            {"Home", key(Qt::Key_Home), 1},
            {"Alt+End", key(Qt::Key_End, Qt::AltModifier), 25},
            {"Alt+Home", key(Qt::Key_Home, Qt::AltModifier), 1},
            {"wheel down", [this] { Wheel(-1); }, 2},
            {"wheel down two notches", [this] { Wheel(-2); }, 4},
            {"wheel up", [this] { Wheel(1); }, 3},
            {"Next button", [&p] { p.NextButton->click(); }, 4},
            {"End button", [&p] { p.EndButton->click(); }, 25},
            {"Next button on the last page", [&p] { p.NextButton->click(); }, 25},
            {"Previous button", [&p] { p.PreviousButton->click(); }, 24},
            {"Home button", [&p] { p.HomeButton->click(); }, 1},
            {"Previous button on the first page", [&p] { p.PreviousButton->click(); }, 1},
            {"wheel up on the first page", [this] { Wheel(1); }, 1},
            // A button's marked letter presses it, as a click that shows.
            {"Alt+N", mnemonic(Qt::Key_N), 2},
            {"Alt+E", mnemonic(Qt::Key_E), 25},
            {"Alt+V", mnemonic(Qt::Key_V), 24},
            {"Alt+H", mnemonic(Qt::Key_H), 1},
            {"back to page 7",
                [&p] {
                    for (int i = 0; i < 6; ++i)
                        p.NextButton->click();
                },
                7},
        };
        for (const Step& step : steps) {
            SCOPED_TRACE(step.name);
            // Every move clears the red note, also one that goes nowhere.
            p.Label2->setText(longNote);
            step.act();
            EXPECT_EQ(p.Page, step.page);
            EXPECT_EQ(p.Label1->text(), QString::number(step.page) + QStringLiteral("/25"));
            EXPECT_TRUE(p.Label2->text().isEmpty());
            EXPECT_TRUE(p.isVisible());
            // The main window shows the card of the page.
            EXPECT_EQ(store().CurrentCard, step.page - 1);
            EXPECT_EQ(Title1(), QStringLiteral("Card %1").arg(step.page));
            EXPECT_EQ(form->editKORTTINRO->text(), QString::number(step.page));
        }
    };
    form->PreviewBitBtn->click();
    ASSERT_EQ(previews.size(), 1u);
    EXPECT_EQ(previews[0].page, 1);
    EXPECT_EQ(previews[0].mode, PrintMode::CardPrint);
    // Closed, the main window stays on the last card previewed; nothing
    // was printed.
    EXPECT_FALSE(p.isVisible());
    EXPECT_EQ(store().CurrentCard, 6);
    EXPECT_EQ(Title1(), QStringLiteral("Card 7"));
    EXPECT_TRUE(platform.printDialogs.empty());
    EXPECT_TRUE(platform.messages.empty());
    // The cards are as they were.
    for (int k = 1; k <= 25; ++k)
        EXPECT_EQ(store().CardTable[static_cast<size_t>(k - 1)][0], QStringLiteral("Card %1").arg(k));
}

// The preview starts on the current card, the current picked card, or the
// listing's first page, each with its total; every activation returns it
// there.
TEST_F(PreviewTest, EachKindOfPagesStartsWhereItShould)
{
    StartOn(12, 4);
    // The main window: its current card of its cards, by menu, key and button.
    acts[QStringLiteral("PreviewForm")] = [this] { EXPECT_EQ(Preview()->Label1->text(), QStringLiteral("4/12")); };
    form->Esikatselu1->trigger();
    Key(form, Qt::Key_E, Qt::ControlModifier);
    form->PreviewBitBtn->click();
    ASSERT_EQ(previews.size(), 3u);
    for (const PreviewSeen& s : previews) {
        EXPECT_EQ(s.page, 4);
        EXPECT_EQ(s.counter, QStringLiteral("4/12"));
        EXPECT_EQ(s.mode, PrintMode::CardPrint);
    }

    // The picked cards window: "Card 1", "Card 10", "Card 11", "Card 12",
    // opened on the last; moving in the preview moves the picked window.
    previews.clear();
    int pickedShown = 0;
    acts[QStringLiteral("PreviewForm")] = [&] {
        QTest::keyClick(Preview(), Qt::Key_PageUp);
        QTest::keyClick(Preview(), Qt::Key_PageUp);
        EXPECT_EQ(Preview()->Label1->text(), QStringLiteral("2/4"));
        EXPECT_EQ(store().CurrentPicked, 1);
        EXPECT_EQ(Picked()->memoTUNNISTE->Text(), QStringLiteral("Card 10"));
        EXPECT_EQ(Picked()->editKORTTINRO->text(), QStringLiteral("2"));
        // The main window stays where it was.
        EXPECT_EQ(store().CurrentCard, 3);
        EXPECT_EQ(Title1(), QStringLiteral("Card 4"));
    };
    PickTitles(QStringLiteral("Card 1"), [&] {
        Key(Picked(), Qt::Key_E, Qt::ControlModifier);
        // Back in the picked window, which shows the card last previewed;
        // the preview starts there the next time.
        EXPECT_EQ(Picked()->memoTUNNISTE->Text(), QStringLiteral("Card 10"));
        acts[QStringLiteral("PreviewForm")] = [] {};
        Picked()->PreviewBitBtn->click();
        Picked()->Esikatselu1->trigger();
        ++pickedShown;
    });
    EXPECT_EQ(pickedShown, 1);
    ASSERT_EQ(previews.size(), 3u);
    EXPECT_EQ(previews[0].counter, QStringLiteral("4/4"));
    EXPECT_EQ(previews[0].mode, PrintMode::PickedCardPrint);
    EXPECT_EQ(previews[1].counter, QStringLiteral("2/4"));
    EXPECT_EQ(previews[2].counter, QStringLiteral("2/4"));
    EXPECT_TRUE(previews[0].enabled);

    // The listing window: page 1 of the listing's pages, also after the
    // preview was left on another page and is activated again.
    previews.clear();
    acts[QStringLiteral("PreviewForm")] = [this] {
        QTest::keyClick(Preview(), Qt::Key_End);
        EXPECT_EQ(Preview()->Page, Print().ListingPageCount);
        // Away to another window and back.
        Activate(form15);
        form15->hide();
        Activate(Preview());
        EXPECT_EQ(Preview()->Page, 1);
        EXPECT_EQ(Preview()->Label1->text(), QStringLiteral("1/") + QString::number(Print().ListingPageCount));
    };
    acts[QStringLiteral("Form2")] = [this] {
        Key(Listing(), Qt::Key_E, Qt::ControlModifier);
        // The main window stays on its card.
        EXPECT_EQ(store().CurrentCard, 3);
    };
    form->btnListaus->click();
    ASSERT_EQ(previews.size(), 1u);
    EXPECT_EQ(previews[0].page, 1);
    EXPECT_EQ(previews[0].mode, PrintMode::ListPrint);
    EXPECT_TRUE(previews[0].enabled);  // over the listing window, with the main window disabled
    EXPECT_GT(Print().ListingPageCount, 1);
    EXPECT_TRUE(platform.messages.empty());
}

// A listing of count lines "line 1" ... "line count".
QString ListingOf(int count, const QString& word = QStringLiteral("line"))
{
    QString text;
    for (int i = 1; i <= count; ++i)
        text += word + u' ' + QString::number(i) + QStringLiteral("\r\n");
    return text;
}

// Esc and "&Close" empty the line breaker and the listing pages and print
// nothing; the title bar's close box empties nothing.
TEST_F(PreviewTest, CloseEmptiesThePagesAndTheTitleBarLeavesThem)
{
    StartOn(3, 2);
    struct Case {
        const char* name;
        std::function<void()> close;
        bool emptied;
    };
    const Case cases[] = {
        {"Esc", [this] { QTest::keyClick(Preview(), Qt::Key_Escape); }, true},
        {"Close button", [this] { Preview()->CloseButton->click(); }, true},
        {"Alt+C",
            [this] {
                QTest::keyClick(Preview(), Qt::Key_C, Qt::AltModifier);
                EXPECT_TRUE(QTest::qWaitFor([this] { return !Preview()->isVisible(); }, 2000));
            },
            true},
        {"title bar", [this] { Preview()->close(); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        previews.clear();
        bool pagesWhileShown = false;
        acts[QStringLiteral("PreviewForm")] = [&] {
            pagesWhileShown = !Print().ListingPages.empty() && !Print().piilomemo.Text().isEmpty();
            QTest::keyClick(Preview(), Qt::Key_PageDown);
            Preview()->Label2->setText(QStringLiteral("note"));
            c.close();
            EXPECT_FALSE(Preview()->isVisible());
            EXPECT_TRUE(Preview()->Label2->text().isEmpty());
        };
        acts[QStringLiteral("Form2")] = [this] {
            Listing()->SetListing(ListingOf(120), QStringLiteral("listing"));
            Key(Listing(), Qt::Key_E, Qt::ControlModifier);
        };
        form->btnListaus->click();
        ASSERT_EQ(previews.size(), 1u);
        EXPECT_TRUE(pagesWhileShown);
        EXPECT_EQ(Print().ListingPages.empty(), c.emptied);
        EXPECT_EQ(Print().ListingPageCount, c.emptied ? 0 : 3);
        EXPECT_EQ(Print().piilomemo.Text().isEmpty(), c.emptied);
        EXPECT_TRUE(platform.printDialogs.empty());
        EXPECT_TRUE(platform.messages.empty());
    }

    // The main window's preview empties the line breaker afterwards however
    // it was closed.
    acts[QStringLiteral("PreviewForm")] = [this] { Preview()->close(); };
    form->PreviewBitBtn->click();
    EXPECT_TRUE(Print().piilomemo.Text().isEmpty());
    EXPECT_EQ(store().CurrentCard, 1);
}

// "&Print" and Ctrl+P close the preview and then show the print dialog of
// the window the preview came from; cancelled, nothing is printed and the
// preview does not come back.
TEST_F(PreviewTest, PrintClosesThePreviewAndShowsTheSourceWindowsPrintDialog)
{
    StartOn(4, 2);
    std::vector<bool> previewShownAtDialog;
    platform.onPrintDialog = [&](const ScriptedPlatform::PrintShown&) {
        previewShownAtDialog.push_back(Preview()->isVisible());
    };
    struct Case {
        const char* name;
        std::function<void()> print;
    };
    const Case cases[] = {
        {"Ctrl+P", [this] { QTest::keyClick(Preview(), Qt::Key_P, Qt::ControlModifier); }},
        {"Print button", [this] { Preview()->PrintButton->click(); }},
        {"Alt+P",
            [this] {
                QTest::keyClick(Preview(), Qt::Key_P, Qt::AltModifier);
                EXPECT_TRUE(QTest::qWaitFor([this] { return !Preview()->isVisible(); }, 2000));
            }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform.Clear();
        previews.clear();
        previewShownAtDialog.clear();
        acts[QStringLiteral("PreviewForm")] = [&] {
            Preview()->Label2->setText(QStringLiteral("note"));
            c.print();
            EXPECT_FALSE(Preview()->isVisible());
            EXPECT_TRUE(Preview()->Label2->text().isEmpty());
        };
        Key(form, Qt::Key_E, Qt::ControlModifier);
        ASSERT_EQ(previews.size(), 1u);  // not shown again
        ASSERT_EQ(platform.printDialogs.size(), 1u);
        EXPECT_EQ(previewShownAtDialog, std::vector<bool>{false});
        const ScriptedPlatform::PrintShown& shown = platform.printDialogs[0];
        EXPECT_EQ(shown.minPage, 1);
        EXPECT_EQ(shown.maxPage, 4);
        EXPECT_FALSE(QFileInfo::exists(platform.printPath));
        EXPECT_TRUE(Print().piilomemo.Text().isEmpty());
    }
    // Each time the main window's own dialog.
    const PrintDialogState* mainDialog = platform.printDialogs[0].dialog;

    // From the picked cards window, its own dialog; confirmed, the pages print.
    platform.Clear();
    previews.clear();
    acts[QStringLiteral("PreviewForm")] = [this] { QTest::keyClick(Preview(), Qt::Key_P, Qt::ControlModifier); };
    platform.printAnswers = {ScriptedPlatform::PrintAnswer{}};
    PickTitles(QStringLiteral("Card"), [this] { Key(Picked(), Qt::Key_E, Qt::ControlModifier); });
    ASSERT_EQ(previews.size(), 1u);
    ASSERT_EQ(platform.printDialogs.size(), 1u);
    EXPECT_NE(platform.printDialogs[0].dialog, mainDialog);
    EXPECT_EQ(platform.printDialogs[0].maxPage, 4);
    EXPECT_TRUE(QFileInfo::exists(platform.printPath));
    const PrintDialogState* pickedDialog = platform.printDialogs[0].dialog;

    // From the listing window, its own dialog, on the pages the preview showed.
    platform.Clear();
    previews.clear();
    acts[QStringLiteral("PreviewForm")] = [this] { Preview()->PrintButton->click(); };
    acts[QStringLiteral("Form2")] = [this] {
        Listing()->SetListing(ListingOf(101), QStringLiteral("listing"));
        Key(Listing(), Qt::Key_E, Qt::ControlModifier);
    };
    form->btnListaus->click();
    ASSERT_EQ(previews.size(), 1u);
    ASSERT_EQ(platform.printDialogs.size(), 1u);
    EXPECT_NE(platform.printDialogs[0].dialog, mainDialog);
    EXPECT_NE(platform.printDialogs[0].dialog, pickedDialog);
    EXPECT_EQ(platform.printDialogs[0].maxPage, 3);
    EXPECT_TRUE(platform.messages.empty());
}

// Cutting a listing of more than 1000 display lines shows the wait window
// with its captions; up to 1000 it does not. The listing's find window
// closes when the preview starts.
TEST_F(PreviewTest, ALongListingIsCutIntoPagesUnderTheWaitWindow)
{
    StartOn(2, 1);
    QStringList captions;
    std::vector<bool> waitUp;
    QObject::connect(Wait(), &QWidget::windowTitleChanged, [&](const QString& t) {
        captions << t;
        waitUp.push_back(Wait()->isVisible());
    });
    struct Case {
        const char* name;
        QString text;
        int pages;
        bool wait;
    };
    // Long lines wrap in the listing window's text area: 300 of them show
    // as more than 1000 display lines.
    const QString longWords = QString(QStringLiteral("wrapping words ")).repeated(30);
    const Case cases[] = {
        {"1001 lines", ListingOf(1001), 21, true},
        {"1000 lines", ListingOf(1000), 20, false},
        {"300 long lines", ListingOf(300, longWords), -1, true},
        {"30 long lines", ListingOf(30, longWords), -1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        captions.clear();
        waitUp.clear();
        previews.clear();
        bool findShown = false;
        bool findShownInPreview = true;
        bool waitShownInPreview = true;
        acts[QStringLiteral("PreviewForm")] = [&] {
            findShownInPreview = program->windows().form17->isVisible();
            waitShownInPreview = Wait()->isVisible();
        };
        acts[QStringLiteral("Form2")] = [&] {
            Listing()->SetListing(c.text, QStringLiteral("listing"));
            Key(Listing(), Qt::Key_F, Qt::ControlModifier);
            findShown = program->windows().form17->isVisible();
            Activate(Listing());
            Key(Listing(), Qt::Key_E, Qt::ControlModifier);
        };
        form->btnListaus->click();
        ASSERT_EQ(previews.size(), 1u);
        EXPECT_TRUE(findShown);
        EXPECT_FALSE(findShownInPreview);
        EXPECT_FALSE(waitShownInPreview);
        if (c.pages > 0) {
            EXPECT_EQ(previews[0].counter, QStringLiteral("1/") + QString::number(c.pages));
        }
        if (!c.wait) {
            EXPECT_EQ(captions, QStringList());
            continue;
        }
        ASSERT_GE(captions.size(), 2);
        EXPECT_EQ(captions[0], QStringLiteral("Building the Preview. Please wait..."));
        // The first caption comes with the window; the others while it stands.
        for (size_t i = 1; i < waitUp.size(); ++i)
            EXPECT_TRUE(waitUp[i]);
        // The captions after each full page, at a readable rate: the first
        // always.
        const QRegularExpression caption(QStringLiteral("^Building the preview (\\d+)/(\\d+)  CARDOMO 0.5 beta$"));
        int last = -1;
        for (qsizetype i = 1; i < captions.size(); ++i) {
            const QRegularExpressionMatch m = caption.match(captions[i]);
            ASSERT_TRUE(m.hasMatch()) << captions[i].toStdString();
            EXPECT_GT(m.captured(1).toInt(), last);
            last = m.captured(1).toInt();
            if (c.pages > 0) {
                EXPECT_EQ(m.captured(2).toInt(), c.pages - 1);  // full pages
            }
        }
        EXPECT_TRUE(captions[1].startsWith(QStringLiteral("Building the preview 0/"))) << captions[1].toStdString();
    }
}

// Each progress caption of the wait window reaches the window system while
// the pages are built (events are let through after it is set), and the
// listing window takes no input meanwhile.
TEST_F(PreviewTest, TheWaitWindowsCaptionsShowWhileThePagesAreBuilt)
{
    StartOn(2, 1);
    QStringList captions;
    QObject::connect(Wait(), &QWidget::windowTitleChanged, [&](const QString& t) { captions << t; });
    QStringList shown;
    int typedIntoListing = 0;
    platform.onProcessEvents = [&] {
        if (!Wait()->isVisible())
            return;
        shown << Wait()->windowTitle();
        // A key for the listing window while its pages are built is dropped.
        QTest::keyClick(Listing()->memoLISTAUS, Qt::Key_A);
        typedIntoListing += Listing()->memoLISTAUS->Text().contains(u'A') ? 1 : 0;
    };
    const QString listing = ListingOf(1001);
    acts[QStringLiteral("Form2")] = [&] {
        Listing()->SetListing(listing, QStringLiteral("listing"));
        Activate(Listing());
        Key(Listing(), Qt::Key_E, Qt::ControlModifier);
    };
    form->btnListaus->click();
    ASSERT_EQ(previews.size(), 1u);
    EXPECT_EQ(previews[0].counter, QStringLiteral("1/21"));
    ASSERT_GE(captions.size(), 2);
    EXPECT_EQ(captions[0], QStringLiteral("Building the Preview. Please wait..."));
    // Every progress caption was shown, in order, while the wait window stood.
    EXPECT_EQ(shown, captions.mid(1));
    EXPECT_EQ(shown.value(0), QStringLiteral("Building the preview 0/20  CARDOMO 0.5 beta"));
    EXPECT_EQ(typedIntoListing, 0);
}

// A listing of megabytes is cut into pages while the preview shows its first
// page: the counter reads the page and the pages cut so far, which only grow,
// and once they are all cut the counter, the pages and every move are those
// of the whole listing cut at once; a move that needs pages not cut yet waits
// for them, and the title bar's close box leaves every page for printing.
TEST_F(PreviewTest, ALongListingsPagesFollowWhileThePreviewShowsAndComeOutWhole)
{
    StartOn(2, 1);
    // Every 50th line wraps in the line breaker.
    const QString longLine = QString(QStringLiteral("wrapping words ")).repeated(30);
    QString text;
    for (int i = 1; i <= 36000; ++i)
        text += (i % 50 == 0 ? longLine : QStringLiteral("a listing line of some words ")) + QString::number(i)
            + QStringLiteral("\r\n");
    ASSERT_GT(text.size(), 1 << 20);
    PrintState whole;
    BuildListingPages(whole, text);
    const int total = whole.ListingPageCount;
    ASSERT_GT(total, 740);
    const QString all = QString::number(total);

    struct Case {
        const char* name;
        std::function<void()> moves;  // pressed as the preview shows
        QString counter;  // once every page is cut
    };
    const Case cases[] = {
        {"no key", [] {}, QStringLiteral("1/") + all},
        {"End at once", [this] { QTest::keyClick(Preview(), Qt::Key_End); }, all + u'/' + all},
        {"Next twice, Alt+PageDown, Previous",
            [this] {
                QTest::keyClick(Preview(), Qt::Key_PageDown);
                QTest::keyClick(Preview(), Qt::Key_PageDown);
                QTest::keyClick(Preview(), Qt::Key_PageDown, Qt::AltModifier);
                QTest::keyClick(Preview(), Qt::Key_PageUp);
            },
            QStringLiteral("12/") + all},
    };
    const QRegularExpression counter(QStringLiteral("^(\\d+)/(\\d+)$"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        previews.clear();
        QStringList counters;
        QString done;
        bool pagesRight = false;
        QString afterEnd;
        QString afterForwardTen;
        acts[QStringLiteral("PreviewForm")] = [&] {
            c.moves();
            for (int waited = 0; Print().paging && waited < 30000; waited += 10) {
                counters << Preview()->Label1->text();
                QTest::qWait(10);
            }
            done = Preview()->Label1->text();
            pagesRight = Print().ListingPageCount == total && Print().ListingPages == whole.ListingPages;
            QTest::keyClick(Preview(), Qt::Key_End);
            afterEnd = Preview()->Label1->text();
            QTest::keyClick(Preview(), Qt::Key_Home);
            QTest::keyClick(Preview(), Qt::Key_PageDown, Qt::AltModifier);
            afterForwardTen = Preview()->Label1->text();
        };
        acts[QStringLiteral("Form2")] = [&] {
            Listing()->SetListing(text, QStringLiteral("listing"));
            Key(Listing(), Qt::Key_E, Qt::ControlModifier);
        };
        form->btnListaus->click();
        ASSERT_EQ(previews.size(), 1u);
        // Shown on page 1 with at least that page cut.
        const QRegularExpressionMatch first = counter.match(previews[0].counter);
        ASSERT_TRUE(first.hasMatch()) << previews[0].counter.toStdString();
        EXPECT_EQ(first.captured(1), QStringLiteral("1"));
        EXPECT_GE(first.captured(2).toInt(), 1);
        // While counting: the pages cut so far, never fewer than before and
        // never more than there are.
        int before = first.captured(2).toInt();
        for (const QString& seen : counters) {
            const QRegularExpressionMatch m = counter.match(seen);
            ASSERT_TRUE(m.hasMatch()) << seen.toStdString();
            EXPECT_GE(m.captured(2).toInt(), before) << seen.toStdString();
            EXPECT_LE(m.captured(2).toInt(), total) << seen.toStdString();
            before = m.captured(2).toInt();
        }
        EXPECT_EQ(done, c.counter);
        EXPECT_TRUE(pagesRight);
        EXPECT_EQ(afterEnd, all + u'/' + all);
        EXPECT_EQ(afterForwardTen, QStringLiteral("11/") + all);
        // Closed by the title bar: the pages stay, whole.
        EXPECT_FALSE(Print().paging);
        EXPECT_EQ(Print().ListingPageCount, total);
        EXPECT_TRUE(Print().ListingPages == whole.ListingPages);
    }

    // The title bar's close box at once, before the pages are all cut:
    // they are whole afterwards too.
    previews.clear();
    acts[QStringLiteral("PreviewForm")] = [this] { Preview()->close(); };
    form->btnListaus->click();
    ASSERT_EQ(previews.size(), 1u);
    EXPECT_FALSE(Print().paging);
    EXPECT_EQ(Print().ListingPageCount, total);
    EXPECT_TRUE(Print().ListingPages == whole.ListingPages);
}

// A card of more than 49 display lines gets the red note; the next move
// clears it.
TEST_F(PreviewTest, ALongCardGetsTheRedNote)
{
    StartOnLongCard(3, 2, 2);

    const QString note = QStringLiteral(
        "Card 2 does not fit entirely to the Preview Page. Please use the Preview feature of the Listing Form (F7)");
    acts[QStringLiteral("PreviewForm")] = [&] {
        EXPECT_EQ(Preview()->Label2->text(), note);
        // Drawn in red.
        const QImage drawn = Preview()->Label2->grab().toImage();
        int red = 0;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x) {
                const QColor c = drawn.pixelColor(x, y);
                red += c.red() > 150 && c.green() < 100 && c.blue() < 100;
            }
        EXPECT_GT(red, 20);
        QTest::keyClick(Preview(), Qt::Key_PageDown);
        EXPECT_TRUE(Preview()->Label2->text().isEmpty());
        QTest::keyClick(Preview(), Qt::Key_PageUp);
        EXPECT_EQ(Preview()->Label2->text(), note);
        // The page shows the first 51 lines of the body.
        EXPECT_EQ(Print().piilomemo.LineCount(), 72);
    };
    form->PreviewBitBtn->click();
    ASSERT_EQ(previews.size(), 1u);
    EXPECT_EQ(previews[0].note, note);
    // Closed, the note is gone.
    EXPECT_TRUE(Preview()->Label2->text().isEmpty());
}

// The End move that fails says so and closes the preview as "&Close" does;
// another move that fails is the general error report, and the preview
// stays.
TEST_F(PreviewTest, DrawingTheLastPageFailsWithItsOwnMessage)
{
    StartOn(5, 1);
    Preview()->SetPageDrawing([](QPainter& canvas, int page, int width, int height, int ppiX, int ppiY,
                                  const PageSources& sources) -> QString {
        if (page >= 4)
            throw GeneralError(QStringLiteral("Out of paint"));
        return DrawPage(canvas, page, width, height, true, ppiX, ppiY, sources);
    });
    acts[QStringLiteral("PreviewForm")] = [this] {
        QTest::keyClick(Preview(), Qt::Key_PageDown);
        QTest::keyClick(Preview(), Qt::Key_PageDown);
        QTest::keyClick(Preview(), Qt::Key_PageDown);  // page 4: the general error report
        EXPECT_TRUE(Preview()->isVisible());
        EXPECT_EQ(platform.Texts(), QStringList{QStringLiteral("Out of paint")});
        platform.Clear();
        QTest::keyClick(Preview(), Qt::Key_End);
        EXPECT_FALSE(Preview()->isVisible());
    };
    acts[QStringLiteral("Form2")] = [this] {
        Listing()->SetListing(ListingOf(250), QStringLiteral("listing"));
        Key(Listing(), Qt::Key_E, Qt::ControlModifier);
    };
    form->btnListaus->click();
    ASSERT_EQ(previews.size(), 1u);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, QStringLiteral("Määrittelemätön ongelma. Sulje ja avaa esikatselu uudestaan"));
    EXPECT_EQ(platform.messages[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::None);
    // Closed as by "&Close": nothing printed, the pages emptied.
    EXPECT_TRUE(platform.printDialogs.empty());
    EXPECT_TRUE(Print().ListingPages.empty());
    EXPECT_TRUE(Print().piilomemo.Text().isEmpty());
}

// The main window's preview closes the Memo find window and stores the
// card on screen first; without a card file the keys do nothing.
TEST_F(PreviewTest, TheMainWindowStoresItsCardAndClosesTheFindWindowFirst)
{
    StartOn(3, 2);
    form->memoTUNNISTE->setFocus();
    QTest::keyClicks(form->memoTUNNISTE, QStringLiteral(" edited"));
    const QString typed = Title1();
    ASSERT_TRUE(typed.contains(QStringLiteral("edited")));
    form->EtsiMemokentst1->trigger();
    ASSERT_TRUE(form15->isVisible());
    Activate(form);
    bool findShown = true;
    QString stored;
    acts[QStringLiteral("PreviewForm")] = [&] {
        findShown = form15->isVisible();
        stored = store().CardTable[1][0];
    };
    Key(form, Qt::Key_E, Qt::ControlModifier);
    ASSERT_EQ(previews.size(), 1u);
    EXPECT_FALSE(findShown);
    EXPECT_EQ(stored, typed);
    EXPECT_EQ(Title1(), typed);

    // No card file open: the entries, the buttons and the keys do nothing.
    platform.answers = {MsgAnswer::No};
    form->Sulje1->trigger();
    ASSERT_FALSE(store().FileOpen);
    EXPECT_FALSE(form->PreviewBitBtn->isEnabled());
    EXPECT_FALSE(form->PrintBitBtn->isEnabled());
    EXPECT_FALSE(form->Esikatselu1->isEnabled());
    EXPECT_FALSE(form->Tulosta1->isEnabled());
    previews.clear();
    Key(form, Qt::Key_E, Qt::ControlModifier);
    Key(form, Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(previews.empty());
    EXPECT_TRUE(platform.printDialogs.empty());
}

}  // namespace

// The red note tells about the page on the screen: the note of a long card
// printed before is not shown over a card that fits, and the long card's
// own note comes back with it.
TEST_F(PreviewTest, TheNoteBelongsToThePageShown)
{
    StartOnLongCard(3, 2, 3);
    platform.printAnswers.push_back(ScriptedPlatform::PrintAnswer{PrintRange::AllPages, 0, 0});
    Key(form, Qt::Key_P, Qt::ControlModifier);  // cards 1 to 3; card 2 does not fit
    ASSERT_EQ(platform.printDialogs.size(), 1u);
    acts[QStringLiteral("PreviewForm")] = [this] {
        QTest::keyClick(Preview(), Qt::Key_PageUp);
        EXPECT_EQ(Preview()->Label2->text(),
            QStringLiteral("Card 2 does not fit entirely to the Preview Page. Please use the Preview feature of the "
                           "Listing Form (F7)"));
        // Made wider, the page is drawn again, and so is its note.
        Preview()->resize(Preview()->width() + 100, Preview()->height());
        QTest::qWait(20);
        EXPECT_FALSE(Preview()->Label2->text().isEmpty());
    };
    form->PreviewBitBtn->click();
    ASSERT_EQ(previews.size(), 1u);
    EXPECT_EQ(previews[0].page, 3);
    EXPECT_EQ(previews[0].note, QString());
    EXPECT_TRUE(platform.messages.empty());
}

// The size label reads the window's outer size, frame included, from the
// first showing on, and follows a resize.
TEST_F(PreviewTest, TheSizeLabelReadsTheOuterSizeFromTheFirstShowing)
{
    StartOn(3, 1);
    TPreviewForm& p = *Preview();
    auto outer = [&p] {
        const QRect frame = p.frameGeometry();
        return QString::number(frame.width()) + u',' + QString::number(frame.height());
    };
    acts[QStringLiteral("PreviewForm")] = [&] {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&p));
        EXPECT_NE(p.frameGeometry().size(), p.size());  // the frame counts
        EXPECT_EQ(p.Label3->text(), outer());
        EXPECT_TRUE(p.Label3->isVisible());
        EXPECT_GE(p.Label3->width(), p.Label3->sizeHint().width());
        p.resize(p.width() - 100, p.height());
        QTest::qWait(20);
        EXPECT_EQ(p.Label3->text(), outer());
    };
    form->PreviewBitBtn->click();
    ASSERT_EQ(previews.size(), 1u);
}

// The preview stands wholly on the free area of the screen it opens on,
// and keeps the page image rule for the size it gets: on a large screen as
// designed, on 1024 x 768 narrower, on 1920 x 1080 at 150 % narrower and
// lower.
TEST_F(PreviewTest, ThePreviewStandsWhollyOnItsScreen)
{
    StartOn(3, 1);
    TPreviewForm& p = *Preview();
    struct Case {
        const char* screen;
        QSize client;
    };
    for (const Case& c : {Case{"Small", {1020, 708}}, Case{"Scaled", {1033, 716}}, Case{"Desk", {1042, 722}}}) {
        SCOPED_TRACE(c.screen);
        QScreen* screen = nullptr;
        for (QScreen* s : QGuiApplication::screens())
            if (s->name() == QLatin1String(c.screen))
                screen = s;
        if (!screen)
            GTEST_SKIP() << "the test screens are there under the offscreen platform only";
        const QRect room = screen->availableGeometry();
        // As designed, at 114, 0 of that screen.
        p.resize(1042, 722);
        p.move(room.topLeft() + QPoint(114, 0));
        acts[QStringLiteral("PreviewForm")] = [&] {
            EXPECT_EQ(p.screen(), screen);
            EXPECT_TRUE(room.contains(p.frameGeometry()))
                << p.frameGeometry().x() << ',' << p.frameGeometry().y() << ' ' << p.frameGeometry().width() << 'x'
                << p.frameGeometry().height();
            EXPECT_EQ(p.size(), c.client);
            // The image rule holds for the size it got.
            EXPECT_EQ(p.PreBits.size(), QSize(c.client.width() / 2, c.client.height() - 45));
            EXPECT_EQ(p.height(), p.PreBits.height() + p.ToolBar->height() + 20);
            // The close button is on the screen.
            const QRect close(p.CloseButton->mapToGlobal(QPoint(0, 0)), p.CloseButton->size());
            EXPECT_TRUE(room.contains(close));
        };
        form->PreviewBitBtn->click();
        ASSERT_EQ(previews.size(), 1u);
        previews.clear();
    }
}

// Under a dark desktop palette the tool bar, on its forced light
// background, is still readable: every caption and the counter stand out
// from what is behind them, the red note as red text may.
TEST_F(PreviewTest, TheToolBarIsReadableUnderADarkPalette)
{
    const DarkPalette dark;
    StartOnLongCard(3, 2, 2);
    TPreviewForm& p = *Preview();
    acts[QStringLiteral("PreviewForm")] = [&p] {
        for (QWidget* w : std::initializer_list<QWidget*>{p.HomeButton, p.PreviousButton, p.NextButton, p.EndButton,
                 p.Label1, p.PrintButton, p.CloseButton, p.Label3}) {
            SCOPED_TRACE(w->objectName().toStdString());
            EXPECT_GE(TextContrast(w->grab().toImage()), 4.5);
        }
        EXPECT_FALSE(p.Label2->text().isEmpty());
        EXPECT_GE(TextContrast(p.Label2->grab().toImage()), 3.0);
        EXPECT_GE(TextContrast(p.ToolBar->grab().toImage()), 4.5);
    };
    form->PreviewBitBtn->click();
    ASSERT_EQ(previews.size(), 1u);
}

// A screen reader names the tool bar, and reads the page shown: "Page" with
// the counter, and the page's lines; it follows the moves.
TEST_F(PreviewTest, AScreenReaderReadsTheToolBarAndThePage)
{
    StartOn(3, 2);
    TPreviewForm& p = *Preview();
    acts[QStringLiteral("PreviewForm")] = [&p] {
        QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(p.ToolBar);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->text(QAccessible::Name), QStringLiteral("Preview tool bar"));
        EXPECT_EQ(
            QAccessible::queryAccessibleInterface(p.CloseButton)->text(QAccessible::Name), QStringLiteral("Close"));
        QAccessibleInterface* page = QAccessible::queryAccessibleInterface(p.PageText);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->text(QAccessible::Name), QStringLiteral("Page 2/3"));
        const QStringList lines = page->text(QAccessible::Description).split(u'\n');
        ASSERT_GE(lines.size(), 12);
        EXPECT_EQ(lines[0], QStringLiteral("*===id2=========2"));
        EXPECT_EQ(lines[2], QStringLiteral("Card 2           , "));
        EXPECT_EQ(lines[4], QStringLiteral("   Topic:          "));
        EXPECT_EQ(lines.last(), QStringLiteral("Memo 2"));
        // It lies over the page image and lets the wheel through.
        EXPECT_EQ(p.PageText->geometry(),
            QRect(p.width() / 4, p.ToolBar->height() + 10, p.PreBits.width(), p.PreBits.height()));
        EXPECT_TRUE(p.PageText->testAttribute(Qt::WA_TransparentForMouseEvents));
        QTest::keyClick(&p, Qt::Key_PageDown);
        EXPECT_EQ(page->text(QAccessible::Name), QStringLiteral("Page 3/3"));
        EXPECT_EQ(page->text(QAccessible::Description).split(u'\n').last(), QStringLiteral("Memo 3"));
    };
    form->PreviewBitBtn->click();
    ASSERT_EQ(previews.size(), 1u);
}
