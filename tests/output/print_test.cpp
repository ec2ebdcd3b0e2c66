// Printing through each window's print dialog onto a PDF printer, read back
// with pdftotext: the header, body and footer texts, the page count, the
// range, each dialog keeping its last choice, the listing's pages, and a
// printer that fails.
#include "preview_fixture.h"

#include "generalerror.h"
#include "printcommand.h"

#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QRegularExpression>

namespace {

const QString Header = QStringLiteral("Cardomo 0.5 beta (v. 0.5.1.0.2)");
const QString When = QStringLiteral("7.3.2021 9:05:02");

// The body of a card made by MakeFile, without the fields it leaves empty.
QStringList CardBody(int k, int page)
{
    const QString n = QString::number(k);
    return {QStringLiteral("*===id") + n + QStringLiteral("=========") + QString::number(page),
        QStringLiteral("Card ") + n + QStringLiteral(" ,"), QStringLiteral("Topic:"), QStringLiteral("Keywords:"),
        QStringLiteral("File link:"), QStringLiteral("Code1:"), QStringLiteral("Code2:"), QStringLiteral("Code3:"),
        QStringLiteral("Action date:"), QStringLiteral("Memo ") + n};
}

QString PrintedListing(int count)
{
    QString text;
    for (int i = 1; i <= count; ++i)
        text += QStringLiteral("line ") + QString::number(i) + QStringLiteral("\r\n");
    return text;
}

// A PDF printer whose page change fails after goodPages pages.
class FailingPdfWriter : public QPdfWriter {
public:
    FailingPdfWriter(const QString& file, int goodPages) : QPdfWriter(file), goodPages_(goodPages)
    {
        setPageSize(QPageSize(QPageSize::A4));
        setResolution(300);
    }
    bool newPage() override
    {
        ++newPages;
        if (newPages >= goodPages_)
            return false;
        return QPdfWriter::newPage();
    }
    int newPages = 0;

private:
    int goodPages_;
};

class PrintTest : public PreviewTest {
protected:
    void SetUp() override
    {
        if (!HavePdfToText())
            GTEST_SKIP() << "pdftotext (poppler-utils) is missing";
    }
    std::vector<QStringList> Printed() const
    {
        EXPECT_TRUE(QFileInfo::exists(platform.printPath));
        return PdfPages(platform.printPath);
    }
    // Confirms the next dialog with the range shown, or with all pages, or
    // with pages from-to.
    void AnswerAsShown() { platform.printAnswers.push_back(ScriptedPlatform::PrintAnswer{}); }
    void AnswerAll() { platform.printAnswers.push_back(ScriptedPlatform::PrintAnswer{PrintRange::AllPages, 0, 0}); }
    void AnswerPages(int from, int to)
    {
        platform.printAnswers.push_back(ScriptedPlatform::PrintAnswer{PrintRange::PageRange, from, to});
    }
    void NewPrintFile(const QString& name) { platform.printPath = Path(name); }

