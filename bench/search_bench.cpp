// Picking, finding and sorting over 32000 generated cards, each next to the
// least work that does the same thing:
//   - a find against a plain loop of the same test over the same cells that
//     counts the matches, target at most 1.5x;
//   - a pick against a plain loop of the same test over the same cells that
//     copies the matching rows into a new table, target at most 1.5x; the
//     table shows its ratio to the counting loop too (a copied row counts one
//     more user of each of its texts, some 140 ns a row here, which no pick
//     can leave out);
//   - the sort by twelve keys against std::sort of the same key texts, target
//     at most 2x.
//
//   search_bench [--count=N] [benchmark options]
//
// Times are CPU times of the process (the machines are shared, and a wait
// for the processor is nobody's work). After the runs it prints each
// operation's time beside its baselines, and exits with 1 when a ratio is
// over its target.
#include "benchtable.h"
#include "cardgen.h"

#include "cardfind.h"
#include "match.h"
#include "picking.h"
#include "sorting.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr double PickTarget = 1.5;
constexpr double SortTarget = 2.0;

struct Workspace {
    CardRows cards;  // the generated cards, in their first order
    CardStore store;
    std::vector<QString> keys;  // their sort keys, fields 1 to 12
};

Workspace* ws = nullptr;

// The tests measured (field numbers are 1-based).
const FieldTest ContainsTest{1, MatchOperator::Contains, QStringLiteral("kirja")};  // Title1 ~ kirja
const FieldTest LessTest{19, MatchOperator::Less, QStringLiteral("y2009m07")};  // made before July 2009
const BooleanTest OrTest{8, QStringLiteral("Historia"), BooleanConnective::Or, 9, QStringLiteral("historia")};
// Picks that take many cards: about a third of them.
const FieldTest ManyLessTest{14, MatchOperator::Less, QStringLiteral("2010")};  // aYear < 2010
// Finds that match no card, so every card is tested.
const FieldTest AbsentTest{1, MatchOperator::Contains, QStringLiteral("qqq")};
const FieldTest NothingLessTest{1, MatchOperator::Less, QString()};

// The picked set of the previous run is let go outside the timing: the
// picked cards window's Close does that before the next pick.
template <typename Test> void Pick(benchmark::State& state, const Test& test)
{
    int count = 0;
    for (auto _ : state) {
        state.PauseTiming();
        CardRows().swap(ws->store.PickedTable);
        state.ResumeTiming();
        count = PickCards(ws->store, test).count;
        benchmark::DoNotOptimize(ws->store.PickedTable.data());
    }
    state.counters["cards"] = count;
}

// From the first card forward over all the others.
template <typename Test> void Find(benchmark::State& state, const Test& test)
{
    CardStore& s = ws->store;
    for (auto _ : state) {
        s.CurrentCard = 0;
        const FindOutcome out = FindCard(s, SearchDirection::Forward, test);
        benchmark::DoNotOptimize(out);
    }
}

// Baselines: the same test written straight over the same cells, counting
// the rows that pass or copying them into a new table.
template <typename CellTest> int CountPassing(int from, CellTest test)
{
    const CardRows& rows = ws->store.CardTable;
    const int n = ws->store.CardCount;
    int count = 0;
    for (int i = from; i < n; ++i)
        count += test(rows[static_cast<size_t>(i)]) ? 1 : 0;
    return count;
}

// Into a table with room for every card, as a pick gives it; the copies are
// let go outside the timing, as those of a pick are.
CardRows* copyTable = nullptr;

template <typename CellTest> int CopyPassing(int from, CellTest test)
{
    const CardRows& rows = ws->store.CardTable;
    const int n = ws->store.CardCount;
    CardRows& copied = *copyTable;
    copied.reserve(static_cast<size_t>(n));
    for (int i = from; i < n; ++i) {
        if (test(rows[static_cast<size_t>(i)]))
            copied.push_back(rows[static_cast<size_t>(i)]);
    }
    return static_cast<int>(copied.size());
}

