#include "printcommand.h"

#include "Drawpage.h"
#include "Preview.h"
#include "cardstore.h"
#include "generalerror.h"
#include "pagetotals.h"
#include "platform.h"

#include <QDateTime>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

const QString PrintJobNotStartedText = QStringLiteral("The print job could not be started on the printer.");
const QString NewPageFailedText = QStringLiteral("The printer could not start a new page.");
const QString PrintJobNotEndedText = QStringLiteral("The print job could not be finished on the printer.");

namespace {

// The page inches of A4, which the printer's page is taken as.
constexpr double PageWidthInches = 8.268;
constexpr double PageHeightInches = 11.693;

}  // namespace

void PrintPages(
    WindowContext& context, PrintDialogState& dialog, PrintMode mode, const std::function<void()>& storeCard)
{
    CardStore& store = context.store;
    PrintState& print = context.print;
    Platform& platform = context.platform;

    if (storeCard)
        storeCard();
    print.PrintMode = mode;
    const int total = PageTotal(store, print);
    if (total < 1)
        return;
    dialog.minPage = 1;
    dialog.maxPage = total;
    dialog.fromPage = 1;
    dialog.toPage = total;
    const std::optional<PrintChoice> choice = platform.PrintDialog(dialog);
    if (!choice || !choice->printer)
        return;
    if (storeCard)
        storeCard();
    print.PrintMode = mode;

    int first = 1;
    int last = total;
    if (choice->range == PrintRange::PageRange) {
        // The dialog keeps within 1 ... M; of a range beyond it, what lies
        // inside is printed.
        first = std::max(choice->fromPage, 1);
        last = std::min(choice->toPage, total);
    }
    if (first > last)
        return;

    QPagedPaintDevice& printer = *choice->printer;
    // Page inches are inches of the sheet: the drawing starts at the paper's
    // corner, not inside the printer's margins.
    if (auto* paper = dynamic_cast<QPrinter*>(&printer))
        paper->setFullPage(true);
    QPainter canvas;
    if (!canvas.begin(&printer))
        throw GeneralError(PrintJobNotStartedText);
    try {
        TPreviewForm* preview = context.windows.preview;
        // A device that still keeps margins (a PDF writer, say) paints from
        // the corner of its margins: the canvas is moved back to the paper's
        // corner, and the factors come from the whole sheet.
        const QPageLayout layout = printer.pageLayout();
        const int resolution = printer.logicalDpiX();
        const QRect sheet = layout.fullRectPixels(resolution);
        const QRect margins = layout.paintRectPixels(resolution);
        canvas.translate(sheet.topLeft() - margins.topLeft());
        const int width = sheet.width();
        const int height = sheet.height();
        const int ppiX = static_cast<int>(width / PageWidthInches);
        const int ppiY = static_cast<int>(height / PageHeightInches);
        for (int page = first; page <= last; ++page) {
            const QDateTime now = platform.Now();
            const PageSources sources{store, print, now.date().toString(platform.ShortDateFormat()),
                now.time().toString(platform.LongTimeFormat())};
            // A card that does not fit leaves its note in the preview's
            // label; the preview shows the note of its own page when it
            // draws one.
            const QString note = DrawPage(canvas, page, width, height, false, ppiX, ppiY, sources);
            if (preview && !note.isEmpty())
                preview->ShowNote(note);
            if (page != last && !printer.newPage())
                throw GeneralError(NewPageFailedText);
        }
    } catch (...) {
        canvas.end();
        throw;
    }
    if (!canvas.end())
        throw GeneralError(PrintJobNotEndedText);
}
