#include "listingpages.h"

const QString BuildingPreviewTitle = QStringLiteral("Building the Preview. Please wait...");

void BuildListingPages(
    PrintState& print, const QString& listingText, const std::function<void(int page, int fullPages)>& afterFullPage)
{
    Piilomemo& box = print.piilomemo;
    box.Clear();
    box.SetText(listingText);
    const QStringList& lines = box.Lines();
    const int count = static_cast<int>(lines.size());
    const int fullPages = count / ListingPageLines;
    print.ListingPageCount = fullPages + (count % ListingPageLines != 0 ? 1 : 0);

    // Made anew: the pages of an earlier build are dropped, not reused.
    std::vector<ListingPage> pages(static_cast<size_t>(print.ListingPageCount));
    for (int i = 0; i < count; ++i) {
        pages[static_cast<size_t>(i / ListingPageLines)][static_cast<size_t>(i % ListingPageLines)] = lines[i];
        if (afterFullPage && i % ListingPageLines == ListingPageLines - 1)
            afterFullPage(i / ListingPageLines, fullPages);
    }
    print.ListingPages = std::move(pages);
}

QString BuildingPreviewCaption(int page, int fullPages)
{
    return u"Building the preview " + QString::number(page) + u'/' + QString::number(fullPages) + u"  CARDOMO 0.5 beta";
}
