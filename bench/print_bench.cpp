// The preview and printing in the real program with a card file of 32000
// generated cards, each beside the least work that does the same:
//
// - the preview of the listing of all cards: the listing window's Preview
//   (Ctrl+E) on the "List all cards" text, from the command to the preview
//   window shown with its first page drawn (the wait window, cutting the
//   text into pages of 50 lines as far as the first page and drawing the
//   page included; the other pages are cut while the preview shows), beside
//   cutting the whole text into pages and drawing page 1 on an image of the
//   preview's size with the page drawer alone, which is what the preview
//   waited for before its pages were cut while it shows: the first page is
//   to come in half that time at most;
// - printing 100 cards to PDF: the main window's Print (Ctrl+P) with pages 1
//   to 100 chosen in the print dialog, beside drawing the same 100 pages onto
//   a PDF printer with the page drawer alone.
//
// Offscreen unless QT_QPA_PLATFORM says otherwise (run it under Xvfb with
// QT_QPA_PLATFORM=xcb for a real display). Exits with 1 when a ratio is over
// its target.
#include "Drawpage.h"
#include "Preview.h"
#include "application.h"
#include "benchtable.h"
#include "cardfile.h"
#include "cardgen.h"
#include "frm2uusi6.h"
#include "listing.h"
#include "listingpages.h"
#include "listingtext.h"
#include "piilomemo.h"
#include "qtplatform.h"
#include "uusi6.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

namespace {

constexpr int Cards = 32000;
constexpr int PrintedCards = 100;

// The real platform but for what would wait on a person: the preview
// measures itself shown and closes, the print dialog answers pages 1 to 100
// on a PDF printer, and messages are only kept.
class BenchPlatform : public QtPlatform {
public:
    QElapsedTimer sinceCommand;
    double previewShownMs = 0;
    int previewPages = 0;
    QString pdfPath;
    QStringList messages;

    MsgAnswer Message(const QString& text, MsgIcon, MsgButtons) override
    {
        messages << text;
        return MsgAnswer::Ok;
    }

    int RunModal(QDialog& dialog) override
    {
        auto* preview = qobject_cast<TPreviewForm*>(&dialog);
        if (!preview)
            return QtPlatform::RunModal(dialog);
        QTimer::singleShot(0, preview, [this, preview] {
            QElapsedTimer patience;
            patience.start();
            while (!(preview->windowHandle() && preview->windowHandle()->isExposed()) && patience.elapsed() < 5000)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
            preview->repaint();
            previewShownMs = static_cast<double>(sinceCommand.nsecsElapsed()) / 1e6;
            previewPages = preview->Label1->text().section(u'/', 1).toInt();
            preview->CloseButtonClick();
        });
        return QtPlatform::RunModal(dialog);
    }

    std::optional<PrintChoice> PrintDialog(PrintDialogState& state) override
    {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setOutputFileName(pdfPath);
        printer_->setPageSize(QPageSize(QPageSize::A4));
        state.range = PrintRange::PageRange;
        state.fromPage = 1;
        state.toPage = PrintedCards;
        return PrintChoice{PrintRange::PageRange, 1, PrintedCards, printer_.get()};
    }

private:
    std::unique_ptr<QPrinter> printer_;
};

struct Workspace {
    QTemporaryDir dir;
    BenchPlatform platform;
    std::unique_ptr<CardomoApplication> program;
    QString listing;  // the "List all cards" text
};

Workspace* ws = nullptr;

void PreviewListing(benchmark::State& state)
{
    TForm2* listing = ws->program->windows().form2;
    for (auto _ : state) {
        ws->platform.previewPages = 0;
        ws->platform.sinceCommand.start();
        listing->Esikatselu1->trigger();
        if (ws->platform.previewPages < 1 || !ws->platform.messages.isEmpty()) {
            state.SkipWithError("the preview did not show the listing's pages");
            break;
        }
        state.SetIterationTime(ws->platform.previewShownMs / 1000);
    }
}

void PreviewListingBaseline(benchmark::State& state)
{
    PrintState print;
    const QDateTime now = QDateTime::currentDateTime();
    for (auto _ : state) {
        BuildListingPages(print, ws->listing);
        print.PrintMode = PrintMode::ListPrint;
        QImage page(521, 677, QImage::Format_RGB32);
        QPainter canvas(&page);
        const PageSources sources{ws->program->store, print, now.date().toString(), now.time().toString()};
        DrawPage(canvas, 1, page.width(), page.height(), true, 63, 56, sources);
        benchmark::DoNotOptimize(page.constBits());
    }
}

// The same pages wrapped on one core, as the line breaker did before it used
// every core: the listing given to it in pieces of whole paragraphs short
// enough to be wrapped where they are, the lines then cut into pages; page 1
// drawn. The preview's speed-up is this over the preview's own time.
void PreviewListingOneCore(benchmark::State& state)
{
    PrintState print;
    const QDateTime now = QDateTime::currentDateTime();
    const QString& text = ws->listing;
    for (auto _ : state) {
        QStringList lines;
        qsizetype from = 0;
        while (from < text.size()) {
            qsizetype to = std::min(text.size(), from + 60000);
            while (to > from + 1 && text[to - 1] != u'\n')
                --to;
            if (to <= from + 1)
                to = text.size();
            Piilomemo piece;
            piece.SetText(text.mid(from, to - from));
            lines += piece.Lines();
            from = to;
        }
        const int count = static_cast<int>(lines.size());
        print.ListingPageCount = (count + ListingPageLines - 1) / ListingPageLines;
        std::vector<ListingPage> pages(static_cast<size_t>(print.ListingPageCount));
        for (int i = 0; i < count; ++i)
            pages[static_cast<size_t>(i / ListingPageLines)][static_cast<size_t>(i % ListingPageLines)] = lines[i];
        print.ListingPages = std::move(pages);
        print.PrintMode = PrintMode::ListPrint;
        QImage page(521, 677, QImage::Format_RGB32);
        QPainter canvas(&page);
        const PageSources sources{ws->program->store, print, now.date().toString(), now.time().toString()};
        DrawPage(canvas, 1, page.width(), page.height(), true, 63, 56, sources);
        benchmark::DoNotOptimize(page.constBits());
    }
}

void PrintCards(benchmark::State& state)
{
    TForm1* form = ws->program->windows().form1;
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(ws->platform.pdfPath);
        state.ResumeTiming();
        form->Tulosta1->trigger();
        state.PauseTiming();
        if (!ws->platform.messages.isEmpty() || QFileInfo(ws->platform.pdfPath).size() < 1000) {
            state.SkipWithError("the cards were not printed");
            break;
        }
        state.ResumeTiming();
    }
}