template <bool Copy, typename CellTest> int Passing(int from, CellTest test)
{
    if constexpr (Copy)
        return CopyPassing(from, test);
    else
        return CountPassing(from, test);
}

template <bool Copy = false> int CountContains(const FieldTest& t, int from = 0)
{
    const size_t cell = static_cast<size_t>(t.fieldNumber - 1);
    const QStringView s = t.text;
    return Passing<Copy>(from, [&](const Card& r) { return QStringView(r[cell]).indexOf(s) >= 0; });
}

template <bool Copy = false> int CountLess(const FieldTest& t, int from = 0)
{
    const size_t cell = static_cast<size_t>(t.fieldNumber - 1);
    const QStringView s = t.text;
    return Passing<Copy>(from, [&](const Card& r) { return QStringView(r[cell]).compare(s) < 0; });
}

template <bool Copy = false> int CountOr(const BooleanTest& t)
{
    const size_t c1 = static_cast<size_t>(t.field1 - 1), c2 = static_cast<size_t>(t.field2 - 1);
    const QStringView s1 = t.text1, s2 = t.text2;
    return Passing<Copy>(
        0, [&](const Card& r) { return QStringView(r[c1]).indexOf(s1) >= 0 || QStringView(r[c2]).indexOf(s2) >= 0; });
}

template <typename Count> void Baseline(benchmark::State& state, Count count)
{
    CardRows copies;
    copyTable = &copies;
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        CardRows().swap(copies);
        state.ResumeTiming();
        benchmark::DoNotOptimize(n = count());
    }
    copyTable = nullptr;
    state.counters["cards"] = n;
}

// The main window's sort of the whole card file by fields 1 to 12. The first
// order comes back outside the timing.
void SortCards(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        std::copy(ws->cards.begin(), ws->cards.end(), ws->store.CardTable.begin());
        state.ResumeTiming();
        SortCardTable(ws->store, DefaultSortKeyFields, SortDirection::Ascending);
        benchmark::DoNotOptimize(ws->store.CardTable.data());
    }
}

void SortBaseline(benchmark::State& state)
{
    std::vector<QString> keys;
    for (auto _ : state) {
        state.PauseTiming();
        keys = ws->keys;
        state.ResumeTiming();
        std::sort(keys.begin(), keys.end(),
            [](const QString& a, const QString& b) { return QStringView(a).compare(QStringView(b)) < 0; });
        benchmark::DoNotOptimize(keys.data());
    }
}

}  // namespace

