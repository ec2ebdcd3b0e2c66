#include "previewpaging.h"

#include <gtest/gtest.h>

namespace {

struct MoveCase {
    const char* name;
    PreviewMove move;
    int page;
    int total;
    std::optional<int> expected;
};

TEST(PreviewPaging, EveryMoveGoesWhereItShouldOrNowhere)
{
    const MoveCase cases[] = {
        {"previous from the middle", PreviewMove::Previous, 5, 9, 4},
        {"previous from page 2", PreviewMove::Previous, 2, 9, 1},
        {"previous on the first page", PreviewMove::Previous, 1, 9, std::nullopt},
        {"next from the middle", PreviewMove::Next, 5, 9, 6},
        {"next to the last page", PreviewMove::Next, 8, 9, 9},
        {"next on the last page", PreviewMove::Next, 9, 9, std::nullopt},
        {"next on the only page", PreviewMove::Next, 1, 1, std::nullopt},
        {"home from the last page", PreviewMove::Home, 9, 9, 1},
        {"home on the first page", PreviewMove::Home, 1, 9, 1},
        {"end from the first page", PreviewMove::End, 1, 9, 9},
        {"end on the last page", PreviewMove::End, 9, 9, 9},
        {"end without pages", PreviewMove::End, 1, 0, std::nullopt},
        {"back ten from page 11", PreviewMove::BackTen, 11, 100, 1},
        {"back ten from page 10", PreviewMove::BackTen, 10, 100, std::nullopt},
        {"back ten from page 1", PreviewMove::BackTen, 1, 100, std::nullopt},
        {"back ten from page 100", PreviewMove::BackTen, 100, 100, 90},
        {"forward ten from page 89 of 100", PreviewMove::ForwardTen, 89, 100, 99},
        {"forward ten from page 90 of 100", PreviewMove::ForwardTen, 90, 100, std::nullopt},
        {"forward ten from page 95 of 100", PreviewMove::ForwardTen, 95, 100, std::nullopt},
        {"forward ten from page 1 of 11", PreviewMove::ForwardTen, 1, 11, std::nullopt},
        {"forward ten from page 1 of 12", PreviewMove::ForwardTen, 1, 12, 11},
        {"forward ten on the last page", PreviewMove::ForwardTen, 100, 100, std::nullopt},
    };
    for (const MoveCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PageAfterMove(c.move, c.page, c.total), c.expected);
    }
}

struct FitCase {
    int clientWidth;
    PreviewBitmapSize expected;
};

TEST(PreviewPaging, TheImageFollowsTheWidthOfTheWindow)
{
    const FitCase cases[] = {
        // The window as designed: 1042 wide, so 722 high with the tool bar.
        {1042, {521, 677, 63, 56}},
        {1043, {521, 677, 63, 56}},  // an odd pixel is dropped
        {1000, {500, 650, 60, 54}},
        {1600, {800, 1040, 97, 87}},
        {1240, {620, 806, 75, 67}},
        // Halves go to the even neighbour: 6.5 -> 6, 19.5 -> 20, 0.5 -> 0, 1.5 -> 2.
        {10, {5, 6, 1, 0}},
        {30, {15, 20, 2, 2}},
        {28, {14, 18, 2, 2}},
        {1, {0, 0, 0, 0}},
        {0, {0, 0, 0, 0}},
    };
    for (const FitCase& c : cases) {
        SCOPED_TRACE(c.clientWidth);
        const PreviewBitmapSize got = PreviewBitmapFor(c.clientWidth);
        EXPECT_EQ(got.width, c.expected.width);
        EXPECT_EQ(got.height, c.expected.height);
        EXPECT_EQ(got.ppiX, c.expected.ppiX);
        EXPECT_EQ(got.ppiY, c.expected.ppiY);
    }
    EXPECT_EQ(PreviewClientHeight(PreviewBitmapFor(1042), 25), 722);
    // Wider by 200 pixels: taller by 1.3 x 100.
    EXPECT_EQ(PreviewClientHeight(PreviewBitmapFor(1242), 25) - PreviewClientHeight(PreviewBitmapFor(1042), 25), 130);
}

}  // namespace
