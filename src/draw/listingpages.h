// The listing text cut into pages of 50 display lines for the preview and
// the printing of the listing window.
#pragma once

#include "printstate.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

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

// The listing cut into pages on other threads while the preview shows the
// first ones. The line breaker's stretches of whole paragraphs are wrapped by
// every core in the text's order, and the pages are handed over as the
// stretches before them are done, so the pages and their count come out the
// same as BuildListingPages makes them.
class ListingPaging {
public:
    // Starts cutting text; the threads hold a copy of it (shared, not copied).
    explicit ListingPaging(const QString& text);
    // Stops the threads (a stretch being wrapped is finished first).
    ~ListingPaging();
    ListingPaging(const ListingPaging&) = delete;
    ListingPaging& operator=(const ListingPaging&) = delete;

    // Appends every page whose lines are all known by now to
    // print.ListingPages and sets ListingPageCount to the pages there; after
    // the last stretch, the last page (its empty slots included) too. True
    // once every page is there.
    bool Collect(PrintState& print);
    // Collect until pages pages are there (or all of them, when fewer).
    void WaitForPages(PrintState& print, int pages);
    // Collect until every page is there.
    void WaitForEnd(PrintState& print);
    bool Done() const { return done_; }

private:
    const QString text_;
    std::vector<qsizetype> cuts_;
    std::vector<QStringList> parts_;
    std::vector<char> partDone_;
    size_t collected_ = 0;  // the stretches handed over, from the first
    QStringList carry_;  // lines of the page being filled
    bool done_ = false;
    struct Shared;
    std::unique_ptr<Shared> shared_;
};

// Starts cutting the listing into pages for the preview: the pages of an
// earlier build are dropped, and print.paging hands the new ones over as
// they are cut. Returns once the first page is there.
void StartListingPages(PrintState& print, const QString& listingText);
// Waits for the rest of the pages of StartListingPages (nothing to do when
// they are all there).
void FinishListingPages(PrintState& print);