int main(int argc, char** argv)
{
    std::string countArg;
    int count = 32000;
    if (TakeOption(argc, argv, "--count=", countArg))
        count = std::stoi(countArg);
    if (!StartBenchmarks(argc, argv))
        return 2;
    if (count < 2 || count > 32000) {
        std::fprintf(stderr, "--count must be 2 to 32000\n");
        return 2;
    }

    Workspace w;
    ws = &w;
    w.cards = GenerateCards(count);
    w.store.RenewTables();
    std::copy(w.cards.begin(), w.cards.end(), w.store.CardTable.begin());
    w.store.CardCount = count;
    w.store.CurrentCard = count - 1;
    w.store.FileOpen = true;
    for (const Card& c : w.cards)
        w.keys.push_back(SortKey(c, DefaultSortKeyFields));
    std::printf("%d generated cards\n", count);

    const auto ms = benchmark::kMillisecond;
    const auto add = [&](const char* name, auto fn) { benchmark::RegisterBenchmark(name, fn)->Unit(ms); };
    add("pick_contains/PickCards", [](benchmark::State& s) { Pick(s, ContainsTest); });
    add("pick_contains/baseline_copy",
        [](benchmark::State& s) { Baseline(s, [] { return CountContains<true>(ContainsTest); }); });
    add("pick_contains/baseline_count",
        [](benchmark::State& s) { Baseline(s, [] { return CountContains(ContainsTest); }); });
    add("pick_less/PickCards", [](benchmark::State& s) { Pick(s, LessTest); });
    add("pick_less/baseline_copy", [](benchmark::State& s) { Baseline(s, [] { return CountLess<true>(LessTest); }); });
    add("pick_less/baseline_count", [](benchmark::State& s) { Baseline(s, [] { return CountLess(LessTest); }); });
    add("pick_boolean/PickCards", [](benchmark::State& s) { Pick(s, OrTest); });
    add("pick_boolean/baseline_copy", [](benchmark::State& s) { Baseline(s, [] { return CountOr<true>(OrTest); }); });
    add("pick_boolean/baseline_count", [](benchmark::State& s) { Baseline(s, [] { return CountOr(OrTest); }); });
    add("pick_many/PickCards", [](benchmark::State& s) { Pick(s, ManyLessTest); });
    add("pick_many/baseline_copy",
        [](benchmark::State& s) { Baseline(s, [] { return CountLess<true>(ManyLessTest); }); });
    add("pick_many/baseline_count", [](benchmark::State& s) { Baseline(s, [] { return CountLess(ManyLessTest); }); });
    add("find_contains/FindCard", [](benchmark::State& s) { Find(s, AbsentTest); });
    add("find_contains/baseline_loop",
        [](benchmark::State& s) { Baseline(s, [] { return CountContains(AbsentTest, 1); }); });
    add("find_less/FindCard", [](benchmark::State& s) { Find(s, NothingLessTest); });
    add("find_less/baseline_loop",
        [](benchmark::State& s) { Baseline(s, [] { return CountLess(NothingLessTest, 1); }); });
    add("sort/SortCardTable", SortCards);
    add("sort/baseline_std_sort_keys", SortBaseline);

    MedianTableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    struct Row {
        const char* label;
        const char* op;
        const char* base;  // the baseline of the target
        double target;
        const char* count;  // a pick's counting loop, shown beside it
    };
    const Row table[] = {
        {"pick ~", "pick_contains/PickCards", "pick_contains/baseline_copy", PickTarget,
            "pick_contains/baseline_count"},
        {"pick <", "pick_less/PickCards", "pick_less/baseline_copy", PickTarget, "pick_less/baseline_count"},
        {"pick OR", "pick_boolean/PickCards", "pick_boolean/baseline_copy", PickTarget, "pick_boolean/baseline_count"},
        {"pick 1/3", "pick_many/PickCards", "pick_many/baseline_copy", PickTarget, "pick_many/baseline_count"},
        {"find ~", "find_contains/FindCard", "find_contains/baseline_loop", PickTarget, nullptr},
        {"find <", "find_less/FindCard", "find_less/baseline_loop", PickTarget, nullptr},
        {"sort", "sort/SortCardTable", "sort/baseline_std_sort_keys", SortTarget, nullptr},
    };
    bool over = false;
    std::printf("\n%d cards; real time in ms, median of the repetitions\n", count);
    std::printf("%-9s %9s %10s %7s %8s     %10s %7s\n", "", "ms", "baseline", "ratio", "target", "count loop", "ratio");
    for (const Row& p : table) {
        if (!reporter.Has(p.op) || !reporter.Has(p.base))
            continue;
        const double a = reporter.Ms(p.op), b = reporter.Ms(p.base);
        const double ratio = a / b;
        const bool ok = ratio <= p.target;
        over = over || !ok;
        std::printf("%-9s %9.3f %10.3f %7.2f %5s%.1f %-4s", p.label, a, b, ratio, "<= ", p.target, ok ? "ok" : "OVER");
        if (p.count && reporter.Has(p.count))
            std::printf(" %10.3f %7.2f", reporter.Ms(p.count), a / reporter.Ms(p.count));
        std::printf("\n");
    }
    std::printf("(baseline: a pick's loop copying the matching rows, a find's loop counting them, std::sort of\n"
                " the key texts; count loop: a pick's test alone, counting)\n");
    return over ? 1 : 0;
}
