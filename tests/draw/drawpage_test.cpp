#include "Drawpage.h"
#include "listingpages.h"
#include "qtprinters.h"
#include "recordingdevice.h"

#include <QFontMetrics>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString D = QStringLiteral("7.3.2021");
const QString T = QStringLiteral("9.05.02");
const QString FileName = QStringLiteral("/home/lea/kortit/Kirjat.kqk");
const QString Note1 = QStringLiteral(
    "Card 1 does not fit entirely to the Preview Page. Please use the Preview feature of the Listing Form (F7)");

Card FullCard()
{
    return Card{
        QStringLiteral("Sota ja rauha"),
        QStringLiteral("War and Peace"),
        QStringLiteral("Osa 1"),
        QStringLiteral("7"),
        QStringLiteral("3"),
        QStringLiteral("1869"),
        QStringLiteral("12"),
        QStringLiteral("Romaanit"),
        QStringLiteral("Venäjä; sota"),
        QStringLiteral("/home/lea/sota.pdf"),
        QStringLiteral("C1"),
        QStringLiteral("C2"),
        QStringLiteral("C3"),
        QStringLiteral("2021"),
        QStringLiteral("03"),
        QStringLiteral("07"),
        QStringLiteral("09:05"),
        QStringLiteral("Ensimmäinen rivi\r\nToinen rivi"),
        QStringLiteral("y2021m03d07h09mn05s02ms045"),
    };
}

// A card whose Memo is the lines "memo 1" ... "memo k".
Card CardWithMemoLines(int k)
{
    Card card;
    card[0] = QStringLiteral("Title");
    card[CardIdCell] = QStringLiteral("id");
    QStringList memo;
    for (int i = 1; i <= k; ++i)
        memo << QStringLiteral("memo ") + QString::number(i);
    card[MemoCell] = memo.join(QStringLiteral("\r\n"));
    return card;
}

QString ListingLines(int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QStringLiteral("line ") + QString::number(i) + QStringLiteral("\r\n");
    return text;
}

// Pages drawn onto a recording device of 8.268 x 12 inches at 96 pixels per
// inch (794 x 1152 pixels), as the preview's bitmap would be.
class DrawPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        store.CardTable = {FullCard(), CardWithMemoLines(3)};
        store.CardCount = 2;
        store.PickedTable = {CardWithMemoLines(1), CardWithMemoLines(2), FullCard()};
        store.PickedCount = 3;
        store.CardFileName = FileName;
        store.FileOpen = true;
    }

    QString Draw(int n, bool scaleFonts = false, int ppiX = 96, int ppiY = 96, int screenDpi = 96)
    {
        device.engine().texts.clear();
        QPainter painter(&device);
        PageSources sources{store, print, date, time, screenDpi};
        return DrawPage(painter, n, device.width(), device.height(), scaleFonts, ppiX, ppiY, sources);
    }

    // The body's texts: those drawn at x 1.0 inch.
    std::vector<DrawnText> Body(int ppiX = 96) const
    {
        std::vector<DrawnText> body;
        for (const DrawnText& t : device.texts())
            if (t.baseline.x() == ppiX)
                body.push_back(t);
        return body;
    }

    const DrawnText* Find(const QString& text) const
    {
        for (const DrawnText& t : device.texts())
            if (t.text == text)
                return &t;
        return nullptr;
    }

    QFontMetrics Metrics(const QFont& font) { return QFontMetrics(font, &device); }

    // The font of the page texts on this device: Arial 12 points.
    QFont PageFont(bool italic, int points = 12)
    {
        QFont font(QStringLiteral("Arial"));
        font.setPointSize(points);
        font.setItalic(italic);
        return font;
    }

    CardStore store;
    PrintState print;
    QString date = D;
    QString time = T;
    RecordingDevice device{794, 1152};
};

TEST(PageInches, RoundToTheNearestPixelWithHalvesToTheEvenNeighbour)
{
    struct Case {
        double inches;
        int ppi;
        int pixel;
    };
    const Case cases[] = {
        {0.5, 5, 2},
        {0.5, 7, 4},
        {0.5, 3, 2},
        {2.5, 1, 2},
        {3.5, 1, 4},
        {0.6, 96, 58},
        {0.3, 96, 29},
        {8.0, 96, 768},
        {11.5, 5, 58},
        {1.49, 1, 1},
        {1.51, 1, 2},
        {-0.5, 1, 0},
        {-1.5, 1, -2},
        {0.0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.inches << " x " << c.ppi);
        EXPECT_EQ(PageInchesToPixels(c.inches, c.ppi), c.pixel);
    }
}

