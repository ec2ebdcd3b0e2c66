// The print preview's arithmetic: where each page move goes, and how large
// the page image is for the width of the window.
#pragma once

#include <optional>

// The moves between the preview's pages.
enum class PreviewMove {
    Previous,  // one back, not before page 1
    Next,  // one on, not after the last page
    Home,  // page 1
    End,  // the last page
    BackTen,  // ten back, only from page 11 on
    ForwardTen,  // ten on, only while more than ten pages follow
};

// The page that move goes to from page (1-based) of total pages, or nothing
// when the move is refused there. Back ten refuses pages 1 to 10; forward ten
// refuses the last eleven pages, so it never reaches the last page itself.
// End is refused only when there are no pages at all.
std::optional<int> PageAfterMove(PreviewMove move, int page, int total);

// The page image of a preview window whose client area is clientWidth
// pixels wide: width = half the client width (remainder dropped), height =
// 1.3 x width, pixels per page inch across = width / 8.268 and down = height
// / 12, each to the nearest integer (a half to the even neighbour).
struct PreviewBitmapSize {
    int width = 0;
    int height = 0;
    int ppiX = 0;
    int ppiY = 0;
};
PreviewBitmapSize PreviewBitmapFor(int clientWidth);

// The client height a window that is not maximised takes for the image:
// the image's height + the tool bar's height + 20 pixels.
int PreviewClientHeight(const PreviewBitmapSize& bitmap, int toolBarHeight);

// The client width a preview window takes to stand wholly in a room of
// roomWidth x roomHeight pixels (the screen's free area less the window's
// frame): the width it has when that fits, or else the widest narrower one
// that fits the room's width and whose client height by the image rule
// above fits the room's height. 0 when nothing fits.
int PreviewClientWidthFor(int clientWidth, int roomWidth, int roomHeight, int toolBarHeight);
