#include "picking.h"

#include "convert.h"

#include <algorithm>
#include <vector>

namespace {

// The rows 0..count - 1 of rows that pass test.
template <typename Test> std::vector<int> Passing(const CardRows& rows, int count, const Test& test)
{
    count = std::min(count, static_cast<int>(rows.size()));
    std::vector<int> found;
    for (int i = 0; i < count; ++i)
        if (test(rows[static_cast<size_t>(i)]))
            found.push_back(i);
    return found;
}

void TakePickedSet(CardStore& store, CardRows&& rows)
{
    store.PickedTable = std::move(rows);
    store.PickedCount = static_cast<int>(store.PickedTable.size());
    store.CurrentPicked = store.PickedCount - 1;
}

template <typename Test> PickOutcome Pick(CardStore& store, const Test& test)
{
    if (!store.FileOpen)
        return {PickStatus::NoCardFile, 0};
    store.PickedWindowActive = true;
    CardRows().swap(store.PickedTable);
    const std::vector<int> found = Passing(store.CardTable, store.CardCount, test);
    if (found.empty())
        return {PickStatus::NotFound, 0};
    CardRows picked;
    picked.reserve(found.size());
    for (int i : found)
        picked.push_back(store.CardTable[static_cast<size_t>(i)]);
    TakePickedSet(store, std::move(picked));
    return {PickStatus::Picked, store.PickedCount};
}

template <typename Test> PickOutcome Filter(CardStore& store, const Test& test)
{
    store.PickedWindowActive = true;
    const std::vector<int> found = Passing(store.PickedTable, store.PickedCount, test);
    if (found.empty())
        return {PickStatus::NotFound, 0};
    // The old set is discarded, so its rows move into the new one.
    CardRows kept;
    kept.reserve(found.size());
    for (int i : found)
        kept.push_back(std::move(store.PickedTable[static_cast<size_t>(i)]));
    TakePickedSet(store, std::move(kept));
    return {PickStatus::Picked, store.PickedCount};
}

bool WithinRows(const OrderRange& range, int count, const CardRows& rows)
{
    return range.Accepted() && range.first >= 1 && range.first <= range.last
        && range.last <= std::min(count, static_cast<int>(rows.size()));
}

}  // namespace

// The operator or connective is chosen once, before the loop over the cards.
PickOutcome PickCards(CardStore& store, const FieldTest& test)
{
    return WithFieldTest(test, [&](const auto& pass) { return Pick(store, pass); });
}

PickOutcome PickCards(CardStore& store, const BooleanTest& test)
{
    return WithBooleanTest(test, [&](const auto& pass) { return Pick(store, pass); });
}

PickOutcome FilterPicked(CardStore& store, const FieldTest& test)
{
    return WithFieldTest(test, [&](const auto& pass) { return Filter(store, pass); });
}

PickOutcome FilterPicked(CardStore& store, const BooleanTest& test)
{
    return WithBooleanTest(test, [&](const auto& pass) { return Filter(store, pass); });
}

OrderRange CheckOrderRange(const QString& firstText, const QString& lastText, int cardsInWhole)
{
    OrderRange r;
    if (firstText.isEmpty() || lastText.isEmpty()) {
        r.refusal = QStringLiteral("One of the fields is empty");
        return r;
    }
    r.first = StrToInt(firstText);
    r.last = StrToInt(lastText);
    if (r.first < 1)
        r.refusal = QStringLiteral("The first index number can not be smaller than 1");
    else if (r.last < r.first)
        r.refusal = QStringLiteral("The first index number can not be greater than the last index number");
    else if (r.last > cardsInWhole)
        r.refusal = QStringLiteral("The last index number can not be greater than the number of cards in whole ")
            + QString::number(cardsInWhole);
    return r;
}

bool PickRange(CardStore& store, const OrderRange& range)
{
    if (!WithinRows(range, store.CardCount, store.CardTable))
        return false;
    store.PickedWindowActive = true;
    CardRows().swap(store.PickedTable);
    const auto from = store.CardTable.begin() + (range.first - 1);
    TakePickedSet(store, CardRows(from, from + (range.last - range.first + 1)));
    return true;
}

OrderRange FilterRange(CardStore& store, const QString& firstText, const QString& lastText)
{
    OrderRange range = CheckOrderRange(firstText, lastText, store.PickedCount);
    if (!WithinRows(range, store.PickedCount, store.PickedTable))
        return range;
    store.PickedWindowActive = true;
    CardRows& t = store.PickedTable;
    t.erase(t.begin() + range.last, t.end());
    t.erase(t.begin(), t.begin() + (range.first - 1));
    store.PickedCount = static_cast<int>(t.size());
    store.CurrentPicked = store.PickedCount - 1;
    return range;
}
