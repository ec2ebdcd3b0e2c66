// What the preview and the print commands share while the program runs: the
// kind of pages they handle, the listing cut into pages, and the line breaker
// that the pages are cut with. One object of it lives for the whole run,
// shared by the windows that preview and print.
#pragma once

#include "piilomemo.h"

#include <QString>
#include <array>
#include <memory>
#include <vector>

class ListingPaging;

// The kind of pages the drawer, the preview and the print commands handle.
enum class PrintMode : int {
    CardPrint = 1,  // one card of CardTable per page: page n is row n - 1
    PickedCardPrint = 2,  // one card of PickedTable per page: page n is row n - 1
    ListPrint = 3,  // 50 lines of the listing text per page: ListingPages[n - 1]
};

constexpr int ListingPageLines = 50;
using ListingPage = std::array<QString, ListingPageLines>;

struct PrintState {
    // Set to ListPrint at start; every preview and print command sets it
    // before it draws.
    ::PrintMode PrintMode = ::PrintMode::ListPrint;

    // The listing cut into pages: page k holds the display lines 50k ... 50k + 49
    // of the listing; the slots after its last line are empty texts.
    std::vector<ListingPage> ListingPages;
    int ListingPageCount = 0;
    // While the preview's pages of a long listing are still being cut: what
    // hands the rest of them over (ListingPages and ListingPageCount hold the
    // pages cut so far). Empty when every page is there.
    std::shared_ptr<ListingPaging> paging;

    // The hidden word-wrapping box the page bodies and the listing pages are
    // broken into lines with; it keeps the body of the last page drawn.
    Piilomemo piilomemo;
};
