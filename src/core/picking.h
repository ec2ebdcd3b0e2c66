// Picking cards of the card file into the picked set, and narrowing the
// picked set by filtering: by the single-field test, by the Boolean test, or
// by a range of order numbers. Each operation changes the store in the order
// the commands have always done it; the handler shows what the outcome says.
#pragma once

#include "cardstore.h"
#include "match.h"

#include <QString>

enum class PickStatus {
    Picked,  // PickedTable holds count rows, PickedCount = count, CurrentPicked = count - 1
    NotFound,  // nothing passed: show NotFoundText(); see each operation for what changed
    NoCardFile,  // no card file is open: nothing changed, no message
};

struct PickOutcome {
    PickStatus status = PickStatus::NoCardFile;
    int count = 0;  // the picked cards when Picked, else 0
};

// Pick (F9) and Boolean pick (F10) from the main window, after the handler
// has stored the shown card. Without an open card file: NoCardFile. Otherwise
// PickedWindowActive is set and PickedTable emptied first; then every card of
// CardTable that passes is copied, in card file order. NotFound leaves
// PickedCount and CurrentPicked as they were (and PickedWindowActive set).
// On Picked the handler shows row CurrentPicked and opens the picked cards
// window.
PickOutcome PickCards(CardStore& store, const FieldTest& test);
PickOutcome PickCards(CardStore& store, const BooleanTest& test);

// Filter (F9) and Boolean filter (F10) of the picked cards window: sets
// PickedWindowActive, then keeps the picked cards that pass, in their order.
// NotFound leaves the picked set, PickedCount and CurrentPicked untouched.
PickOutcome FilterPicked(CardStore& store, const FieldTest& test);
PickOutcome FilterPicked(CardStore& store, const BooleanTest& test);

// Two order-number boxes read and checked against the number of cards in
// whole (CardCount for a range pick, PickedCount for a range filter).
struct OrderRange {
    QString refusal;  // the message of the first check that failed; empty when accepted
    int first = 0;  // 1-based order numbers, first <= last
    int last = 0;

    bool Accepted() const { return refusal.isEmpty(); }
};

// The checks in order, the first that fails giving its message:
// "One of the fields is empty"; then both texts are read with StrToInt (which
// throws GeneralError for a text that is no whole number); "The first index
// number can not be smaller than 1"; "The first index number can not be
// greater than the last index number"; "The last index number can not be
// greater than the number of cards in whole " followed by cardsInWhole.
OrderRange CheckOrderRange(const QString& firstText, const QString& lastText, int cardsInWhole);

// Range pick of the card picking window, after the handler has checked the
// boxes with CheckOrderRange(..., store.CardCount), hidden the window and
// stored the main window's card: sets PickedWindowActive and makes the cards
// first..last the picked set. Returns false, changing nothing, for a range
// that was refused or does not lie within the cards.
bool PickRange(CardStore& store, const OrderRange& range);

// Range filter of the card filtering window: the checks against PickedCount,
// then (when accepted) sets PickedWindowActive and makes the picked cards
// first..last the picked set. Gives the checked range: when it holds a
// refusal, nothing changed and the window shows it.
OrderRange FilterRange(CardStore& store, const QString& firstText, const QString& lastText);
