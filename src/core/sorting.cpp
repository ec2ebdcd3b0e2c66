#include "sorting.h"

#include "match.h"

#include <QStringView>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

namespace {

// How many rows ahead a loop over rows asks for the memory it will read.
constexpr int PrefetchDistance = 8;

// One row in the list the quicksort works on: the row's number and the first
// twenty-four code units of its key packed into six numbers so that comparing
// the numbers in turn compares those units (missing units count as 0, which
// keeps a shorter key first). Most pairs of keys differ there, so most
// comparisons never look at the rows or their keys.
constexpr int HeadWords = 6;
constexpr int UnitsPerWord = 4;
constexpr int HeadUnits = HeadWords * UnitsPerWord;

struct Entry {
    std::array<std::uint64_t, HeadWords> head;
    int row;
};

class HeadBuilder {
public:
    // Adds the units of s until the head is full; false when it is.
    bool Add(QStringView s)
    {
        const qsizetype k = std::min<qsizetype>(s.size(), HeadUnits - n_);
        if (k > 0)
            std::memcpy(units_ + n_, s.utf16(), static_cast<size_t>(k) * sizeof(char16_t));
        n_ += static_cast<int>(k);
        return n_ < HeadUnits;
    }
    bool Add(QChar c)
    {
        if (n_ < HeadUnits)
            units_[n_++] = c.unicode();
        return n_ < HeadUnits;
    }

