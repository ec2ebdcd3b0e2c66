// What one drawing step of the screen saver draws: colours, pen width and
// shape boxes taken from a random source in a fixed order, and the wipe of
// the screen every 21 steps. The window paints the step it is given.
#pragma once

#include <functional>
#include <vector>

// A random whole number n with 0 <= n < bound.
using RandomNumbers = std::function<int(int bound)>;

struct ShapeColour {
    int red = 0;
    int green = 0;
    int blue = 0;  // always fully opaque
    friend bool operator==(const ShapeColour&, const ShapeColour&) = default;
};

// Left, top, width and height in pixels of the screen.
struct ShapeBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const ShapeBox&, const ShapeBox&) = default;
};

enum class ShapeKind {
    FilledEllipse,  // filled with the brush, no outline
    EllipseOutline,  // outlined with the pen, not filled
    RectangleOutline,  // outlined with the pen, not filled
    FilledRectangle,  // filled with the brush, no outline
};

struct PlannedShape {
    ShapeKind kind;
    ShapeBox box;
    friend bool operator==(const PlannedShape&, const PlannedShape&) = default;
};

// Which kinds of shape the screen saver draws (its options window).
struct ScreenSaverShapes {
    bool ellipses = true;
    bool rectangles = true;
};

struct DrawingStep {
    ShapeColour penColour;
    int penWidth = 1;  // 1 to 3, round caps
    ShapeColour brushColour;  // the brush the shapes are filled with
    bool wipe = false;  // the whole screen filled black before the shapes
    std::vector<PlannedShape> shapes;  // in drawing order
};

// The screen saver's steps. The step counter counts the steps since the last
// wipe; the step at which it passes 20 wipes the screen and starts it again.
class ScreenSaverPlan {
public:
    static constexpr int WipeAfter = 20;

    // The next step on a screen of width x height pixels. The random numbers
    // are drawn in this order: pen red, green, blue, pen width, brush red,
    // green, blue; on a wiping step the red, green and blue of a new brush;
    // then for each shape box left, top, width, height and four more that are
    // not used.
    DrawingStep NextStep(int width, int height, const ScreenSaverShapes& shapes, const RandomNumbers& random);

    // The screen saver ended: counting starts again at 0.
    void Reset() { counter_ = 0; }
    int StepCounter() const { return counter_; }

private:
    int counter_ = 0;
};
