#include "listingpages.h"
#include "qtprinters.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

// A listing of `count` short lines "<prefix> 0" ... each ended by CR LF.
QString Listing(int count, const QString& prefix = QStringLiteral("line"))
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += prefix + u' ' + QString::number(i) + QStringLiteral("\r\n");
    return text;
}

QString Line(int i, const QString& prefix = QStringLiteral("line"))
{
    return prefix + u' ' + QString::number(i);
}

TEST(ListingPages, FiftyDisplayLinesMakeAPage)
{
    struct Case {
        int lines;
        int pages;
    };
    const Case cases[] = {{0, 0}, {1, 1}, {49, 1}, {50, 1}, {51, 2}, {100, 2}, {101, 3}, {120, 3}, {150, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        PrintState print;
        BuildListingPages(print, Listing(c.lines));
        EXPECT_EQ(print.ListingPageCount, c.pages);
        ASSERT_EQ(print.ListingPages.size(), static_cast<size_t>(c.pages));
        EXPECT_EQ(print.piilomemo.LineCount(), c.lines);
    }
}

TEST(ListingPages, HundredOneLinesLeaveOneLineOnTheThirdPage)
{
    PrintState print;
    BuildListingPages(print, Listing(101));
    ASSERT_EQ(print.ListingPageCount, 3);
    for (int i = 0; i < 101; ++i)
        EXPECT_EQ(print.ListingPages[static_cast<size_t>(i / 50)][static_cast<size_t>(i % 50)], Line(i));
    const ListingPage& last = print.ListingPages[2];
    EXPECT_EQ(last[0], QStringLiteral("line 100"));
    for (size_t slot = 1; slot < 50; ++slot)
        EXPECT_EQ(last[slot], QString()) << slot;
}

// The second build after a shorter listing keeps nothing of the first: not
// in the last page's empty slots, not in pages beyond the new count.
TEST(ListingPages, ASecondBuildKeepsNothingOfTheFirst)
{
    PrintState print;
    BuildListingPages(print, Listing(140, QStringLiteral("first")));
    ASSERT_EQ(print.ListingPageCount, 3);

    BuildListingPages(print, Listing(60, QStringLiteral("second")));
    ASSERT_EQ(print.ListingPageCount, 2);
    ASSERT_EQ(print.ListingPages.size(), 2u);
    for (int i = 0; i < 60; ++i)
        EXPECT_EQ(print.ListingPages[static_cast<size_t>(i / 50)][static_cast<size_t>(i % 50)],
            Line(i, QStringLiteral("second")));
    for (size_t slot = 10; slot < 50; ++slot)
        EXPECT_EQ(print.ListingPages[1][slot], QString()) << slot;

    BuildListingPages(print, QString());
    EXPECT_EQ(print.ListingPageCount, 0);
    EXPECT_TRUE(print.ListingPages.empty());
}

// The pages hold display lines: a paragraph wider than the box takes the
// slots of all its wrapped lines; empty lines of the listing keep their slots.
TEST(ListingPages, PagesHoldTheWrappedDisplayLines)
{
    QString longLine;
    for (int i = 0; i < 60; ++i)
        longLine += QStringLiteral("wrapping ");
    QString text = QStringLiteral("head\r\n\r\n") + longLine + QStringLiteral("\r\ntail\r\n");
    PrintState print;
    BuildListingPages(print, text);
    const QStringList lines = print.piilomemo.Lines();
    ASSERT_GT(lines.size(), 5);
    ASSERT_EQ(print.ListingPageCount, 1);
    const ListingPage& page = print.ListingPages[0];
    EXPECT_EQ(page[0], QStringLiteral("head"));
    EXPECT_EQ(page[1], QString());
    QString joined;
    for (qsizetype i = 2; i + 1 < lines.size(); ++i) {
        EXPECT_EQ(page[static_cast<size_t>(i)], lines[i]);
        joined += page[static_cast<size_t>(i)];
    }
    EXPECT_EQ(joined, longLine);
    EXPECT_EQ(page[static_cast<size_t>(lines.size() - 1)], QStringLiteral("tail"));
}

TEST(ListingPages, ReportsEachFullPageForTheWaitWindow)
{
    std::vector<std::pair<int, int>> calls;
    PrintState print;
    BuildListingPages(print, Listing(151), [&](int page, int fullPages) { calls.emplace_back(page, fullPages); });
    EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{0, 3}, {1, 3}, {2, 3}}));

    calls.clear();
    BuildListingPages(print, Listing(49), [&](int page, int fullPages) { calls.emplace_back(page, fullPages); });
    EXPECT_TRUE(calls.empty());

    EXPECT_EQ(BuildingPreviewCaption(1, 3), QStringLiteral("Building the preview 1/3  CARDOMO 0.5 beta"));
    EXPECT_EQ(BuildingPreviewTitle, QStringLiteral("Building the Preview. Please wait..."));
}

}  // namespace