// The preview scales its fonts with the bitmap: size x pixels per inch down /
// the screen's pixels per inch, to the nearest integer (halves to even).
TEST(PageFonts, ThePreviewScalesFontsWithItsBitmap)
{
    struct Case {
        bool scale;
        int ppiY;
        int screen;
        int points;
    };
    const Case cases[] = {
        {true, 56, 96, 7},  // 12 x 56 / 96 = 7
        {true, 96, 96, 12},  //
        {true, 52, 96, 6},  // 6.5 goes to 6
        {true, 60, 96, 8},  // 7.5 goes to 8
        {true, 100, 120, 10},  // a screen of 120 pixels per inch
        {true, 2, 96, 1},  // 0.25 would be no font at all
        {false, 56, 96, 12},  // the printer keeps the point size
        {false, 300, 96, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "scale " << c.scale << " ppiY " << c.ppiY << " screen " << c.screen);
        PageContext context;
        context.scaleFonts = c.scale;
        context.pixelsPerInchY = c.ppiY;
        context.screenPixelsPerInch = c.screen;
        EXPECT_EQ(PageFontPoints(context, 12), c.points);
    }
}

TEST_F(DrawPageTest, EveryTextOfAScaledPreviewPageHasTheScaledSize)
{
    print.PrintMode = PrintMode::CardPrint;
    Draw(1, true, 46, 56);
    ASSERT_GT(device.texts().size(), 5u);
    for (const DrawnText& t : device.texts()) {
        SCOPED_TRACE(t.text.toStdString());
        EXPECT_EQ(t.font.pointSize(), 7);
    }
    Draw(1, false, 46, 56);
    for (const DrawnText& t : device.texts())
        EXPECT_EQ(t.font.pointSize(), 12);
}

TEST_F(DrawPageTest, HeaderTextsStandAtTheirPlaces)
{
    print.PrintMode = PrintMode::CardPrint;
    Draw(1);
    const QFont italic = PageFont(true);
    const int ascent = Metrics(italic).ascent();

    const DrawnText* left = Find(QStringLiteral("Cardomo 0.5 beta (v. 0.5.1.0.2)"));
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(left->baseline, QPointF(48, 29 + ascent));  // (0.5, 0.3) inch: 48, 28.8 -> 29
    EXPECT_EQ(left->font.family(), QStringLiteral("Arial"));
    EXPECT_TRUE(left->font.italic());
    EXPECT_EQ(left->font.pointSize(), 12);

    const DrawnText* right = Find(QStringLiteral("Card Print   7.3.2021 9.05.02"));
    ASSERT_NE(right, nullptr);
    EXPECT_EQ(right->baseline.y(), 29 + ascent);
    EXPECT_TRUE(right->font.italic());
    EXPECT_EQ(right->baseline.x() + Metrics(italic).horizontalAdvance(right->text), 768);
}

// The right header text ends at x 8.0 inches whatever its length and mode.
TEST_F(DrawPageTest, TheRightHeaderEndsAtEightInches)
{
    struct Case {
        PrintMode mode;
        QString date;
        QString time;
        QString title;
    };
    const Case cases[] = {
        {PrintMode::CardPrint, D, T, QStringLiteral("Card Print   7.3.2021 9.05.02")},
        {PrintMode::PickedCardPrint, D, T, QStringLiteral("Picked Card Print   7.3.2021 9.05.02")},
        {PrintMode::ListPrint, D, T, QStringLiteral("List Print   7.3.2021 9.05.02")},
        {PrintMode::ListPrint, QStringLiteral("Sunday, 7 March 2021"), QStringLiteral("09:05:02 AM"),
            QStringLiteral("List Print   Sunday, 7 March 2021 09:05:02 AM")},
        {PrintMode::CardPrint, QString(), QString(), QStringLiteral("Card Print    ")},
    };
    const QFont italic = PageFont(true);
    for (int ppiX : {96, 75}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.title.toStdString() << " at " << ppiX);
            print.PrintMode = c.mode;
            date = c.date;
            time = c.time;
            Draw(1, false, ppiX, 96);
            const DrawnText* right = Find(c.title);
            ASSERT_NE(right, nullptr);
            EXPECT_EQ(right->baseline.x() + Metrics(italic).horizontalAdvance(c.title), 8 * ppiX);
        }
    }
}

