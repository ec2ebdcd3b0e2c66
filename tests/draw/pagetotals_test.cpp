#include "pagetotals.h"

#include <gtest/gtest.h>

namespace {

TEST(PageTotals, EachKindOfPagesCountsAndStartsOnItsOwn)
{
    CardStore store;
    store.CardCount = 12;
    store.CurrentCard = 4;
    store.PickedCount = 3;
    store.CurrentPicked = 2;
    PrintState print;
    print.ListingPageCount = 7;
    struct Case {
        PrintMode mode;
        int total;
        int start;
    };
    for (const Case& c :
        {Case{PrintMode::CardPrint, 12, 5}, Case{PrintMode::PickedCardPrint, 3, 3}, Case{PrintMode::ListPrint, 7, 1}}) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        print.PrintMode = c.mode;
        EXPECT_EQ(PageTotal(store, print), c.total);
        EXPECT_EQ(StartPage(store, print), c.start);
    }
}

}  // namespace
