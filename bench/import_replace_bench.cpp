// Importing a card file and replacing text in Memos, each next to the least
// work that does the same thing:
//   import  AppendCardFile of a 16000-card file into a card file of 16000
//           cards, against ReadCardFile of the same file into a table alone;
//   replace the replacement loop over the Memos of 32000 cards with one
//           occurrence each, against QString::replace of the same Memos.
//
//   import_replace_bench [benchmark options]
//
// The card files are generated into a temporary folder first. Repetitions of
// the benchmarks are interleaved unless --benchmark_enable_random_interleaving
// says otherwise. After the runs it prints each operation's time beside its
// baseline, and exits with 1 when a ratio is over its target.
#include "benchtable.h"
#include "cardgen.h"

#include "cardfile.h"
#include "cardstore.h"
#include "generalerror.h"
#include "importing.h"
#include "replacing.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <malloc.h>
#include <string>
#include <vector>

namespace {

constexpr int PresentCards = 16000;  // in the open card file
constexpr int ImportedCards = 16000;  // in the file imported into it
constexpr int MemoCards = 32000;  // whose Memos the replacement runs over

const QString Find = QString::fromUtf8("§find§");
const QString Replacement = QString::fromUtf8("§replaced§");

struct Workspace {
    QTemporaryDir dir;
    QString importPath;
    CardStore store;  // the open card file of PresentCards cards
    std::vector<QString> memos;  // each holds Find once
};

Workspace* ws = nullptr;

// Both sides free the previous run's cards before they are timed, and the
// allocator would put those many small blocks back together at a time of its
// own choosing: on freeing the baseline's large table, but only inside the
// timed import at its first large allocation. Settling the heap before each
// run starts both sides from the same state.
void SettleHeap()
{
    malloc_trim(0);
}

void Import(benchmark::State& state)
{
    CardStore& s = ws->store;
    for (auto _ : state) {
        state.PauseTiming();
        // Back to the card file before the import: rows after its cards are empty.
        for (size_t i = PresentCards; i < s.CardTable.size(); ++i)
            s.CardTable[i] = Card{};
        s.CardCount = PresentCards;
        s.CurrentCard = 0;
        s.CardFileChanged = false;
        SettleHeap();
        state.ResumeTiming();
        const ImportOutcome out = AppendCardFile(s, ws->importPath, CardEncoding::Utf8);
        if (!out.imported() || out.cardsAdded != ImportedCards || s.CardCount != PresentCards + ImportedCards) {
            state.SkipWithError("the import did not append every card");
            break;
        }
        benchmark::DoNotOptimize(s.CardTable.data());
    }
}

void ImportBaseline(benchmark::State& state)
{
    CardRows rows;
    for (auto _ : state) {
        state.PauseTiming();
        CardRows().swap(rows);  // a fresh table, as the import reads into
        SettleHeap();
        state.ResumeTiming();
        const CardFileReadOutcome out = ReadCardFile(ws->importPath, CardEncoding::Utf8, ImportedCards, rows);
        if (out.result != CardFileReadResult::Ok || out.count != ImportedCards) {
            state.SkipWithError("the card file did not read back whole");
            break;
        }
        benchmark::DoNotOptimize(rows.data());
    }
}

void Replace(benchmark::State& state)
{
    for (auto _ : state) {
        qsizetype replaced = 0;
        for (const QString& memo : ws->memos) {
            const TextReplaceResult r = ReplaceEveryOccurrence(memo, Find, Replacement);
            replaced += r.replacements;
            benchmark::DoNotOptimize(r.text.constData());
        }
        if (replaced != MemoCards) {
            state.SkipWithError("not one replacement per Memo");
            break;
        }
    }
}

void ReplaceBaseline(benchmark::State& state)
{
    for (auto _ : state) {
        for (const QString& memo : ws->memos) {
            QString text = memo;
            text.replace(Find, Replacement, Qt::CaseSensitive);
            benchmark::DoNotOptimize(text.constData());
        }
    }
}

// The Memos of count generated cards, each with Find put once into its middle.
std::vector<QString> MemosWithOneOccurrence(int count)
{
    const CardRows cards = GenerateCards(count, DefaultCardSeed + 2);
    std::vector<QString> memos;
    memos.reserve(cards.size());
    for (const Card& c : cards) {
        QString memo = c[MemoCell];
        qsizetype at = memo.size() / 2;
        if (at < memo.size() && memo[at].isLowSurrogate())
            ++at;
        memo.insert(at, Find);
        memos.push_back(memo);
    }
    return memos;
}

}  // namespace

int main(int argc, char** argv)
{
    // Repetitions of the operations and their baselines take turns, so that a
    // change of load on a shared machine falls on both sides of a ratio.
    const std::string interleaveOption = "--benchmark_enable_random_interleaving";
    std::string interleave = interleaveOption + "=true";
    std::vector<char*> args(argv, argv + argc);
    if (std::none_of(
            args.begin(), args.end(), [&](const char* a) { return std::string(a).starts_with(interleaveOption); }))
        args.push_back(interleave.data());
    argc = static_cast<int>(args.size());
    args.push_back(nullptr);
    argv = args.data();
    if (!StartBenchmarks(argc, argv))
        return 2;

    Workspace w;
    ws = &w;
    if (!w.dir.isValid()) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 2;
    }
    qint64 importBytes = 0;
    qint64 memoUnits = 0;
    try {
        w.importPath = w.dir.filePath(QStringLiteral("import.kqk"));
        const CardRows imported = GenerateCards(ImportedCards, DefaultCardSeed + 1);
        if (WriteCardFile(w.importPath, imported, ImportedCards, MainFileHeaderText).status
            != CardFileWriteResult::Ok) {
            std::fprintf(stderr, "cannot write the generated cards\n");
            return 2;
        }
        importBytes = QFileInfo(w.importPath).size();

        w.store.RenewTables();
        const CardRows present = GenerateCards(PresentCards);
        std::copy(present.begin(), present.end(), w.store.CardTable.begin());
        w.store.CardCount = PresentCards;
        w.store.FileOpen = true;
        w.store.CardFileName = QStringLiteral("present.kqk");

        w.memos = MemosWithOneOccurrence(MemoCards);
        for (const QString& m : w.memos) {
            memoUnits += m.size();
            if (m.count(Find) != 1) {
                std::fprintf(stderr, "a generated Memo holds the find string more than once\n");
                return 2;
            }
        }
    } catch (const GeneralError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 2;
    }

    const auto ms = benchmark::kMillisecond;
    benchmark::RegisterBenchmark("import/AppendCardFile", Import)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark("import/baseline_ReadCardFile", ImportBaseline)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark("replace/ReplaceEveryOccurrence", Replace)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark("replace/baseline_QString_replace", ReplaceBaseline)->Unit(ms)->UseRealTime();

    MedianTableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf(
        "\nimport:  %d cards (%.1f MB) into a card file of %d cards\n", ImportedCards, importBytes / 1e6, PresentCards);
    std::printf("replace: one occurrence in each Memo of %d cards (%.1f M characters)\n", MemoCards, memoUnits / 1e6);
    std::printf("real time, median of the repetitions\n");
    const bool ok = PrintRatioTable(reporter,
        {
            {"import", "import/AppendCardFile", "import/baseline_ReadCardFile", 1.3},
            {"replace", "replace/ReplaceEveryOccurrence", "replace/baseline_QString_replace", 2.0},
        });
    return ok ? 0 : 1;
}
