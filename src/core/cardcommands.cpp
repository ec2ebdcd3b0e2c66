#include "cardcommands.h"

#include <algorithm>

namespace {
Card& CurrentRow(CardStore& store)
{
    return store.CardTable[static_cast<size_t>(store.CurrentCard)];
}
}  // namespace

void StartCardFile(CardStore& store, const QString& cardId)
{
    store.RenewTables();
    store.FileOpen = true;
    store.CardCount = 1;
    store.CurrentCard = 0;
    store.CardTable[0] = Card{};
    store.CardTable[0][CardIdCell] = cardId;
}

bool AppendEmptyCard(CardStore& store, const QString& cardId)
{
    if (store.CardCount >= store.MaxCardCount)
        return false;
    store.CardCount += 1;
    store.CurrentCard = store.CardCount - 1;
    Card& row = CurrentRow(store);
    row = Card{};
    row[CardIdCell] = cardId;
    store.CardFileChanged = true;
    return true;
}

void DeleteCurrentCard(CardStore& store)
{
    auto& table = store.CardTable;
    const auto current = static_cast<qsizetype>(store.CurrentCard);
    const auto count = static_cast<qsizetype>(store.CardCount);
    store.DeletedCard = table[static_cast<size_t>(current)];
    if (current == count - 1) {
        if (current == 0) {
            const QString id = table[0][CardIdCell];
            table[0] = Card{};
            table[0][CardIdCell] = id;
        } else {
            table[static_cast<size_t>(current)] = Card{};
            store.CardCount -= 1;
            store.CurrentCard = store.CardCount - 1;
        }
    } else {
        std::move(table.begin() + current + 1, table.begin() + count, table.begin() + current);
        table[static_cast<size_t>(count - 1)] = Card{};
        store.CardCount -= 1;
    }
    store.CardFileChanged = true;
    store.DeletedCardHeld = true;
}

RestoreOutcome RestoreDeletedCard(CardStore& store)
{
    if (!store.FileOpen || !store.DeletedCardHeld)
        return RestoreOutcome::NothingHeld;
    if (store.CardCount >= store.MaxCardCount)
        return RestoreOutcome::CardFileFull;
    store.CardCount += 1;
    store.CurrentCard = store.CardCount - 1;
    CurrentRow(store) = store.DeletedCard;
    store.DeletedCardHeld = false;
    store.CardFileChanged = true;
    return RestoreOutcome::Restored;
}

void CopyCurrentCard(CardStore& store)
{
    const Card& row = CurrentRow(store);
    std::copy(row.begin(), row.begin() + CardIdCell, store.CopiedCard.begin());
}

void PasteOverCurrentCard(CardStore& store)
{
    Card& row = CurrentRow(store);
    std::copy(store.CopiedCard.begin(), store.CopiedCard.end(), row.begin());
    store.CardFileChanged = true;
}
