#include "sorting.h"

#include "match.h"

#include <QStringView>
#include <algorithm>
#include <utility>

namespace {

struct AscendingLess {
    bool operator()(QStringView a, QStringView b) const { return CompareOrdinal(a, b) < 0; }
};
struct DescendingLess {
    bool operator()(QStringView a, QStringView b) const { return CompareOrdinal(b, a) < 0; }
};

// before(a, b): a belongs before b in the wanted order.
template <typename Before>
void Quicksort(CardRows& rows, std::vector<QString>& keys, int lo, int hi, Before before)
{
    while (lo < hi) {
        int i = lo;
        int j = hi;
        // Exchanges move the QString objects, never their texts, so this view
        // keeps the pivot's value while rows move.
        const QStringView pivot(keys[static_cast<size_t>((lo + hi) / 2)]);
        do {
            while (before(keys[static_cast<size_t>(i)], pivot))
                ++i;
            while (before(pivot, keys[static_cast<size_t>(j)]))
                --j;
            if (i <= j) {
                keys[static_cast<size_t>(i)].swap(keys[static_cast<size_t>(j)]);
                std::swap(rows[static_cast<size_t>(i)], rows[static_cast<size_t>(j)]);
                ++i;
                --j;
            }
        } while (i <= j);
        // lo..j and i..hi do not overlap and are sorted independently: the
        // smaller by a nested call, the larger by this loop.
        if (j - lo < hi - i) {
            if (lo < j)
                Quicksort(rows, keys, lo, j, before);
            lo = i;
        } else {
            if (i < hi)
                Quicksort(rows, keys, i, hi, before);
            hi = j;
        }
    }
}

std::vector<QString> BuildKeys(const CardRows& rows, int count, const SortKeyFields& fields)
{
    std::vector<QString> keys;
    keys.reserve(static_cast<size_t>(count));
    for (int r = 0; r < count; ++r)
        keys.push_back(SortKey(rows[static_cast<size_t>(r)], fields));
    return keys;
}

// Sorts rows 0..count - 1; false when there is nothing to sort.
bool SortTable(CardRows& rows, int count, const SortKeyFields& fields, SortDirection direction)
{
    count = std::min(count, static_cast<int>(rows.size()));
    if (count <= 0)
        return false;
    std::vector<QString> keys = BuildKeys(rows, count, fields);
    SortRows(rows, keys, 0, count - 1, direction);
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
    Q_ASSERT(lo >= hi || (lo >= 0 && static_cast<size_t>(hi) < rows.size() && static_cast<size_t>(hi) < keys.size()));
    if (direction == SortDirection::Ascending)
        Quicksort(rows, keys, lo, hi, AscendingLess());
    else
        Quicksort(rows, keys, lo, hi, DescendingLess());
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
