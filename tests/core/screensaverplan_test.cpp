#include "screensaverplan.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <vector>

namespace {

// Hands out the numbers 0, 1, 2, ... (each taken modulo its bound) and
// records every bound asked for, so the order of the draws shows.
struct CountingSource {
    std::vector<int> bounds;
    int next = 0;
    RandomNumbers Numbers()
    {
        return [this](int bound) {
            bounds.push_back(bound);
            const int n = next++;
            return bound > 0 ? n % bound : 0;
        };
    }
};

constexpr int W = 1280;
constexpr int H = 1024;

// The bounds of one shape box: left, top, width, height and four unused.
std::vector<int> BoxBounds()
{
    return {W, H, 200, 200, 200, 200, 200, 200};
}

std::vector<int> Concat(std::initializer_list<std::vector<int>> parts)
{
    std::vector<int> all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

const std::vector<int> Colours = {255, 255, 255};

}  // namespace

TEST(ScreenSaverPlan, BothKindsDrawFourShapesWithNumbersDrawnInOrder)
{
    CountingSource source;
    ScreenSaverPlan plan;
    const DrawingStep step = plan.NextStep(W, H, {true, true}, source.Numbers());

    EXPECT_EQ(source.bounds, Concat({Colours, {3}, Colours, BoxBounds(), BoxBounds(), BoxBounds(), BoxBounds()}));
    // Draws 0..6 make the pen and the brush; each box takes 8 draws.
    EXPECT_EQ(step.penColour, (ShapeColour{0, 1, 2}));
    EXPECT_EQ(step.penWidth, 1 + 3 % 3);
    EXPECT_EQ(step.brushColour, (ShapeColour{4, 5, 6}));
    EXPECT_FALSE(step.wipe);
    const std::vector<PlannedShape> expected = {
        {ShapeKind::FilledEllipse, {7, 8, 9, 10}},
        {ShapeKind::EllipseOutline, {7, 8, 9, 10}},
        {ShapeKind::RectangleOutline, {15, 16, 17, 18}},
        {ShapeKind::FilledEllipse, {23, 24, 25 + 100, 26 + 100}},
        {ShapeKind::FilledRectangle, {31, 32, 33, 34}},
    };
    EXPECT_EQ(step.shapes, expected);
    EXPECT_EQ(plan.StepCounter(), 1);
}

TEST(ScreenSaverPlan, OneKindAloneDrawsTwoShapesOfIt)
{
    struct Case {
        const char* name;
        ScreenSaverShapes shapes;
        std::vector<ShapeKind> kinds;
    };
    const Case cases[] = {
        {"rectangles only", {false, true}, {ShapeKind::RectangleOutline, ShapeKind::FilledRectangle}},
        {"ellipses only", {true, false},
            {ShapeKind::FilledEllipse, ShapeKind::EllipseOutline, ShapeKind::FilledEllipse}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CountingSource source;
        ScreenSaverPlan plan;
        const DrawingStep step = plan.NextStep(W, H, c.shapes, source.Numbers());
        EXPECT_EQ(source.bounds, Concat({Colours, {3}, Colours, BoxBounds(), BoxBounds()}));
        std::vector<ShapeKind> kinds;
        for (const PlannedShape& s : step.shapes)
            kinds.push_back(s.kind);
        EXPECT_EQ(kinds, c.kinds);
        // The second box is drawn after the first one's 8 numbers.
        EXPECT_EQ(step.shapes.back().box.left, 15);
    }
}

TEST(ScreenSaverPlan, TheTwentyFirstStepWipesWithANewBrushAndCountingStartsAgain)
{
    CountingSource source;
    ScreenSaverPlan plan;
    const RandomNumbers numbers = source.Numbers();
    for (int i = 1; i <= 20; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FALSE(plan.NextStep(W, H, {true, true}, numbers).wipe);
        EXPECT_EQ(plan.StepCounter(), i);
    }
    source.bounds.clear();
    const int first = source.next;
    const DrawingStep wiping = plan.NextStep(W, H, {true, true}, numbers);
    EXPECT_TRUE(wiping.wipe);
    EXPECT_EQ(plan.StepCounter(), 0);
    // The new brush is drawn after the first one, before the shape boxes.
    EXPECT_EQ(
        source.bounds, Concat({Colours, {3}, Colours, Colours, BoxBounds(), BoxBounds(), BoxBounds(), BoxBounds()}));
    EXPECT_EQ(wiping.penColour, (ShapeColour{first % 255, (first + 1) % 255, (first + 2) % 255}));
    EXPECT_EQ(wiping.brushColour, (ShapeColour{(first + 7) % 255, (first + 8) % 255, (first + 9) % 255}));
    EXPECT_EQ(wiping.shapes.front().box.left, first + 10);

    // The next wipe comes 21 steps later again.
    for (int i = 1; i <= 20; ++i)
        EXPECT_FALSE(plan.NextStep(W, H, {true, true}, numbers).wipe);
    EXPECT_TRUE(plan.NextStep(W, H, {true, true}, numbers).wipe);
}

TEST(ScreenSaverPlan, ResetPutsTheNextWipeTwentyOneStepsAway)
{
    CountingSource source;
    ScreenSaverPlan plan;
    const RandomNumbers numbers = source.Numbers();
    for (int i = 0; i < 15; ++i)
        plan.NextStep(W, H, {false, true}, numbers);
    plan.Reset();
    EXPECT_EQ(plan.StepCounter(), 0);
    for (int i = 1; i <= 20; ++i)
        EXPECT_FALSE(plan.NextStep(W, H, {false, true}, numbers).wipe) << i;
    EXPECT_TRUE(plan.NextStep(W, H, {false, true}, numbers).wipe);
}

TEST(ScreenSaverPlan, ShapeBoxesStayInsideTheScreenAtTheirTopLeft)
{
    QRandomGenerator generator(7);
    const RandomNumbers numbers = [&](int bound) { return static_cast<int>(generator.bounded(bound)); };
    ScreenSaverPlan plan;
    for (int i = 0; i < 200; ++i) {
        const DrawingStep step = plan.NextStep(640, 480, {true, true}, numbers);
        EXPECT_GE(step.penWidth, 1);
        EXPECT_LE(step.penWidth, 3);
        for (const ShapeColour& c : {step.penColour, step.brushColour})
            for (int v : {c.red, c.green, c.blue}) {
                EXPECT_GE(v, 0);
                EXPECT_LE(v, 254);
            }
        for (const PlannedShape& s : step.shapes) {
            EXPECT_GE(s.box.left, 0);
            EXPECT_LT(s.box.left, 640);
            EXPECT_GE(s.box.top, 0);
            EXPECT_LT(s.box.top, 480);
            EXPECT_LE(s.box.width, 299);
            EXPECT_LE(s.box.height, 299);
        }
    }
}

// A generator seeded with 12345, as the window tests' platform is: the first
// two steps and the wiping 21st step on a 1280 x 1024 screen.
TEST(ScreenSaverPlan, SeededGeneratorGivesTheseSteps)
{
    QRandomGenerator generator(12345);
    const RandomNumbers numbers = [&](int bound) { return static_cast<int>(generator.bounded(bound)); };
    ScreenSaverPlan plan;
    std::vector<DrawingStep> steps;
    for (int i = 0; i < 21; ++i)
        steps.push_back(plan.NextStep(W, H, {true, true}, numbers));

    struct Expected {
        int index;
        ShapeColour pen;
        int width;
        ShapeColour brush;
        bool wipe;
        std::vector<PlannedShape> shapes;
    };
    const Expected expected[] = {
        {0, {143, 216, 148}, 1, {242, 3, 220}, false,
            {{ShapeKind::FilledEllipse, {251, 301, 13, 73}}, {ShapeKind::EllipseOutline, {251, 301, 13, 73}},
                {ShapeKind::RectangleOutline, {795, 693, 79, 184}}, {ShapeKind::FilledEllipse, {270, 994, 115, 230}},
                {ShapeKind::FilledRectangle, {1149, 999, 43, 73}}}},
        {1, {142, 81, 95}, 3, {158, 150, 19}, false,
            {{ShapeKind::FilledEllipse, {1051, 36, 169, 186}}, {ShapeKind::EllipseOutline, {1051, 36, 169, 186}},
                {ShapeKind::RectangleOutline, {715, 304, 63, 173}}, {ShapeKind::FilledEllipse, {1239, 389, 183, 286}},
                {ShapeKind::FilledRectangle, {514, 260, 183, 199}}}},
        {20, {115, 183, 204}, 3, {243, 143, 75}, true,
            {{ShapeKind::FilledEllipse, {1157, 230, 165, 179}}, {ShapeKind::EllipseOutline, {1157, 230, 165, 179}},
                {ShapeKind::RectangleOutline, {857, 838, 193, 185}}, {ShapeKind::FilledEllipse, {405, 814, 230, 292}},
                {ShapeKind::FilledRectangle, {60, 845, 172, 100}}}},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.index + 1);
        const DrawingStep& s = steps[static_cast<size_t>(e.index)];
        EXPECT_EQ(s.penColour, e.pen);
        EXPECT_EQ(s.penWidth, e.width);
        EXPECT_EQ(s.brushColour, e.brush);
        EXPECT_EQ(s.wipe, e.wipe);
        EXPECT_EQ(s.shapes, e.shapes);
    }
    for (int i = 2; i < 20; ++i)
        EXPECT_FALSE(steps[static_cast<size_t>(i)].wipe) << i;
}