TEST_F(DrawPageTest, FooterNamesThePageOfItsMode)
{
    BuildListingPages(print, ListingLines(120));
    struct Case {
        PrintMode mode;
        int n;
        QString footer;
    };
    const Case cases[] = {
        {PrintMode::CardPrint, 2, QStringLiteral("Card 2/2  /home/lea/kortit/Kirjat.kqk")},
        {PrintMode::PickedCardPrint, 3, QStringLiteral("Card 3/3  /home/lea/kortit/Kirjat.kqk")},
        {PrintMode::PickedCardPrint, 1, QStringLiteral("Card 1/3  /home/lea/kortit/Kirjat.kqk")},
        {PrintMode::ListPrint, 3, QStringLiteral("Page 3/3  /home/lea/kortit/Kirjat.kqk")},
    };
    const int ascent = Metrics(PageFont(true)).ascent();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.footer.toStdString());
        print.PrintMode = c.mode;
        Draw(c.n);
        const DrawnText* footer = Find(c.footer);
        ASSERT_NE(footer, nullptr);
        EXPECT_EQ(footer->baseline, QPointF(48, 1104 + ascent));  // (0.5, 11.5) inch
        EXPECT_TRUE(footer->font.italic());
    }
    store.CardFileName = QStringLiteral("New.kqk");
    print.PrintMode = PrintMode::CardPrint;
    Draw(1);
    EXPECT_NE(Find(QStringLiteral("Card 1/2  New.kqk")), nullptr);
}

