// File > Open of a card file in the real program on a real display (run it
// under Xvfb), from the moment the open dialog is closed until the last card
// is shown, beside ReadCardFile of the same file alone, in the same run.
//
//   open_bench CARDFILE [runs]
//
// Prints both medians and their ratio; exits with 1 when File > Open takes
// more than 1.3 times the read.
#include "application.h"
#include "cardfile.h"
#include "qtplatform.h"
#include "uusi6.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr double Target = 1.3;

// The real platform, but the open dialog chooses the card file at once and
// every question is answered Yes.
class BenchPlatform : public QtPlatform {
public:
    QString path;
    QElapsedTimer sinceDialog;

    MsgAnswer Message(const QString&, MsgIcon, MsgButtons buttons) override
    {
        return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Yes;
    }
    std::optional<QString> OpenFileDialog(const FileDialogRequest&) override
    {
        QCoreApplication::processEvents();  // the wait window is up and drawn, as behind a real dialog
        sinceDialog.start();
        return path;
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
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: open_bench CARDFILE [runs]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    BenchPlatform platform;
    platform.path = QString::fromLocal8Bit(argv[1]);
    CardomoApplication program(platform);
    program.Start({}, false);
    TForm1* form = program.windows().form1;
    platform.SetParentWindow(form);

    std::vector<double> opens, reads, closes;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer closing;
        closing.start();
        form->Sulje1->trigger();  // answered Yes: closes without saving
        QCoreApplication::processEvents();
        if (r > 0)  // the first closes the program's new card file
            closes.push_back(static_cast<double>(closing.nsecsElapsed()) / 1e6);
        form->Avaa1->trigger();
        QCoreApplication::processEvents();  // the card drawn on the display
        opens.push_back(static_cast<double>(platform.sinceDialog.nsecsElapsed()) / 1e6);
        if (program.store.CardCount < 1 || !program.store.FileOpen) {
            std::fprintf(stderr, "the card file did not open\n");
            return 2;
        }

        CardRows rows(32000);
        QElapsedTimer read;
        read.start();
        const CardFileReadOutcome out = ReadCardFile(platform.path, CardEncoding::Utf8, 32000, rows);
        reads.push_back(static_cast<double>(read.nsecsElapsed()) / 1e6);
        if (out.result != CardFileReadResult::Ok)
            return 2;
    }
    const double open = Median(opens), read = Median(reads);
    if (!closes.empty())
        std::printf("Close of the opened card file: %.1f ms (median of %zu)\n", Median(closes), closes.size());
    const double ratio = open / read;
    std::printf("File > Open, dialog closed to card shown: %.1f ms; ReadCardFile: %.1f ms; ratio %.2f  "
                "target <= %.1f %s (%d cards, median of %d, platform %s)\n",
        open, read, ratio, Target, ratio <= Target ? "ok" : "OVER", program.store.CardCount, runs,
        qPrintable(QGuiApplication::platformName()));
    program.store.FileOpen = false;
    return ratio <= Target ? 0 : 1;
}
