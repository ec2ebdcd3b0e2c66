// Start-up to the last card shown, the start-up window aside: wall time from
// the start of main and the peak resident memory of the process. Run once
// with a card file and once without one (the bare program, which makes a new
// card file) and compare.
#include "application.h"
#include "qtplatform.h"
#include "uusi6.h"

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <sys/resource.h>

int main(int argc, char* argv[])
{
    const auto start = std::chrono::steady_clock::now();
    QApplication app(argc, argv);
    QtPlatform platform;
    CardomoApplication program(platform);
    program.Start(app.arguments().mid(1), false);
    QCoreApplication::processEvents();
    const auto shown = std::chrono::steady_clock::now();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("cards=%d shown_ms=%.1f peak_rss_kb=%ld\n", program.store.CardCount,
        std::chrono::duration<double, std::milli>(shown - start).count(), usage.ru_maxrss);
    program.store.FileOpen = false;  // lets the window close
    return 0;
}