// Places at a quarter of a pixel per tenth of an inch show the rounding of
// halves to the even neighbour (2.5 -> 2, 1.5 -> 2, 57.5 -> 58).
TEST_F(DrawPageTest, PositionsRoundHalvesToEven)
{
    print.PrintMode = PrintMode::CardPrint;
    Draw(1, false, 5, 5);
    const int ascentItalic = Metrics(PageFont(true)).ascent();
    const DrawnText* left = Find(QStringLiteral("Cardomo 0.5 beta (v. 0.5.1.0.2)"));
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(left->baseline, QPointF(2, 2 + ascentItalic));
    const DrawnText* footer = Find(QStringLiteral("Card 1/2  /home/lea/kortit/Kirjat.kqk"));
    ASSERT_NE(footer, nullptr);
    EXPECT_EQ(footer->baseline, QPointF(2, 58 + ascentItalic));
    const DrawnText* first = Find(QStringLiteral("*===y2021m03d07h09mn05s02ms045=========1"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->baseline, QPointF(5, 3 + Metrics(PageFont(false)).ascent()));
}

// The card's body to the character, one display line per printed line, each
// next line lower by the height of "M" in the body font.
TEST_F(DrawPageTest, CardBodyParagraphsAndTheirLines)
{
    const QStringList expected = {
        QStringLiteral("*===y2021m03d07h09mn05s02ms045=========2"),
        QString(),
        QStringLiteral("Sota ja rauha   War and Peace   Osa 1   7 3 1869, 12"),
        QString(),
        QStringLiteral("   Topic:          Romaanit"),
        QStringLiteral("   Keywords:  Venäjä; sota"),
        QStringLiteral("   File link:      /home/lea/sota.pdf"),
        QStringLiteral("   Code1:        C1"),
        QStringLiteral("   Code2:        C2"),
        QStringLiteral("   Code3:        C3"),
        QStringLiteral("   Action date:  2021 03 07  09:05"),
        QString(),
        QStringLiteral("Ensimmäinen rivi"),
        QStringLiteral("Toinen rivi"),
    };
    store.CardTable = {CardWithMemoLines(1), FullCard()};
    for (PrintMode mode : {PrintMode::CardPrint, PrintMode::PickedCardPrint}) {
        SCOPED_TRACE(static_cast<int>(mode));
        if (mode == PrintMode::PickedCardPrint)
            store.PickedTable = {CardWithMemoLines(2), FullCard(), CardWithMemoLines(3)};
        print.PrintMode = mode;
        EXPECT_EQ(Draw(2), QString());
        EXPECT_EQ(print.piilomemo.Lines(), expected);

        const QFont body = PageFont(false);
        const int lineHeight = Metrics(body).height();
        const int ascent = Metrics(body).ascent();
        std::vector<DrawnText> drawn = Body();
        std::vector<DrawnText>::const_iterator next = drawn.begin();
        for (qsizetype i = 0; i < expected.size(); ++i) {
            if (expected[i].isEmpty())
                continue;
            SCOPED_TRACE(expected[i].toStdString());
            ASSERT_NE(next, drawn.end());
            EXPECT_EQ(next->text, expected[i]);
            // 0.6 inch is 57.6 pixels: line i stands at 58 + i line heights.
            EXPECT_EQ(next->baseline.y(), 58 + i * lineHeight + ascent);
            EXPECT_FALSE(next->font.italic());
            EXPECT_EQ(next->font.pointSize(), 12);
            EXPECT_EQ(next->font.family(), QStringLiteral("Arial"));
            ++next;
        }
        EXPECT_EQ(next, drawn.end());
    }
}

TEST_F(DrawPageTest, TheLineHeightIsTheHeightOfM)
{
    PageContext context;
    QPainter painter(&device);
    context.canvas = &painter;
    context.pixelsPerInchX = 96;
    context.pixelsPerInchY = 80;
    SetPageFont(context, QStringLiteral("Arial"), PageFontStyle::Regular, 12);
    const QFontMetrics metrics(PageFont(false), &device);
    EXPECT_DOUBLE_EQ(TextHeightInches(context, QStringLiteral("M")), metrics.height() / 80.0);
    EXPECT_DOUBLE_EQ(
        TextWidthInches(context, QStringLiteral("MMM")), metrics.horizontalAdvance(QStringLiteral("MMM")) / 96.0);
    EXPECT_GT(metrics.height(), metrics.boundingRect(u'M').height());  // the line's height, not the glyph's

    context.pixelsPerInchX = 0;
    context.pixelsPerInchY = 0;
    EXPECT_EQ(TextHeightInches(context, QStringLiteral("M")), 0.0);
    EXPECT_EQ(TextWidthInches(context, QStringLiteral("M")), 0.0);
}

// At most 51 lines of a card are drawn; more than 49 get the note.
TEST_F(DrawPageTest, ALongCardIsCutAfterFiftyOneLinesAndGetsTheNote)
{
    struct Case {
        int memoLines;  // the body has 12 more lines
        bool note;
        int lastShown;  // the last Memo line drawn
    };
    const Case cases[] = {
        {36, false, 36},  // 48 lines
        {37, false, 37},  // 49 lines
        {38, true, 38},  // 50 lines
        {39, true, 39},  // 51 lines, all drawn
        {40, true, 39},  // 52 lines, the last cut off
        {60, true, 39},
    };
    const int lineHeight = Metrics(PageFont(false)).height();
    const int ascent = Metrics(PageFont(false)).ascent();
    for (PrintMode mode : {PrintMode::CardPrint, PrintMode::PickedCardPrint}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "mode " << static_cast<int>(mode) << ", Memo of " << c.memoLines);
            store.CardTable = {CardWithMemoLines(c.memoLines)};
            store.CardCount = 1;
            store.PickedTable = {CardWithMemoLines(c.memoLines)};
            store.PickedCount = 1;
            print.PrintMode = mode;
            EXPECT_EQ(Draw(1), c.note ? Note1 : QString());
            EXPECT_EQ(print.piilomemo.LineCount(), 12 + c.memoLines);
            const std::vector<DrawnText> body = Body();
            // Nine of the twelve lines before the Memo hold text.
            ASSERT_EQ(body.size(), static_cast<size_t>(9 + c.lastShown));
            EXPECT_EQ(body.back().text, QStringLiteral("memo ") + QString::number(c.lastShown));
            EXPECT_EQ(body.back().baseline.y(), 58 + (11 + c.lastShown) * lineHeight + ascent);
        }
    }
}

// The limit counts display lines: wrapped Memo paragraphs count as the lines
// they make.
TEST_F(DrawPageTest, TheLimitCountsWrappedLines)
{
    QString paragraph;
    for (int i = 0; i < 40; ++i)
        paragraph += QStringLiteral("wrapping ");
    Card card = CardWithMemoLines(0);
    QStringList memo;
    for (int i = 0; i < 20; ++i)
        memo << paragraph;
    card[MemoCell] = memo.join(QStringLiteral("\r\n"));
    store.CardTable = {card};
    store.CardCount = 1;
    print.PrintMode = PrintMode::CardPrint;
    EXPECT_EQ(Draw(1), Note1);
    EXPECT_GT(print.piilomemo.LineCount(), 51);
    const int lineHeight = Metrics(PageFont(false)).height();
    EXPECT_EQ(Body().back().baseline.y(), 58 + 50 * lineHeight + Metrics(PageFont(false)).ascent());
    EXPECT_EQ(Body().back().text, print.piilomemo.Lines()[50]);
}

