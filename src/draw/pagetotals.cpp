#include "pagetotals.h"

int PageTotal(const CardStore& store, const PrintState& print)
{
    switch (print.PrintMode) {
    case PrintMode::CardPrint:
        return store.CardCount;
    case PrintMode::PickedCardPrint:
        return store.PickedCount;
    case PrintMode::ListPrint:
        return print.ListingPageCount;
    }
    return 0;
}

int StartPage(const CardStore& store, const PrintState& print)
{
    switch (print.PrintMode) {
    case PrintMode::CardPrint:
        return store.CurrentCard + 1;
    case PrintMode::PickedCardPrint:
        return store.CurrentPicked + 1;
    case PrintMode::ListPrint:
        return 1;
    }
    return 1;
}
