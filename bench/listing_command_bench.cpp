// The whole "List all cards" command (Tools > Listing, F8) in the real
// program with a card file of 32000 cards: from the command until the
// listing window is shown and drawn, and then scrolled to the end of the
// text (Ctrl+End) and drawn again; the wait window, the events processed
// after each card and filling the text area included. Beside it, the least
// work that gives the same text: collecting the listing text of the same
// cards alone; and the program's own start with the same file in the same
// process (from main to the last card shown), which the command is given
// as a ratio of. Run it under Xvfb for a real display.
//
//   listing_command_bench CARDFILE [runs]
//
// Prints the medians; exits with 1 when the command takes 1 s or more to the
// scrolled listing, or more than 1.2 times the start.
#include "application.h"
#include "frm2uusi6.h"
#include "listing.h"
#include "listingtext.h"
#include "qtplatform.h"
#include "uusi6.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr double TargetMs = 1000;
// The command, to the listing shown and answering a key, beside the
// program's start with the same file.
constexpr double TargetOfStart = 1.2;

// The real platform; its modal run of the listing window measures the window
// shown, then scrolls it to the end, and closes it.
class BenchPlatform : public QtPlatform {
public:
    QElapsedTimer sinceCommand;
    double shownMs = 0;
    double scrolledMs = 0;
    bool scrolledToEnd = false;

    int RunModal(QDialog& dialog) override
    {
        auto* listing = qobject_cast<TForm2*>(&dialog);
        if (!listing)
            return QtPlatform::RunModal(dialog);
        QTimer::singleShot(0, &dialog, [this, listing] {
            QElapsedTimer patience;
            patience.start();
            while (!(listing->windowHandle() && listing->windowHandle()->isExposed()) && patience.elapsed() < 5000)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
            ListingTextEdit* text = listing->memoLISTAUS;
            text->viewport()->repaint();
            QCoreApplication::processEvents();
            shownMs = static_cast<double>(sinceCommand.nsecsElapsed()) / 1e6;
            QKeyEvent press(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
            QCoreApplication::sendEvent(text, &press);
            text->viewport()->repaint();
            QCoreApplication::processEvents();
            scrolledMs = static_cast<double>(sinceCommand.nsecsElapsed()) / 1e6;
            scrolledToEnd = text->verticalScrollBar()->value() == text->verticalScrollBar()->maximum()
                && text->textCursor().atEnd();
            listing->Poistu1->trigger();
        });
        return QtPlatform::RunModal(dialog);
    }
};

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char* argv[])
{
    QElapsedTimer sinceMain;
    sinceMain.start();
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: listing_command_bench CARDFILE [runs]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    BenchPlatform platform;
    CardomoApplication program(platform);
    program.Start({QString::fromLocal8Bit(argv[1])}, false);
    TForm1* form = program.windows().form1;
    platform.SetParentWindow(form);
    QCoreApplication::processEvents();
    const double startMs = static_cast<double>(sinceMain.nsecsElapsed()) / 1e6;
    if (!program.store.FileOpen) {
        std::fprintf(stderr, "the card file did not open\n");
        return 2;
    }

    std::vector<double> shown, scrolled, closed, collected;
    qsizetype chars = 0;
    for (int r = 0; r < runs; ++r) {
        platform.scrolledToEnd = false;
        platform.sinceCommand.start();
        form->Tyokalut1->trigger();
        closed.push_back(static_cast<double>(platform.sinceCommand.nsecsElapsed()) / 1e6 - platform.scrolledMs);
        if (!platform.scrolledToEnd || !form->isVisible()) {
            std::fprintf(stderr, "the listing window did not show the end of the listing\n");
            return 2;
        }
        shown.push_back(platform.shownMs);
        scrolled.push_back(platform.scrolledMs);

        QElapsedTimer collect;
        collect.start();
        const QDateTime now = QDateTime::currentDateTime();
        ListingCollector listing(ListingKind::AllCards, program.store, FieldSelection(),
            now.date().toString(platform.ShortDateFormat()), now.time().toString(platform.LongTimeFormat()));
        while (!listing.AtEnd())
            listing.AppendNext();
        chars = listing.Finish().size();
        collected.push_back(static_cast<double>(collect.nsecsElapsed()) / 1e6);
    }
    const double command = Median(scrolled);
    const double base = Median(collected);
    std::printf("List all cards (%d cards, %.1f M characters, platform %s), median of %d:\n"
                "  listing window shown %.1f ms, scrolled to the end %.1f ms, closed after %.1f ms\n"
                "  collecting the listing text alone %.1f ms; ratio %.2f\n"
                "  the program's start with the file %.1f ms; the scrolled listing is %.2f x the start\n"
                "  target: the scrolled listing under %.0f ms and at most %.1f x the start %s\n",
        program.store.CardCount, static_cast<double>(chars) / 1e6, qPrintable(QGuiApplication::platformName()), runs,
        Median(shown), command, Median(closed), base, command / base, startMs, command / startMs, TargetMs,
        TargetOfStart, command < TargetMs && command <= TargetOfStart * startMs ? "ok" : "OVER");
    program.store.FileOpen = false;
    return command < TargetMs && command <= TargetOfStart * startMs ? 0 : 1;
}
