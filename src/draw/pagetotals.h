// How many pages the current kind of pages has, and where the preview
// starts in them.
#pragma once

#include "cardstore.h"
#include "printstate.h"

// The pages of the current PrintMode: CardCount cards, PickedCount picked
// cards, or ListingPageCount listing pages.
int PageTotal(const CardStore& store, const PrintState& print);

// The page the preview shows first: the current card (CurrentCard + 1), the
// current picked card (CurrentPicked + 1), or the listing's page 1.
int StartPage(const CardStore& store, const PrintState& print);
