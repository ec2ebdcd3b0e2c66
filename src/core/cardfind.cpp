#include "cardfind.h"

namespace {

template <typename Test>
FindOutcome FindInCards(CardStore& store, SearchDirection direction, const Test& test)
{
    if (!store.FileOpen)
        return {FindStatus::NothingToSearch, -1};
    const FindOutcome out = FindMatch(store.CardTable, store.CardCount, store.CurrentCard, direction, test);
    if (out.status == FindStatus::Found)
        store.CurrentCard = out.row;
    return out;
}

template <typename Test>
FindOutcome FindInPicked(CardStore& store, SearchDirection direction, const Test& test)
{
    const FindOutcome out =
        FindMatch(store.PickedTable, store.PickedCount, store.CurrentPicked, direction, test);
    if (out.status == FindStatus::Found)
        store.CurrentPicked = out.row;
    return out;
}

}  // namespace

FindOutcome FindCard(CardStore& store, SearchDirection direction, const FieldTest& test)
{
    return FindInCards(store, direction, test);
}

FindOutcome FindCard(CardStore& store, SearchDirection direction, const BooleanTest& test)
{
    return FindInCards(store, direction, test);
}

FindOutcome FindPicked(CardStore& store, SearchDirection direction, const FieldTest& test)
{
    return FindInPicked(store, direction, test);
}

FindOutcome FindPicked(CardStore& store, SearchDirection direction, const BooleanTest& test)
{
    return FindInPicked(store, direction, test);
}