void PrintCardsBaseline(benchmark::State& state)
{
    PrintState print;
    print.PrintMode = PrintMode::CardPrint;
    const QDateTime now = QDateTime::currentDateTime();
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(ws->platform.pdfPath);
        state.ResumeTiming();
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(ws->platform.pdfPath);
        printer.setPageSize(QPageSize(QPageSize::A4));
        QPainter canvas(&printer);
        const int ppiX = static_cast<int>(printer.width() / 8.268);
        const int ppiY = static_cast<int>(printer.height() / 11.693);
        const PageSources sources{ws->program->store, print, now.date().toString(), now.time().toString()};
        for (int page = 1; page <= PrintedCards; ++page) {
            DrawPage(canvas, page, printer.width(), printer.height(), false, ppiX, ppiY, sources);
            if (page != PrintedCards)
                printer.newPage();
        }
        canvas.end();
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (!StartBenchmarks(argc, argv, true))
        return 2;
    QApplication app(argc, argv);

    Workspace w;
    ws = &w;
    if (!w.dir.isValid()) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 2;
    }
    const CardRows cards = GenerateCards(Cards);
    const QString path = w.dir.filePath(QStringLiteral("cards.kqk"));
    if (WriteCardFile(path, cards, Cards, MainFileHeaderText).status != CardFileWriteResult::Ok) {
        std::fprintf(stderr, "cannot write the generated cards\n");
        return 2;
    }
    w.platform.pdfPath = w.dir.filePath(QStringLiteral("printed.pdf"));
    w.program = std::make_unique<CardomoApplication>(w.platform);
    w.program->Start({path}, false);
    TForm1* form = w.program->windows().form1;
    w.platform.SetParentWindow(form);
    if (w.program->store.CardCount != Cards) {
        std::fprintf(stderr, "the card file did not open whole\n");
        return 2;
    }

    // The listing window with the "List all cards" text, as the listing
    // command leaves it.
    const QDateTime now = QDateTime::currentDateTime();
    ListingCollector collector(ListingKind::AllCards, w.program->store, FieldSelection(),
        now.date().toString(w.platform.ShortDateFormat()), now.time().toString(w.platform.LongTimeFormat()));
    while (!collector.AtEnd())
        collector.AppendNext();
    w.listing = collector.Finish();
    TForm2* listing = w.program->windows().form2;
    listing->SetListing(w.listing, QStringLiteral("Listing"));
    listing->show();
    QCoreApplication::processEvents();
    PrintState lines;
    BuildListingPages(lines, w.listing);

    const auto ms = benchmark::kMillisecond;
    benchmark::RegisterBenchmark("print/Preview_listing_of_all_cards", PreviewListing)
        ->Unit(ms)
        ->UseManualTime()
        ->Iterations(1);
    benchmark::RegisterBenchmark("print/baseline_pages_and_first_page", PreviewListingBaseline)
        ->Unit(ms)
        ->UseRealTime()
        ->Iterations(1);
    benchmark::RegisterBenchmark("print/pages_on_one_core_and_first_page", PreviewListingOneCore)
        ->Unit(ms)
        ->UseRealTime()
        ->Iterations(1);
    benchmark::RegisterBenchmark("print/Print_100_cards_to_PDF", PrintCards)->Unit(ms)->UseRealTime()->Iterations(1);
    benchmark::RegisterBenchmark("print/baseline_draw_100_pages_to_PDF", PrintCardsBaseline)
        ->Unit(ms)
        ->UseRealTime()
        ->Iterations(1);

    MedianTableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\nPreview and printing, %d cards; the listing of all cards %.1f M characters, %d display lines "
                "in %d pages; window system %s; real time, median of the repetitions\n",
        Cards, static_cast<double>(w.listing.size()) / 1e6, lines.piilomemo.LineCount(), lines.ListingPageCount,
        qPrintable(QGuiApplication::platformName()));
    const bool ok = PrintRatioTable(reporter,
        {{"listing preview", "print/Preview_listing_of_all_cards", "print/baseline_pages_and_first_page", 0.5},
            {"print 100 cards", "print/Print_100_cards_to_PDF", "print/baseline_draw_100_pages_to_PDF", 1.2}});
    const char* preview = "print/Preview_listing_of_all_cards";
    const char* oneCore = "print/pages_on_one_core_and_first_page";
    if (reporter.Has(preview) && reporter.Has(oneCore))
        std::printf("listing preview: first page shown in %.1f ms; on one core the pages and page 1 take %.1f ms, "
                    "%.2f times as long\n",
            reporter.Ms(preview), reporter.Ms(oneCore), reporter.Ms(oneCore) / reporter.Ms(preview));
    listing->hide();
    w.program->store.FileOpen = false;  // lets the windows close
    w.program.reset();
    return ok ? 0 : 1;
}