    // A word of a printed page and its box in points, as pdftotext -bbox
    // reads it.
    struct Word {
        double xMin, yMin, xMax, yMax;
    };
    // The boxes of every word of a PDF that reads exactly `word`, top down.
    static std::vector<Word> Boxes(const QString& pdf, const QString& word)
    {
        std::vector<Word> words;
        QProcess process;
        process.start(QStringLiteral(PDFTOTEXT), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
        if (!process.waitForFinished(60000))
            return words;
        const QString html = QString::fromUtf8(process.readAllStandardOutput());
        const QRegularExpression re(QStringLiteral(
            "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
        for (auto it = re.globalMatch(html); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            if (m.captured(5) == word)
                words.push_back(Word{m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                    m.captured(4).toDouble()});
        }
        std::sort(words.begin(), words.end(), [](const Word& a, const Word& b) { return a.yMin < b.yMin; });
        return words;
    }
    static std::optional<Word> FirstBox(const QString& pdf, const QString& word)
    {
        const std::vector<Word> words = Boxes(pdf, word);
        if (words.empty())
            return std::nullopt;
        return words.front();
    }
};

}  // namespace

// The main window prints its cards one per page; its dialog first opens
// with a page range chosen and keeps the user's choice from one use to the
// next, the range set to all pages each time.
TEST_F(PrintTest, TheMainWindowPrintsItsCardsOnePerPage)
{
    StartOn(3, 2);
    AnswerAll();
    Key(form, Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(platform.printDialogs.size(), 1u);
    const ScriptedPlatform::PrintShown first = platform.printDialogs[0];
    EXPECT_EQ(first.minPage, 1);
    EXPECT_EQ(first.maxPage, 3);
    EXPECT_EQ(first.fromPage, 1);
    EXPECT_EQ(first.toPage, 3);
    EXPECT_EQ(first.range, PrintRange::PageRange);
    EXPECT_TRUE(platform.messages.empty());

    const std::vector<QStringList> pages = Printed();
    ASSERT_EQ(pages.size(), 3u);
    for (int k = 1; k <= 3; ++k) {
        SCOPED_TRACE(k);
        QStringList expected = {Header + QStringLiteral(" Card Print ") + When};
        expected += CardBody(k, k);
        expected << QStringLiteral("Card %1/3 ").arg(k) + path;
        EXPECT_EQ(pages[static_cast<size_t>(k - 1)], expected);
    }
    // Printing moves no card.
    EXPECT_EQ(store().CurrentCard, 1);

    // Pages 2 to 3 by the button; the dialog shows all pages as last chosen.
    NewPrintFile(QStringLiteral("range.pdf"));
    AnswerPages(2, 3);
    form->PrintBitBtn->click();
    ASSERT_EQ(platform.printDialogs.size(), 2u);
    EXPECT_EQ(platform.printDialogs[1].range, PrintRange::AllPages);
    EXPECT_EQ(platform.printDialogs[1].dialog, first.dialog);
    const std::vector<QStringList> range = Printed();
    ASSERT_EQ(range.size(), 2u);
    EXPECT_EQ(range[0].last(), QStringLiteral("Card 2/3 ") + path);
    EXPECT_EQ(range[1].last(), QStringLiteral("Card 3/3 ") + path);
    EXPECT_EQ(range[0][1], QStringLiteral("*===id2=========2"));

    // The range again, from 1 to M; by the menu entry.
    NewPrintFile(QStringLiteral("again.pdf"));
    AnswerAsShown();
    form->Tulosta1->trigger();
    ASSERT_EQ(platform.printDialogs.size(), 3u);
    EXPECT_EQ(platform.printDialogs[2].range, PrintRange::PageRange);
    EXPECT_EQ(platform.printDialogs[2].fromPage, 1);
    EXPECT_EQ(platform.printDialogs[2].toPage, 3);
    EXPECT_EQ(Printed().size(), 3u);

    // Cancelled, nothing is printed.
    NewPrintFile(QStringLiteral("cancelled.pdf"));
    platform.printAnswers = {std::nullopt};
    Key(form, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(platform.printDialogs.size(), 4u);
    EXPECT_FALSE(QFileInfo::exists(platform.printPath));
    EXPECT_TRUE(platform.messages.empty());
}

// The card on screen is stored before printing; the date and time are
// those of the moment each page is drawn; a long card is cut after 51
// lines and its note goes to the preview's red label.
TEST_F(PrintTest, TheMainWindowPrintsWhatItShowsAtTheMomentOfDrawing)
{
    StartOnLongCard(2, 2, 1);
    form->memoTUNNISTE->setFocus();
    QTest::keyClicks(form->memoTUNNISTE, QStringLiteral("X"));
    const QString typed = Title1();
    ASSERT_NE(typed, QStringLiteral("Card 1"));

    // The clock moves while the dialog is up.
    platform.onPrintDialog = [this](const ScriptedPlatform::PrintShown&) {
        platform.now = QDateTime(QDate(2022, 12, 24), QTime(18, 30, 0));
    };
    AnswerAll();
    Key(form, Qt::Key_P, Qt::ControlModifier);
    const std::vector<QStringList> pages = Printed();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0][0], Header + QStringLiteral(" Card Print 24.12.2022 18:30:00"));
    EXPECT_EQ(pages[0][2], typed + QStringLiteral(" ,"));
    EXPECT_EQ(store().CardTable[0][0], typed);
    // The long card: its first 51 lines of body (12 before the Memo, of
    // which the empty ones read as nothing, and 39 Memo lines).
    EXPECT_TRUE(pages[1].contains(QStringLiteral("memo 39")));
    EXPECT_FALSE(pages[1].contains(QStringLiteral("memo 40")));
    EXPECT_EQ(pages[1].last(), QStringLiteral("Card 2/2 ") + path);
    EXPECT_EQ(Preview()->Label2->text(),
        QStringLiteral("Card 2 does not fit entirely to the Preview Page. Please use the Preview feature of the "
                       "Listing Form (F7)"));
}

// The picked cards window prints its picked cards; its dialog first opens
// with all pages and keeps its own choice apart from the main window's.
TEST_F(PrintTest, ThePickedCardsWindowPrintsItsPickedCards)
{
    StartOn(12, 1);
    // The main window's dialog left on a range.
    AnswerPages(1, 1);
    Key(form, Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(Printed().size(), 1u);
    platform.Clear();

    NewPrintFile(QStringLiteral("picked.pdf"));
    AnswerAsShown();
    AnswerPages(3, 4);
    AnswerAsShown();
    std::vector<QStringList> all;
    std::vector<QStringList> range;
    PickTitles(QStringLiteral("Card 1"), [&] {
        Key(Picked(), Qt::Key_P, Qt::ControlModifier);
        all = Printed();
        NewPrintFile(QStringLiteral("picked-range.pdf"));
        Picked()->PrintBitBtn->click();
        range = Printed();
        NewPrintFile(QStringLiteral("picked-again.pdf"));
        Picked()->Tulosta1->trigger();
        // Printing moves no picked card.
        EXPECT_EQ(store().CurrentPicked, 3);
    });
    ASSERT_EQ(platform.printDialogs.size(), 3u);
    const ScriptedPlatform::PrintShown& first = platform.printDialogs[0];
    EXPECT_EQ(first.range, PrintRange::AllPages);
    EXPECT_EQ(first.minPage, 1);
    EXPECT_EQ(first.maxPage, 4);
    EXPECT_EQ(first.fromPage, 1);
    EXPECT_EQ(first.toPage, 4);
    EXPECT_EQ(platform.printDialogs[2].range, PrintRange::PageRange);
    EXPECT_EQ(platform.printDialogs[2].fromPage, 1);
    EXPECT_EQ(platform.printDialogs[2].toPage, 4);

    const int cards[] = {1, 10, 11, 12};
    ASSERT_EQ(all.size(), 4u);
    for (int n = 1; n <= 4; ++n) {
        SCOPED_TRACE(n);
        QStringList expected = {Header + QStringLiteral(" Picked Card Print ") + When};
        expected += CardBody(cards[n - 1], n);
        expected << QStringLiteral("Card %1/4 ").arg(n) + path;
        EXPECT_EQ(all[static_cast<size_t>(n - 1)], expected);
    }
    ASSERT_EQ(range.size(), 2u);
    EXPECT_EQ(range[0][1], QStringLiteral("*===id11=========3"));
    EXPECT_EQ(range[1].last(), QStringLiteral("Card 4/4 ") + path);
    // A range again, offered from 1 to 4.
    EXPECT_EQ(Printed().size(), 4u);
    EXPECT_TRUE(platform.messages.empty());
}

// The listing prints 50 lines a page: 100 lines are two pages, 101 three.
// Its dialog first opens with all pages.
TEST_F(PrintTest, TheListingWindowPrintsFiftyLinesAPage)
{
    StartOn(2, 1);
    struct Case {
        int lines;
        int pages;
    };
    for (const Case& c : {Case{100, 2}, Case{101, 3}, Case{1, 1}}) {
        SCOPED_TRACE(c.lines);
        platform.Clear();
        NewPrintFile(QStringLiteral("listing-%1.pdf").arg(c.lines));
        AnswerAsShown();
        acts[QStringLiteral("Form2")] = [this, c] {
            Listing()->SetListing(PrintedListing(c.lines), QStringLiteral("listing"));
            Key(Listing(), Qt::Key_P, Qt::ControlModifier);
        };
        form->btnListaus->click();
        ASSERT_EQ(platform.printDialogs.size(), 1u);
        EXPECT_EQ(platform.printDialogs[0].range, PrintRange::AllPages);
        EXPECT_EQ(platform.printDialogs[0].maxPage, c.pages);
        EXPECT_EQ(platform.printDialogs[0].toPage, c.pages);
        const std::vector<QStringList> pages = Printed();
        ASSERT_EQ(pages.size(), static_cast<size_t>(c.pages));
        for (int p = 1; p <= c.pages; ++p) {
            SCOPED_TRACE(p);
            QStringList expected = {Header + QStringLiteral(" List Print ") + When};
            for (int line = (p - 1) * 50 + 1; line <= std::min(p * 50, c.lines); ++line)
                expected << QStringLiteral("line ") + QString::number(line);
            expected << QStringLiteral("Page %1/%2 ").arg(p).arg(c.pages) + path;
            EXPECT_EQ(pages[static_cast<size_t>(p - 1)], expected);
        }
        EXPECT_TRUE(platform.messages.empty());
    }
}

// Printed twice, the second time after the listing was edited shorter,
// nothing of the first listing is left on the pages.
TEST_F(PrintTest, AListingEditedShorterPrintsNothingOfTheFirst)
{
    StartOn(2, 1);
    std::vector<QStringList> first;
    std::vector<QStringList> second;
    AnswerAsShown();
    AnswerAsShown();
    acts[QStringLiteral("Form2")] = [&] {
        Listing()->SetListing(PrintedListing(120), QStringLiteral("listing"));
        Listing()->Tulosta1->trigger();
        first = Printed();
        // Lines 61 to 120 deleted as the user does it.
        QWidget* area = Listing()->memoLISTAUS;
        area->setFocus();
        QTest::keyClick(area, Qt::Key_Home, Qt::ControlModifier);
        for (int i = 0; i < 60; ++i)
            QTest::keyClick(area, Qt::Key_Down);
        QTest::keyClick(area, Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(area, Qt::Key_Delete);
        NewPrintFile(QStringLiteral("second.pdf"));
        Key(Listing(), Qt::Key_P, Qt::ControlModifier);
        second = Printed();
    };
    form->btnListaus->click();
    ASSERT_EQ(first.size(), 3u);
    EXPECT_TRUE(first[2].contains(QStringLiteral("line 120")));
    ASSERT_EQ(second.size(), 2u);
    EXPECT_EQ(second[1].last(), QStringLiteral("Page 2/2 ") + path);
    EXPECT_TRUE(second[1].contains(QStringLiteral("line 60")));
    for (const QStringList& page : second)
        for (int line = 61; line <= 120; ++line)
            EXPECT_FALSE(page.contains(QStringLiteral("line ") + QString::number(line))) << line;
    ASSERT_EQ(platform.printDialogs.size(), 2u);
    EXPECT_EQ(platform.printDialogs[0].maxPage, 3);
    EXPECT_EQ(platform.printDialogs[1].maxPage, 2);
}

// A printer that fails: the job is ended with the pages already sent, and
// the failure is the general error report.
TEST_F(PrintTest, APrinterThatFailsEndsTheJobAndSaysSo)
{
    StartOn(3, 1);
    const QString pdf = Path(QStringLiteral("failing.pdf"));
    std::unique_ptr<FailingPdfWriter> writer;
    platform.printDevice = [&] {
        writer = std::make_unique<FailingPdfWriter>(pdf, 2);
        return writer.get();
    };
    AnswerAll();
    Key(form, Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, QStringLiteral("The printer could not start a new page."));
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::Error);
    ASSERT_TRUE(writer);
    EXPECT_EQ(writer->newPages, 2);
    // The job was ended: the file is whole, with the two pages sent.
    const std::vector<QStringList> pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[1].last(), QStringLiteral("Card 2/3 ") + path);

    // A printer that cannot begin the job.
    platform.Clear();
    platform.printDevice = {};
    platform.printPath = Path(QStringLiteral("no such folder/printed.pdf"));
    AnswerAll();
    form->PrintBitBtn->click();
    EXPECT_EQ(platform.Texts(), QStringList{QStringLiteral("The print job could not be started on the printer.")});
    EXPECT_FALSE(QFileInfo::exists(platform.printPath));
}

// The page is taken as A4 whatever its size: on a Letter page the layout
// stretches to the page while the fonts keep their size.
TEST_F(PrintTest, APageOfAnotherSizeStretchesTheLayout)
{
    StartOn(1, 1);
    struct Case {
        const char* name;
        QPageSize size;
    };
    std::vector<Word> times;
    std::vector<Word> footers;
    for (const Case& c : {Case{"A4", QPageSize(QPageSize::A4)}, Case{"Letter", QPageSize(QPageSize::Letter)}}) {
        SCOPED_TRACE(c.name);
        const QString pdf = Path(QString::fromLatin1(c.name) + QStringLiteral(".pdf"));
        std::unique_ptr<QPdfWriter> writer;
        platform.printDevice = [&] {
            writer = std::make_unique<QPdfWriter>(pdf);
            writer->setPageSize(c.size);
            writer->setPageMargins(QMarginsF(0, 0, 0, 0));
            writer->setResolution(600);
            return writer.get();
        };
        AnswerAll();
        Key(form, Qt::Key_P, Qt::ControlModifier);
        ASSERT_TRUE(writer);
        const double ppiX = static_cast<int>(writer->width() / 8.268);
        const double ppiY = static_cast<int>(writer->height() / 11.693);
        // The right header ends at 8.0 page inches; the footer stands at 11.5.
        const std::optional<Word> time = FirstBox(pdf, QStringLiteral("9:05:02"));
        const std::optional<Word> footer = FirstBox(pdf, QStringLiteral("1/1"));
        ASSERT_TRUE(time && footer);
        EXPECT_NEAR(time->xMax, 8.0 * ppiX / 600 * 72, 1.5);
        EXPECT_NEAR(footer->yMin, 11.5 * ppiY / 600 * 72, 3.0);
        times.push_back(*time);
        footers.push_back(*footer);
    }
    ASSERT_EQ(times.size(), 2u);
    // Letter is wider and shorter than A4: the layout follows.
    EXPECT_GT(times[1].xMax, times[0].xMax + 10);
    EXPECT_LT(footers[1].yMin, footers[0].yMin - 10);
    // The text keeps its size.
    EXPECT_NEAR(times[1].yMax - times[1].yMin, times[0].yMax - times[0].yMin, 0.5);
    EXPECT_NEAR(times[1].xMax - times[1].xMin, times[0].xMax - times[0].xMin, 0.5);
    EXPECT_TRUE(platform.messages.empty());
}

// Positions are inches of the sheet, within a hundredth of an inch, whatever
// margins the printer keeps: the printer as the print dialog makes it (the
// printer's own margins) and a PDF writer with wide margins of its own.
TEST_F(PrintTest, PositionsAreInchesOfTheSheet)
{
    StartOn(1, 1);
    constexpr double Point = 72.0;  // points per inch
    constexpr double Hundredth = 0.72;  // a hundredth of an inch in points
    std::unique_ptr<QPrinter> printer;
    std::unique_ptr<QPdfWriter> writer;
    struct Case {
        const char* name;
        std::function<QPagedPaintDevice*(const QString& pdf)> device;
    };
    const Case cases[] = {
        {"printer with its own margins",
            [&printer](const QString& pdf) {
                printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
                printer->setOutputFormat(QPrinter::PdfFormat);
                printer->setOutputFileName(pdf);
                printer->setPageSize(QPageSize(QPageSize::A4));
                return printer.get();
            }},
        {"PDF writer with margins of 20 mm",
            [&writer](const QString& pdf) {
                writer = std::make_unique<QPdfWriter>(pdf);
                writer->setPageSize(QPageSize(QPageSize::A4));
                writer->setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
                writer->setResolution(600);
                return writer.get();
            }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString pdf = Path(QStringLiteral("sheet.pdf"));
        QFile::remove(pdf);
        platform.printDevice = [&] { return c.device(pdf); };
        AnswerAll();
        Key(form, Qt::Key_P, Qt::ControlModifier);
        EXPECT_TRUE(platform.messages.empty());
        // The left header at x 0.5, the body at x 1.0, the footer at x 0.5;
        // the right header ends at x 8.0.
        const std::optional<Word> header = FirstBox(pdf, QStringLiteral("Cardomo"));
        const std::optional<Word> body = FirstBox(pdf, QStringLiteral("*===id1=========1"));
        const std::optional<Word> time = FirstBox(pdf, QStringLiteral("9:05:02"));
        const std::vector<Word> cards = Boxes(pdf, QStringLiteral("Card"));
        ASSERT_TRUE(header && body && time);
        ASSERT_EQ(cards.size(), 3u);  // the right header, Title1 in the body, the footer
        const Word footer = cards.back();
        EXPECT_NEAR(header->xMin, 0.5 * Point, Hundredth);
        EXPECT_NEAR(body->xMin, 1.0 * Point, Hundredth);
        EXPECT_NEAR(footer.xMin, 0.5 * Point, Hundredth);
        EXPECT_NEAR(time->xMax, 8.0 * Point, 2 * Hundredth);
        // Down the page: the header at y 0.3, the first body line at 0.6,
        // the footer at 11.5 (the same font's tops).
        EXPECT_NEAR(header->yMin, 0.3 * Point, 2 * Hundredth);
        EXPECT_NEAR(body->yMin - header->yMin, 0.3 * Point, Hundredth);
        EXPECT_NEAR(footer.yMin - header->yMin, 11.2 * Point, Hundredth);
        platform.Clear();
    }
}
