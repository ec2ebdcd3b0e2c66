// The recovery copy of unsaved changes, on 32000 generated cards: what the
// window thread pays (the snapshot of the rows: the texts are shared, so no
// characters are copied), against one frame (16 ms); and the write on the
// copy's own thread, beside WriteCardFile of the same rows.
//
//   recovery_bench [--count=N] [benchmark options]
//
// Exits with 1 when the snapshot takes a frame or more, or the write more
// than 1.2 times WriteCardFile.
#include "benchtable.h"
#include "cardgen.h"

#include "cardfile.h"
#include "recovery.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr double FrameMs = 16.0;
constexpr double WriteTarget = 1.2;  // against WriteCardFile of the same rows
constexpr int TableRows = 32000;

struct Workspace {
    QTemporaryDir dir;
    CardRows table;  // the card table at its full size, count cards in it
    int count = 0;
};

Workspace* ws = nullptr;

void Snapshot(benchmark::State& state)
{
    for (auto _ : state) {
        // As the keeper takes it: the rows in use, then the current card from its editors.
        CardRows rows(ws->table.begin(), ws->table.begin() + ws->count);
        rows.back()[0] = QStringLiteral("typed");
        benchmark::DoNotOptimize(rows.data());
        state.PauseTiming();
        CardRows().swap(rows);  // freeing it is the writer thread's business
        state.ResumeTiming();
    }
}

void WriteCopy(benchmark::State& state)
{
    const QString path = RecoveryCopyPath(ws->dir.filePath(QStringLiteral("state")), QStringLiteral("/h/cards.kqk"));
    for (auto _ : state) {
        if (WriteRecoveryCopy(path, ws->table, ws->count).status != RecoveryWriteResult::Ok) {
            state.SkipWithError("WriteRecoveryCopy failed");
            break;
        }
    }
}

void WriteCardFileBaseline(benchmark::State& state)
{
    const QString path = ws->dir.filePath(QStringLiteral("cards.kqk"));
    for (auto _ : state) {
        if (WriteCardFile(path, ws->table, ws->count, MainFileHeaderText).status != CardFileWriteResult::Ok) {
            state.SkipWithError("WriteCardFile failed");
            break;
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    int count = TableRows;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--count=", 8) == 0) {
            count = std::atoi(argv[i] + 8);
            for (int j = i; j + 1 < argc; ++j)
                argv[j] = argv[j + 1];
            --argc;
            --i;
        }
    }
    if (!StartBenchmarks(argc, argv))
        return 2;
    Workspace w;
    ws = &w;
    w.count = count;
    w.table = GenerateCards(count);
    w.table.resize(static_cast<size_t>(std::max(count, TableRows)));

    const auto ms = benchmark::kMillisecond;
    benchmark::RegisterBenchmark("recovery/snapshot", Snapshot)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark("recovery/WriteRecoveryCopy", WriteCopy)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark("recovery/baseline_WriteCardFile", WriteCardFileBaseline)->Unit(ms)->UseRealTime();
    MedianTableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    bool over = false;
    std::printf("\nRecovery copy of %d cards; real time, median of the repetitions\n", count);
    if (reporter.Has("recovery/snapshot")) {
        const double a = reporter.Ms("recovery/snapshot");
        const bool ok = a < FrameMs;
        over = over || !ok;
        std::printf(
            "snapshot on the window thread %8.2f ms   target: under %.0f ms  %s\n", a, FrameMs, ok ? "ok" : "OVER");
    }
    if (reporter.Has("recovery/WriteRecoveryCopy") && reporter.Has("recovery/baseline_WriteCardFile")) {
        const double a = reporter.Ms("recovery/WriteRecoveryCopy"), b = reporter.Ms("recovery/baseline_WriteCardFile");
        const bool ok = a / b <= WriteTarget;
        over = over || !ok;
        std::printf("write (own thread) %8.2f ms, WriteCardFile %8.2f ms, ratio %.2f   target: <= %.1f  %s\n", a, b,
            a / b, WriteTarget, ok ? "ok" : "OVER");
    }
    return over ? 1 : 0;
}
