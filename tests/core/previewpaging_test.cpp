#include "previewpaging.h"

#include <algorithm>
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

// On a screen too small for it, the window takes the widest width whose
// height by the image rule still fits; where it fits, it keeps its width.
TEST(PreviewPaging, TheWindowNarrowsToStandOnTheScreen)
{
    struct RoomCase {
        const char* name;
        int clientWidth, roomWidth, roomHeight;
        int expected;
    };
    const RoomCase cases[] = {
        {"a large screen", 1042, 1916, 1050, 1042},
        {"exactly the room", 1042, 1042, 722, 1042},
        {"a pixel short", 1042, 1042, 721, 1041},
        // 1024 x 768 less a frame: image 504 x 655, client 1009 x 700.
        {"1024 x 768", 1042, 1020, 700, 1009},
        // 1920 x 1080 at 150 %: 1280 x 720 less a panel and the frame.
        {"1920 x 1080 at 150 %", 1042, 1276, 664, 953},
        {"narrow but tall", 1042, 900, 2000, 900},
        {"made wider by the user, on a large screen", 1400, 1916, 1050, 1400},
        {"no room at all", 1042, 1000, 40, 0},
    };
    for (const RoomCase& c : cases) {
        SCOPED_TRACE(c.name);
        const int width = PreviewClientWidthFor(c.clientWidth, c.roomWidth, c.roomHeight, 25);
        EXPECT_EQ(width, c.expected);
        if (width > 0) {
            EXPECT_LE(PreviewClientHeight(PreviewBitmapFor(width), 25), c.roomHeight);
            // Narrowed: two pixels more (one more image pixel) would not fit.
            if (width < std::min(c.clientWidth, c.roomWidth)) {
                EXPECT_GT(PreviewClientHeight(PreviewBitmapFor(width + 2), 25), c.roomHeight);
            }
        }
    }
}
