#include "cardfind.h"

namespace {

template <typename Test> FindOutcome FindInCards(CardStore& store, SearchDirection direction, const Test& test)
{
    if (!store.FileOpen)
        return {FindStatus::NothingToSearch, -1};
    const FindOutcome out = FindMatch(store.CardTable, store.CardCount, store.CurrentCard, direction, test);
    if (out.status == FindStatus::Found)
        store.CurrentCard = out.row;
    return out;
}

template <typename Test> FindOutcome FindInPicked(CardStore& store, SearchDirection direction, const Test& test)
{
    const FindOutcome out = FindMatch(store.PickedTable, store.PickedCount, store.CurrentPicked, direction, test);
    if (out.status == FindStatus::Found)
        store.CurrentPicked = out.row;
    return out;
}

}  // namespace

// The operator or connective is chosen once, before the loop over the cards.
FindOutcome FindCard(CardStore& store, SearchDirection direction, const FieldTest& test)
{
    return WithFieldTest(test, [&](const auto& pass) { return FindInCards(store, direction, pass); });
}

FindOutcome FindCard(CardStore& store, SearchDirection direction, const BooleanTest& test)
{
    return WithBooleanTest(test, [&](const auto& pass) { return FindInCards(store, direction, pass); });
}

FindOutcome FindPicked(CardStore& store, SearchDirection direction, const FieldTest& test)
{
    return WithFieldTest(test, [&](const auto& pass) { return FindInPicked(store, direction, pass); });
}

FindOutcome FindPicked(CardStore& store, SearchDirection direction, const BooleanTest& test)
{
    return WithBooleanTest(test, [&](const auto& pass) { return FindInPicked(store, direction, pass); });
}
