// The listing text cut into pages of 50 display lines for the preview and
// the printing of the listing window.
#pragma once

#include "printstate.h"

#include <QString>
#include <functional>

// Puts the listing text into the line breaker and cuts its display lines into
// pages: ListingPageCount = the number of display lines C divided by 50,
// rounded up; ListingPages is made anew with that many pages of 50 empty
// texts (nothing of an earlier build stays), and display line i goes to page
// i / 50, slot i % 50. 100 lines give two pages, 101 three.
//
// afterFullPage, when given, is called after each full page k (0-based) with k
// and the number of full pages (C / 50), for the wait window's caption.
void BuildListingPages(PrintState& print, const QString& listingText,
    const std::function<void(int page, int fullPages)>& afterFullPage = {});

// The wait window's caption while the preview's pages are built:
// "Building the preview " + k + "/" + fullPages + "  CARDOMO 0.5 beta".
QString BuildingPreviewCaption(int page, int fullPages);

// The wait window's caption before the pages are built.
extern const QString BuildingPreviewTitle;  // "Building the Preview. Please wait..."
