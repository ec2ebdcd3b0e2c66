// Reading and writing a full card file, each next to the least work that
// moves the same bytes: reading them and decoding them from UTF-8 into one
// QString, and writing them as a safe save does: into a new file, synced to
// the disk and renamed over the target.
//
//   cardfile_bench [--cards=FILE] [--count=N] [benchmark options]
//
// Without --cards it writes N generated cards (32000 by default) to a
// temporary folder. Written files go to a temporary folder as well. After the
// runs it prints each operation's time beside its baseline, and exits with 1
// when a ratio is over its target.
#include "benchtable.h"
#include "cardgen.h"

#include "cardfile.h"
#include "generalerror.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace {

constexpr double ReadTarget = 3.0;  // against reading and decoding the same bytes
constexpr double WriteTarget = 2.0;  // against writing, syncing and renaming the same bytes
constexpr int TableRows = 32000;  // the rows the main window keeps for cards

struct Workspace {
    QTemporaryDir dir;
    QString cardsPath;
    QByteArray bytes;  // the card file's contents
    CardRows rows;  // its cards, as read
    int count = 0;

    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

Workspace* ws = nullptr;

void ReadCards(benchmark::State& state)
{
    CardRows rows;
    for (auto _ : state) {
        state.PauseTiming();
        CardRows(static_cast<size_t>(TableRows)).swap(rows);  // the emptied table, as on opening
        state.ResumeTiming();
        const CardFileReadOutcome out = ReadCardFile(ws->cardsPath, CardEncoding::Utf8, TableRows, rows);
        if (out.result != CardFileReadResult::Ok || out.count != ws->count) {
            state.SkipWithError("the card file did not read back whole");
            break;
        }
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetBytesProcessed(state.iterations() * ws->bytes.size());
}

void ReadBaseline(benchmark::State& state)
{
    QString text;
    for (auto _ : state) {
        state.PauseTiming();
        text = QString();
        state.ResumeTiming();
        QFile f(ws->cardsPath);
        if (!f.open(QIODevice::ReadOnly)) {
            state.SkipWithError("cannot open the card file");
            break;
        }
        const QByteArray b = f.readAll();
        text = QString::fromUtf8(b);
        if (b.size() != ws->bytes.size()) {
            state.SkipWithError("short read");
            break;
        }
        benchmark::DoNotOptimize(text.constData());
    }
    state.SetBytesProcessed(state.iterations() * ws->bytes.size());
}

void WriteCards(benchmark::State& state)
{
    const QString path = ws->Path("written.kqk");
    for (auto _ : state) {
        const CardFileWriteResult r = WriteCardFile(path, ws->rows, ws->count, MainFileHeaderText);
        if (r.status != CardFileWriteResult::Ok) {
            state.SkipWithError("WriteCardFile failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * ws->bytes.size());
}

// The same bytes written as a safe save writes them: into a new file beside
// the target, on the disk (fdatasync), then renamed over the target.
void WriteBaseline(benchmark::State& state)
{
    for (auto _ : state) {
        if (!WriteSyncRename(ws->Path("baseline.kqk"), ws->bytes)) {
            state.SkipWithError("cannot write the baseline file");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * ws->bytes.size());
}

}  // namespace

int main(int argc, char** argv)
{
    std::string cardsArg, countArg;
    const bool givenFile = TakeOption(argc, argv, "--cards=", cardsArg);
    int count = 32000;
    if (TakeOption(argc, argv, "--count=", countArg))
        count = std::stoi(countArg);
    if (!StartBenchmarks(argc, argv))
        return 2;

    Workspace w;
    ws = &w;
    if (!w.dir.isValid()) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 2;
    }
    try {
        if (givenFile) {
            w.cardsPath = QString::fromLocal8Bit(cardsArg.c_str());
        } else {
            w.cardsPath = w.Path("cards.kqk");
            const CardRows rows = GenerateCards(count);
            if (WriteCardFile(w.cardsPath, rows, count, MainFileHeaderText).status != CardFileWriteResult::Ok) {
                std::fprintf(stderr, "cannot write the generated cards\n");
                return 2;
            }
        }
        QFile f(w.cardsPath);
        if (!f.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot open %s\n", qPrintable(w.cardsPath));
            return 2;
        }
        w.bytes = f.readAll();
        const CardFileReadOutcome out = ReadCardFile(w.cardsPath, CardEncoding::Utf8, TableRows, w.rows);
        if (out.result != CardFileReadResult::Ok || out.count < 0) {
            std::fprintf(stderr, "%s is not a readable card file of at most 32000 cards\n", qPrintable(w.cardsPath));
            return 2;
        }
        w.count = out.count;
    } catch (const GeneralError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 2;
    }
    std::printf("Card file: %d cards, %lld bytes (%.1f MB)\n", w.count, static_cast<long long>(w.bytes.size()),
        w.bytes.size() / 1e6);

    const auto ms = benchmark::kMillisecond;
    benchmark::RegisterBenchmark("read/ReadCardFile", ReadCards)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark("read/baseline_readAll_fromUtf8", ReadBaseline)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark("write/WriteCardFile", WriteCards)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark("write/baseline_write_sync_rename", WriteBaseline)->Unit(ms)->UseRealTime();

    MedianTableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    struct Pair {
        const char* label;
        const char* op;
        const char* base;
        double target;
    };
    const Pair pairs[] = {
        {"read", "read/ReadCardFile", "read/baseline_readAll_fromUtf8", ReadTarget},
        {"write", "write/WriteCardFile", "write/baseline_write_sync_rename", WriteTarget},
    };
    const double mb = w.bytes.size() / 1e6;
    bool over = false;
    std::printf("\nCard file: %d cards, %.1f MB; real time, median of the repetitions\n", w.count, mb);
    std::printf("%-6s %14s %14s %8s %8s\n", "", "card file ms", "baseline ms", "ratio", "target");
    for (const Pair& p : pairs) {
        if (!reporter.Has(p.op) || !reporter.Has(p.base))
            continue;
        const double a = reporter.Ms(p.op), b = reporter.Ms(p.base);
        const double ratio = a / b;
        const bool ok = ratio <= p.target;
        over = over || !ok;
        std::printf(
            "%-6s %14.2f %14.2f %8.2f %6s%.0f  %s\n", p.label, a, b, ratio, "<= ", p.target, ok ? "ok" : "OVER");
        std::printf("%-6s %14.0f %14.0f   (MB/s)\n", "", mb / (a / 1e3), mb / (b / 1e3));
    }
    return over ? 1 : 0;
}