TEST_F(DrawPageTest, AVeryLongTitleLineWrapsOntoFurtherLines)
{
    Card card = FullCard();
    card[0] = QString();
    for (int i = 0; i < 30; ++i)
        card[0] += QStringLiteral("Pitkä otsikko ");
    store.CardTable = {card};
    store.CardCount = 1;
    print.PrintMode = PrintMode::CardPrint;
    Draw(1);
    const QStringList lines = print.piilomemo.Lines();
    ASSERT_GT(lines.size(), 15);
    const QString title = card[0] + QStringLiteral("   War and Peace   Osa 1   7 3 1869, 12");
    int titleLines = 0;
    QString joined;
    while (joined.size() < title.size())
        joined += lines[2 + titleLines++];
    EXPECT_EQ(joined, title);
    EXPECT_GE(titleLines, 2);
    EXPECT_EQ(lines[2 + titleLines], QString());
    EXPECT_EQ(lines[3 + titleLines], QStringLiteral("   Topic:          Romaanit"));

    const int lineHeight = Metrics(PageFont(false)).height();
    const int ascent = Metrics(PageFont(false)).ascent();
    const std::vector<DrawnText> body = Body();
    for (int k = 0; k < titleLines; ++k) {
        EXPECT_EQ(body[static_cast<size_t>(1 + k)].text, lines[2 + k]);
        EXPECT_EQ(body[static_cast<size_t>(1 + k)].baseline, QPointF(96, 58 + (2 + k) * lineHeight + ascent));
    }
}

// The last page of a listing of 120 lines shows 20 lines and 30 empty slots.
TEST_F(DrawPageTest, TheLastListingPageShowsTheRestOfTheLines)
{
    BuildListingPages(print, ListingLines(120));
    print.PrintMode = PrintMode::ListPrint;
    EXPECT_EQ(Draw(3), QString());
    EXPECT_EQ(print.piilomemo.LineCount(), 50);
    EXPECT_NE(Find(QStringLiteral("Page 3/3  /home/lea/kortit/Kirjat.kqk")), nullptr);
    EXPECT_NE(Find(QStringLiteral("List Print   7.3.2021 9.05.02")), nullptr);
    const std::vector<DrawnText> body = Body();
    ASSERT_EQ(body.size(), 20u);
    const int lineHeight = Metrics(PageFont(false)).height();
    const int ascent = Metrics(PageFont(false)).ascent();
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(body[static_cast<size_t>(i)].text, QStringLiteral("line ") + QString::number(100 + i));
        EXPECT_EQ(body[static_cast<size_t>(i)].baseline, QPointF(96, 58 + i * lineHeight + ascent));
    }

    // A whole page draws all its fifty lines, without a note.
    EXPECT_EQ(Draw(1), QString());
    EXPECT_EQ(Body().size(), 50u);
    EXPECT_EQ(Body().back().text, QStringLiteral("line 49"));
}

// Pages that are not there draw a frame without a body, and nothing breaks:
// a card number past the cards, listing pages emptied by the preview's Close,
// no card table after Close.
TEST_F(DrawPageTest, AMissingPageHasAnEmptyBody)
{
    print.PrintMode = PrintMode::CardPrint;
    EXPECT_EQ(Draw(3), QString());
    EXPECT_TRUE(Body().empty());
    EXPECT_NE(Find(QStringLiteral("Card 3/2  /home/lea/kortit/Kirjat.kqk")), nullptr);
    EXPECT_EQ(Draw(0), QString());
    EXPECT_TRUE(Body().empty());

    BuildListingPages(print, ListingLines(70));
    print.ListingPages.clear();
    print.PrintMode = PrintMode::ListPrint;
    EXPECT_EQ(Draw(2), QString());
    EXPECT_TRUE(Body().empty());
    EXPECT_NE(Find(QStringLiteral("Page 2/2  /home/lea/kortit/Kirjat.kqk")), nullptr);

    store.ReleaseTables();
    print.PrintMode = PrintMode::PickedCardPrint;
    EXPECT_EQ(Draw(1), QString());
    EXPECT_TRUE(Body().empty());
}

