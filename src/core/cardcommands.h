// The card commands as operations on the card store. A window stores its
// editors into the current row first, runs one of these, and shows the
// current card when the outcome says so.
#pragma once

#include "cardstore.h"

// A new card file of one empty card stamped with cardId: CardTable and
// PickedTable emptied, CardTable allocated again, CardCount 1, CurrentCard
// 0, FileOpen set. CardFileChanged is not touched.
void StartCardFile(CardStore& store, const QString& cardId);

// Appends an empty card stamped with cardId and makes it current. False,
// changing nothing, when the card file already holds MaxCardCount cards.
bool AppendEmptyCard(CardStore& store, const QString& cardId);

// Deletes the current card into DeletedCard: the only card is emptied but
// keeps its Card ID; the last of several goes and the one before it becomes
// current; any other goes and the cards after it move up, so the card that
// followed becomes current under the same order number. Sets
// CardFileChanged and DeletedCardHeld.
void DeleteCurrentCard(CardStore& store);

enum class RestoreOutcome { NothingHeld, CardFileFull, Restored };
// Brings DeletedCard back as a new last card with its old Card ID.
RestoreOutcome RestoreDeletedCard(CardStore& store);

// CopiedCard receives fields 1 to 18 of the current card.
void CopyCurrentCard(CardStore& store);

// Fields 1 to 18 of the current card receive CopiedCard; the card keeps its
// own Card ID. Sets CardFileChanged.
void PasteOverCurrentCard(CardStore& store);