    Entry At(int row) const
    {
        Entry e;
        for (int w = 0; w < HeadWords; ++w) {
            const char16_t* u = units_ + w * UnitsPerWord;
            e.head[static_cast<size_t>(w)] =
                std::uint64_t(u[0]) << 48 | std::uint64_t(u[1]) << 32 | std::uint64_t(u[2]) << 16 | std::uint64_t(u[3]);
        }
        e.row = row;
        return e;
    }

private:
    char16_t units_[HeadUnits] = {};  // missing units stay 0
    int n_ = 0;
};

// -1, 0 or +1 over the heads of two entries.
inline int CompareHeads(const Entry& a, const Entry& b)
{
    for (int w = 0; w < HeadWords; ++w) {
        const std::uint64_t x = a.head[static_cast<size_t>(w)];
        const std::uint64_t y = b.head[static_cast<size_t>(w)];
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

// Sorts list[lo..hi] with the routine's exchanges; before(x, y) tells
// whether entry x belongs before entry y in the wanted order.
template <typename Before> void Quicksort(std::vector<Entry>& list, int lo, int hi, const Before& before)
{
    while (lo < hi) {
        int i = lo;
        int j = hi;
        const Entry pivot = list[static_cast<size_t>((lo + hi) / 2)];
        do {
            while (before(list[static_cast<size_t>(i)], pivot))
                ++i;
            while (before(pivot, list[static_cast<size_t>(j)]))
                --j;
            if (i <= j) {
                std::swap(list[static_cast<size_t>(i)], list[static_cast<size_t>(j)]);
                ++i;
                --j;
            }
        } while (i <= j);
        // lo..j and i..hi do not overlap and are sorted independently: the
        // smaller by a nested call, the larger by this loop.
        if (j - lo < hi - i) {
            if (lo < j)
                Quicksort(list, lo, j, before);
            lo = i;
        } else {
            if (i < hi)
                Quicksort(list, i, hi, before);
            hi = j;
        }
    }
}

// compare(a, b) compares the keys of two entries of different rows in full;
// it is asked only when their heads are equal. (Every partition meets its
// pivot's own row, which is equal to itself.)
template <typename Compare> void SortList(std::vector<Entry>& list, SortDirection direction, const Compare& compare)
{
    const int hi = static_cast<int>(list.size()) - 1;
    if (direction == SortDirection::Ascending) {
        Quicksort(list, 0, hi, [&](const Entry& a, const Entry& b) {
            const int c = CompareHeads(a, b);
            return c != 0 ? c < 0 : a.row != b.row && compare(a, b) < 0;
        });
    } else {
        Quicksort(list, 0, hi, [&](const Entry& a, const Entry& b) {
            const int c = CompareHeads(b, a);
            return c != 0 ? c < 0 : a.row != b.row && compare(b, a) < 0;
        });
    }
}

// Puts what stood at first + list[k].row at first + k, moving each element
// once along the cycles of the order, with one spare element.
template <typename T> void Rearrange(std::vector<T>& items, int first, const std::vector<Entry>& list)
{
    const int n = static_cast<int>(list.size());
    std::vector<int> source(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k)
        source[static_cast<size_t>(k)] = list[static_cast<size_t>(k)].row;
    const auto item = [&](int k) -> T& { return items[static_cast<size_t>(first + k)]; };
    const auto prefetch = [&](int k) {
        const char* p = reinterpret_cast<const char*>(&item(k));
        for (size_t b = 0; b < sizeof(T); b += 64)
            __builtin_prefetch(p + b, 1);
    };
    constexpr int done = -1;
    for (int start = 0; start < n; ++start) {
        int from = source[static_cast<size_t>(start)];
        if (from == done || from == start)
            continue;
        T spare = std::move(item(start));
        int at = start;
        // The sources along a cycle jump about: ask for the next ones early.
        int ahead = from;
        for (int d = 0; d < PrefetchDistance && ahead != start; ++d) {
            prefetch(ahead);
            ahead = source[static_cast<size_t>(ahead)];
        }
        while (from != start) {
            if (ahead != start) {
                prefetch(ahead);
                ahead = source[static_cast<size_t>(ahead)];
            }
            item(at) = std::move(item(from));
            source[static_cast<size_t>(at)] = done;
            at = from;
            from = source[static_cast<size_t>(at)];
        }
        item(at) = std::move(spare);
        source[static_cast<size_t>(at)] = done;
    }
}

Entry EntryOfRow(const Card& row, int r, const SortKeyFields& fields)
{
    HeadBuilder h;
    for (int f : fields) {
        if (!h.Add(row[static_cast<size_t>(f - 1)]) || !h.Add(SortKeySeparator))
            break;
    }
    return h.At(r);
}

// Sorts rows 0..count - 1; false when there is nothing to sort.
bool SortTable(CardRows& rows, int count, const SortKeyFields& fields, SortDirection direction)
{
    count = std::min(count, static_cast<int>(rows.size()));
    if (count <= 0)
        return false;
    for ([[maybe_unused]] int f : fields)
        Q_ASSERT(f >= 1 && f <= FieldCount);
    std::vector<Entry> list;
    list.reserve(static_cast<size_t>(count));
    const size_t firstCell = static_cast<size_t>(fields[0] - 1);
    for (int r = 0; r < count; ++r) {
        // Rows and texts lie apart in memory: ask for a later row now, and
        // for the text of its first key field when the row has come.
        if (r + 2 * PrefetchDistance < count)
            __builtin_prefetch(&rows[static_cast<size_t>(r + 2 * PrefetchDistance)][firstCell]);
        if (r + PrefetchDistance < count)
            __builtin_prefetch(rows[static_cast<size_t>(r + PrefetchDistance)][firstCell].constData());
        list.push_back(EntryOfRow(rows[static_cast<size_t>(r)], r, fields));
    }
    // A row's key text is built the first time its head is not enough (a
    // built key is never empty: it holds twelve separators).
    std::vector<QString> keys;
    const auto key = [&](int r) -> const QString& {
        if (keys.empty())
            keys.resize(static_cast<size_t>(count));
        QString& k = keys[static_cast<size_t>(r)];
        if (k.isEmpty())
            k = SortKey(rows[static_cast<size_t>(r)], fields);
        return k;
    };
    SortList(list, direction, [&](const Entry& a, const Entry& b) { return CompareOrdinal(key(a.row), key(b.row)); });
    Rearrange(rows, 0, list);
    return true;
}

}  // namespace

QString SortKey(const Card& row, const SortKeyFields& fields)
{
    qsizetype length = SortKeyCount;
    for (int f : fields) {
        Q_ASSERT(f >= 1 && f <= FieldCount);
        length += row[static_cast<size_t>(f - 1)].size();
    }
    QString key;
    key.reserve(length);
    for (int f : fields) {
        key.append(row[static_cast<size_t>(f - 1)]);
        key.append(SortKeySeparator);
    }
    return key;
}

void SortRows(CardRows& rows, std::vector<QString>& keys, int lo, int hi, SortDirection direction)
{
    if (lo >= hi)
        return;
    Q_ASSERT(lo >= 0 && static_cast<size_t>(hi) < rows.size() && static_cast<size_t>(hi) < keys.size());
    std::vector<Entry> list(static_cast<size_t>(hi - lo + 1));
    for (int r = 0; r <= hi - lo; ++r) {
        HeadBuilder h;
        h.Add(keys[static_cast<size_t>(lo + r)]);
        list[static_cast<size_t>(r)] = h.At(r);
    }
    SortList(list, direction, [&](const Entry& a, const Entry& b) {
        return CompareOrdinal(keys[static_cast<size_t>(lo + a.row)], keys[static_cast<size_t>(lo + b.row)]);
    });
    Rearrange(rows, lo, list);
    Rearrange(keys, lo, list);
}

void SortCardTable(CardStore& store, const SortKeyFields& fields, SortDirection direction)
{
    if (!SortTable(store.CardTable, store.CardCount, fields, direction))
        return;
    store.CurrentCard = store.CardCount - 1;
    store.CardFileChanged = true;
}

void SortPickedTable(CardStore& store, const SortKeyFields& fields, SortDirection direction)
{
    if (!SortTable(store.PickedTable, store.PickedCount, fields, direction))
        return;
    store.CurrentPicked = store.PickedCount - 1;
}