TEST_F(DrawPageTest, ThePageIsClearedToWhiteFirst)
{
    QImage bitmap(794, 1152, QImage::Format_RGB32);
    bitmap.fill(Qt::red);
    print.PrintMode = PrintMode::CardPrint;
    {
        QPainter painter(&bitmap);
        PageSources sources{store, print, D, T, 96};
        DrawPage(painter, 1, bitmap.width(), bitmap.height(), true, 96, 96, sources);
    }
    EXPECT_EQ(bitmap.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(bitmap.pixel(793, 1151), qRgb(255, 255, 255));
    EXPECT_EQ(bitmap.pixel(400, 600), qRgb(255, 255, 255));
    // Dark text in the header's band (y 0.3 inch) and the body's first line.
    auto darkIn = [&](int top, int bottom) {
        int dark = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < bitmap.width(); ++x)
                dark += qGray(bitmap.pixel(x, y)) < 128;
        return dark;
    };
    EXPECT_GT(darkIn(29, 29 + 20), 50);
    EXPECT_GT(darkIn(58, 58 + 20), 50);
    EXPECT_EQ(darkIn(0, 25), 0);
}

// A card page printed to PDF reads back with its texts in page order.
TEST_F(DrawPageTest, APrintedPageReadsBackFromPdf)
{
    const QString tool = QStringLiteral(PDFTOTEXT);
    if (tool.isEmpty() || tool.endsWith(QLatin1String("NOTFOUND")))
        GTEST_SKIP() << "pdftotext (poppler-utils) is missing";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pdf = dir.filePath(QStringLiteral("cards.pdf"));
    {
        QPdfWriter writer(pdf);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(300);
        QPainter painter(&writer);
        const int ppiX = static_cast<int>(writer.width() / 8.268);
        const int ppiY = static_cast<int>(writer.height() / 11.693);
        EXPECT_EQ(ppiX, 299);
        print.PrintMode = PrintMode::CardPrint;
        PageSources sources{store, print, D, T, 96};
        DrawPage(painter, 1, writer.width(), writer.height(), false, ppiX, ppiY, sources);
        writer.newPage();
        DrawPage(painter, 2, writer.width(), writer.height(), false, ppiX, ppiY, sources);
    }
    QProcess process;
    process.start(tool, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(process.waitForFinished(30000));
    ASSERT_EQ(process.exitCode(), 0);
    const QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(u'\f');
    ASSERT_GE(pages.size(), 2);

    // Spaces between words are what the reader makes of the gaps: compare
    // the lines with runs of spaces made one.
    auto linesOf = [](const QString& page) {
        QStringList lines;
        for (const QString& line : page.split(u'\n')) {
            const QString simple = line.simplified();
            if (!simple.isEmpty())
                lines << simple;
        }
        return lines;
    };
    const QStringList first = linesOf(pages[0]);
    // In layout order the two header texts share the first line.
    const QStringList firstExpected = {
        QStringLiteral("Cardomo 0.5 beta (v. 0.5.1.0.2) Card Print 7.3.2021 9.05.02"),
        QStringLiteral("*===y2021m03d07h09mn05s02ms045=========1"),
        QStringLiteral("Sota ja rauha War and Peace Osa 1 7 3 1869, 12"),
        QStringLiteral("Topic: Romaanit"),
        QStringLiteral("Keywords: Venäjä; sota"),
        QStringLiteral("File link: /home/lea/sota.pdf"),
        QStringLiteral("Code1: C1"),
        QStringLiteral("Code2: C2"),
        QStringLiteral("Code3: C3"),
        QStringLiteral("Action date: 2021 03 07 09:05"),
        QStringLiteral("Ensimmäinen rivi"),
        QStringLiteral("Toinen rivi"),
        QStringLiteral("Card 1/2 /home/lea/kortit/Kirjat.kqk"),
    };
    EXPECT_EQ(first, firstExpected);

    const QStringList second = linesOf(pages[1]);
    EXPECT_TRUE(second.contains(QStringLiteral("*===id=========2")));
    EXPECT_TRUE(second.contains(QStringLiteral("memo 3")));
    EXPECT_TRUE(second.contains(QStringLiteral("Card 2/2 /home/lea/kortit/Kirjat.kqk")));
}

}  // namespace
