#include "previewpaging.h"

#include <algorithm>
#include <cstdint>

namespace {

// numerator / denominator (both positive, or numerator 0) to the nearest
// integer, a half to the even neighbour, in exact integer arithmetic.
int DivideRoundingHalfEven(std::int64_t numerator, std::int64_t denominator)
{
    std::int64_t quotient = numerator / denominator;
    const std::int64_t twiceRest = 2 * (numerator % denominator);
    if (twiceRest > denominator || (twiceRest == denominator && quotient % 2 != 0))
        ++quotient;
    return static_cast<int>(quotient);
}

}  // namespace

std::optional<int> PageAfterMove(PreviewMove move, int page, int total)
{
    switch (move) {
    case PreviewMove::Previous:
        if (page > 1)
            return page - 1;
        return std::nullopt;
    case PreviewMove::Next:
        if (page < total)
            return page + 1;
        return std::nullopt;
    case PreviewMove::Home:
        return 1;
    case PreviewMove::End:
        if (total >= 1)
            return total;
        return std::nullopt;
    case PreviewMove::BackTen:
        if (page > 10)
            return page - 10;
        return std::nullopt;
    case PreviewMove::ForwardTen:
        if (page < total - 10)
            return page + 10;
        return std::nullopt;
    }
    return std::nullopt;
}

PreviewBitmapSize PreviewBitmapFor(int clientWidth)
{
    PreviewBitmapSize size;
    size.width = clientWidth > 0 ? clientWidth / 2 : 0;
    // 1.3 x width = 13 x width / 10; 8.268 inches = 8268 / 1000.
    size.height = DivideRoundingHalfEven(std::int64_t(13) * size.width, 10);
    size.ppiX = DivideRoundingHalfEven(std::int64_t(1000) * size.width, 8268);
    size.ppiY = DivideRoundingHalfEven(size.height, 12);
    return size;
}

int PreviewClientHeight(const PreviewBitmapSize& bitmap, int toolBarHeight)
{
    return bitmap.height + toolBarHeight + 20;
}

int PreviewClientWidthFor(int clientWidth, int roomWidth, int roomHeight, int toolBarHeight)
{
    int width = std::max(0, std::min(clientWidth, roomWidth));
    // The height grows with the width by 0.65 pixels a pixel: a step of one
    // pixel at a time finds the widest width that fits.
    while (width > 0 && PreviewClientHeight(PreviewBitmapFor(width), toolBarHeight) > roomHeight)
        --width;
    return width;
}
