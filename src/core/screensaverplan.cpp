#include "screensaverplan.h"

namespace {

constexpr int ColourBound = 255;  // 0 to 254
constexpr int PenWidthBound = 3;  // 1 to 3
constexpr int ShapeSizeBound = 200;  // 0 to 199
constexpr int UnusedDraws = 4;
constexpr int LargerBy = 100;

ShapeColour Colour(const RandomNumbers& random)
{
    ShapeColour c;
    c.red = random(ColourBound);
    c.green = random(ColourBound);
    c.blue = random(ColourBound);
    return c;
}

ShapeBox Box(int width, int height, const RandomNumbers& random)
{
    ShapeBox b;
    b.left = random(width);
    b.top = random(height);
    b.width = random(ShapeSizeBound);
    b.height = random(ShapeSizeBound);
    for (int i = 0; i < UnusedDraws; ++i)
        random(ShapeSizeBound);
    return b;
}

}  // namespace

DrawingStep ScreenSaverPlan::NextStep(
    int width, int height, const ScreenSaverShapes& shapes, const RandomNumbers& random)
{
    DrawingStep step;
    step.penColour = Colour(random);
    step.penWidth = 1 + random(PenWidthBound);
    step.brushColour = Colour(random);
    ++counter_;
    if (counter_ > WipeAfter) {
        step.wipe = true;
        step.brushColour = Colour(random);
        counter_ = 0;
    }
    if (shapes.ellipses) {
        const ShapeBox box = Box(width, height, random);
        step.shapes.push_back({ShapeKind::FilledEllipse, box});
        step.shapes.push_back({ShapeKind::EllipseOutline, box});
    }
    if (shapes.rectangles)
        step.shapes.push_back({ShapeKind::RectangleOutline, Box(width, height, random)});
    if (shapes.ellipses) {
        ShapeBox box = Box(width, height, random);
        box.width += LargerBy;
        box.height += LargerBy;
        step.shapes.push_back({ShapeKind::FilledEllipse, box});
    }
    if (shapes.rectangles)
        step.shapes.push_back({ShapeKind::FilledRectangle, Box(width, height, random)});
    return step;
}
