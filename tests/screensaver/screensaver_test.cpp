// The screen saver and its options window, started from the Options menu.
#include "support/mainwindow_fixture.h"

#include "Unit18.h"
#include "Unit20.h"
#include "recordingdevice.h"
#include "screensaverplan.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <functional>

namespace {

const QString BothUnticked = QStringLiteral("Either or both of the Checkboxes must be selected");

class ScreenSaverTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        Start();
        saver = program->windows().screenSaver;
        options = program->windows().form20;
        ASSERT_NE(saver, nullptr);
        ASSERT_NE(options, nullptr);
    }

    // Starts the screen saver with Ctrl+Alt+N; while it is up, `during` runs
    // with the window shown. Answers whether the screen saver was the modal
    // window that ran.
    bool RunSaver(const std::function<void()>& during)
    {
        bool wasSaver = false;
        platform.modalHandler = [&](QDialog& dialog) {
            wasSaver = &dialog == saver;
            dialog.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
            during();
            if (dialog.isVisible())
                dialog.close();  // whatever the test left open
            return dialog.result();
        };
        // The main window has the focus again after an earlier run, as on a desktop.
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form, 2000));
        QTest::keyClick(form, Qt::Key_N, Qt::ControlModifier | Qt::AltModifier);
        platform.modalHandler = nullptr;
        return wasSaver;
    }

    // Opens the options window through its menu entry; `during` runs while it is up.
    void RunOptions(const std::function<void()>& during)
    {
        platform.modalHandler = [&](QDialog& dialog) {
            EXPECT_EQ(&dialog, options);
            dialog.show();
            during();
            dialog.hide();
            return dialog.result();
        };
        form->ScreenSaverOptions1->trigger();
        platform.modalHandler = nullptr;
    }

    // What the window should show after these steps from a black start, with
    // the numbers of a generator seeded with seed.
    QImage Expected(quint32 seed, int steps, ScreenSaverShapes shapes) const
    {
        QImage image(saver->Canvas().size(), QImage::Format_RGB32);
        image.fill(Qt::black);
        QRandomGenerator generator(seed);
        ScreenSaverPlan plan;
        QPainter painter(&image);
        for (int i = 0; i < steps; ++i)
            TSCRSaver::PaintStep(painter,
                plan.NextStep(image.width(), image.height(), shapes,
                    [&](int b) { return static_cast<int>(generator.bounded(b)); }),
                image.size());
        return image;
    }

    static bool AllBlack(const QImage& image)
    {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((image.pixel(x, y) & 0xffffff) != 0)
                    return false;
        return true;
    }

    TSCRSaver* saver = nullptr;
    TForm20* options = nullptr;
};

}  // namespace

TEST_F(ScreenSaverTest, WindowsLookAsTheyShould)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_FALSE(saver->isVisible());
    EXPECT_TRUE(saver->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(saver->geometry(), screen);
    EXPECT_EQ(saver->Canvas().size(), screen.size());
    EXPECT_TRUE(AllBlack(saver->Canvas()));
    EXPECT_EQ(saver->Timer1->interval(), 1500);
    EXPECT_FALSE(saver->Timer1->isActive());
    EXPECT_EQ(saver->StepCounter(), 0);

    EXPECT_FALSE(options->isVisible());
    EXPECT_EQ(options->windowTitle(), QStringLiteral("SCREEN SAVER Options - CARDOMO 0.5"));
    EXPECT_EQ(options->size(), QSize(271, 222));
    EXPECT_EQ(options->pos(), QPoint(400, 257));
    EXPECT_FALSE(options->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(options->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(options->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(options->Label1->text(), QStringLiteral("Choose what kind of graphic patterns Screensaver draws?"));
    EXPECT_EQ(options->Label1->geometry(), QRect(48, 24, 225, 50));
    EXPECT_TRUE(options->Label1->font().bold());
    EXPECT_TRUE(options->Label1->wordWrap());
    EXPECT_EQ(options->CheckBox1->text(), QStringLiteral("Ellipses"));
    EXPECT_EQ(options->CheckBox1->pos(), QPoint(88, 80));
    EXPECT_TRUE(options->CheckBox1->isChecked());
    EXPECT_EQ(options->CheckBox2->text(), QStringLiteral("Rectangles"));
    EXPECT_EQ(options->CheckBox2->pos(), QPoint(88, 112));
    EXPECT_TRUE(options->CheckBox2->isChecked());
    EXPECT_EQ(options->Button1->text(), QStringLiteral("OK"));
    EXPECT_EQ(options->Button1->geometry(), QRect(48, 152, 169, 25));
}

TEST_F(ScreenSaverTest, CtrlAltNRunsItModallyWithTheTimerOnUntilEscEndsIt)
{
    bool timerOn = false;
    bool visibleAfterArrow = false;
    const bool wasSaver = RunSaver([&] {
        timerOn = saver->Timer1->isActive();
        QTest::keyClick(saver, Qt::Key_Left);
        visibleAfterArrow = saver->isVisible();
        QTest::keyClick(saver, Qt::Key_Escape);
    });
    EXPECT_TRUE(wasSaver);
    EXPECT_TRUE(timerOn);
    EXPECT_TRUE(visibleAfterArrow);
    EXPECT_FALSE(saver->isVisible());
    EXPECT_FALSE(saver->Timer1->isActive());
    EXPECT_EQ(platform.modalRuns, 1);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ScreenSaverTest, KeysThatTypeACharacterEndItOthersDoNot)
{
    struct Case {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool ends;
    };
    const Case cases[] = {
        {"Esc", Qt::Key_Escape, Qt::NoModifier, true},
        {"Space", Qt::Key_Space, Qt::NoModifier, true},
        {"letter", Qt::Key_A, Qt::NoModifier, true},
        {"capital letter", Qt::Key_Q, Qt::ShiftModifier, true},
        {"digit", Qt::Key_7, Qt::NoModifier, true},
        {"Enter", Qt::Key_Return, Qt::NoModifier, true},
        {"Left", Qt::Key_Left, Qt::NoModifier, false},
        {"Right", Qt::Key_Right, Qt::NoModifier, false},
        {"Up", Qt::Key_Up, Qt::NoModifier, false},
        {"Down", Qt::Key_Down, Qt::NoModifier, false},
        {"F5", Qt::Key_F5, Qt::NoModifier, false},
        {"Shift", Qt::Key_Shift, Qt::ShiftModifier, false},
        {"Ctrl", Qt::Key_Control, Qt::ControlModifier, false},
        {"PageDown", Qt::Key_PageDown, Qt::NoModifier, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool visibleAfterKey = false;
        bool timerAfterKey = false;
        RunSaver([&] {
            QTest::keyClick(saver, c.key, c.modifiers);
            visibleAfterKey = saver->isVisible();
            timerAfterKey = saver->Timer1->isActive();
        });
        EXPECT_EQ(visibleAfterKey, !c.ends);
        EXPECT_EQ(timerAfterKey, !c.ends);
    }
}

TEST_F(ScreenSaverTest, AClickEndsItMovingTheMouseDoesNot)
{
    bool visibleAfterMove = false;
    bool visibleAfterClick = true;
    RunSaver([&] {
        QTest::mouseMove(saver, QPoint(200, 150));
        QTest::mouseMove(saver, QPoint(20, 30));
        visibleAfterMove = saver->isVisible();
        QTest::mouseClick(saver, Qt::LeftButton, {}, QPoint(300, 200));
        visibleAfterClick = saver->isVisible();
    });
    EXPECT_TRUE(visibleAfterMove);
    EXPECT_FALSE(visibleAfterClick);
    EXPECT_FALSE(saver->Timer1->isActive());
}

TEST_F(ScreenSaverTest, TheTimerDrawsStepsThatStayOnScreenWhenRepainted)
{
    platform.random.seed(2024);
    QImage afterFirstTick;
    QImage repainted;
    int counterAfterTick = 0;
    RunSaver([&] {
        // The real timer: the first step comes by itself.
        EXPECT_TRUE(QTest::qWaitFor([&] { return saver->StepCounter() == 1; }, 5000));
        counterAfterTick = saver->StepCounter();
        afterFirstTick = saver->Canvas();
        repainted = saver->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QTest::keyClick(saver, Qt::Key_Space);
    });
    EXPECT_EQ(counterAfterTick, 1);
    const QImage expected = Expected(2024, 1, {true, true});
    EXPECT_FALSE(AllBlack(expected));
    EXPECT_TRUE(afterFirstTick == expected);
    ASSERT_EQ(repainted.size(), expected.size());
    EXPECT_TRUE(repainted == expected);
    EXPECT_EQ(saver->StepCounter(), 0);
}

TEST_F(ScreenSaverTest, TheTwentyFirstStepWipesTheScreenBeforeItsShapes)
{
    platform.random.seed(99);
    QImage afterTwenty;
    QImage afterWipe;
    std::vector<int> counters;
    RunSaver([&] {
        for (int i = 0; i < 21; ++i) {
            saver->FormDblClick();
            counters.push_back(saver->StepCounter());
            if (i == 19)
                afterTwenty = saver->Canvas();
        }
        afterWipe = saver->Canvas();
        QTest::keyClick(saver, Qt::Key_Escape);
    });
    std::vector<int> expectedCounters;
    for (int i = 1; i <= 20; ++i)
        expectedCounters.push_back(i);
    expectedCounters.push_back(0);
    EXPECT_EQ(counters, expectedCounters);
    EXPECT_TRUE(afterTwenty == Expected(99, 20, {true, true}));
    EXPECT_TRUE(afterWipe == Expected(99, 21, {true, true}));

    // Only the 21st step's shapes remain after the wipe: painting that step
    // alone on black gives the same picture.
    QRandomGenerator generator(99);
    ScreenSaverPlan plan;
    const auto numbers = [&](int b) { return static_cast<int>(generator.bounded(b)); };
    for (int i = 0; i < 20; ++i)
        plan.NextStep(afterWipe.width(), afterWipe.height(), {true, true}, numbers);
    const DrawingStep wiping = plan.NextStep(afterWipe.width(), afterWipe.height(), {true, true}, numbers);
    ASSERT_TRUE(wiping.wipe);
    QImage alone(afterWipe.size(), QImage::Format_RGB32);
    alone.fill(Qt::darkGreen);  // the wipe must cover it all
    {
        QPainter painter(&alone);
        TSCRSaver::PaintStep(painter, wiping, alone.size());
    }
    EXPECT_TRUE(afterWipe == alone);
}

TEST_F(ScreenSaverTest, ANewStartBeginsBlackAndCountsTwentyOneStepsToTheWipe)
{
    RunSaver([&] {
        for (int i = 0; i < 5; ++i)
            saver->FormDblClick();
        QTest::mouseClick(saver, Qt::LeftButton, {}, QPoint(5, 5));
    });
    EXPECT_EQ(saver->StepCounter(), 0);

    bool blackAtStart = false;
    bool wipedBefore21 = false;
    int counterAfter21 = -1;
    RunSaver([&] {
        blackAtStart = AllBlack(saver->Canvas());
        for (int i = 0; i < 20; ++i) {
            saver->FormDblClick();
            wipedBefore21 = wipedBefore21 || saver->StepCounter() == 0;
        }
        saver->FormDblClick();
        counterAfter21 = saver->StepCounter();
        QTest::keyClick(saver, Qt::Key_Escape);
    });
    EXPECT_TRUE(blackAtStart);
    EXPECT_FALSE(wipedBefore21);
    EXPECT_EQ(counterAfter21, 0);
}

TEST_F(ScreenSaverTest, TheOptionsChooseTheShapesTheStepsDraw)
{
    struct Case {
        const char* name;
        bool untickEllipses;
        bool untickRectangles;
        ScreenSaverShapes shapes;
    };
    const Case cases[] = {
        {"rectangles only", true, false, {false, true}},
        {"ellipses only", false, true, {true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        options->CheckBox1->setChecked(true);
        options->CheckBox2->setChecked(true);
        RunOptions([&] {
            if (c.untickEllipses)
                QTest::mouseClick(options->CheckBox1, Qt::LeftButton);
            if (c.untickRectangles)
                QTest::mouseClick(options->CheckBox2, Qt::LeftButton);
            options->Button1->click();
            EXPECT_FALSE(options->isVisible());
        });
        platform.random.seed(7);
        QImage drawn;
        RunSaver([&] {
            saver->FormDblClick();
            saver->FormDblClick();
            drawn = saver->Canvas();
            QTest::keyClick(saver, Qt::Key_Escape);
        });
        EXPECT_TRUE(drawn == Expected(7, 2, c.shapes));
        EXPECT_FALSE(drawn == Expected(7, 2, {true, true}));
    }
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ScreenSaverTest, OptionsWindowStaysOpenWhileNeitherBoxIsTicked)
{
    std::vector<bool> visible;
    RunOptions([&] {
        QTest::mouseClick(options->CheckBox1, Qt::LeftButton);
        QTest::mouseClick(options->CheckBox2, Qt::LeftButton);
        options->Button1->click();
        visible.push_back(options->isVisible());
        options->close();  // the close box
        visible.push_back(options->isVisible());
        QTest::keyClick(options, Qt::Key_Escape);
        visible.push_back(options->isVisible());
        QTest::mouseClick(options->CheckBox2, Qt::LeftButton);
        options->Button1->click();
        visible.push_back(options->isVisible());
    });
    EXPECT_EQ(visible, (std::vector<bool>{true, true, true, false}));
    EXPECT_EQ(platform.Texts(), (QStringList{BothUnticked, BothUnticked, BothUnticked}));
    EXPECT_EQ(platform.messages[0].buttons, MsgButtons::Ok);

    // The choice lasts to the next opening; the close box closes it now.
    bool ellipses = true;
    bool rectangles = false;
    RunOptions([&] {
        ellipses = options->CheckBox1->isChecked();
        rectangles = options->CheckBox2->isChecked();
        options->close();
        EXPECT_FALSE(options->isVisible());
    });
    EXPECT_FALSE(ellipses);
    EXPECT_TRUE(rectangles);
    EXPECT_EQ(platform.messages.size(), 3u);
}

TEST(ScreenSaverPainting, ShapesArePaintedInOrderAntiAliasedWithRoundCaps)
{
    DrawingStep step;
    step.penColour = {10, 20, 30};
    step.penWidth = 3;
    step.brushColour = {200, 100, 50};
    step.wipe = true;
    step.shapes = {
        {ShapeKind::FilledEllipse, {5, 6, 70, 80}},
        {ShapeKind::EllipseOutline, {5, 6, 70, 80}},
        {ShapeKind::RectangleOutline, {100, 110, 20, 30}},
        {ShapeKind::FilledEllipse, {300, 310, 140, 150}},
        {ShapeKind::FilledRectangle, {400, 410, 0, 199}},
    };
    RecordingDevice device(QSize(640, 480));
    {
        QPainter painter(&device);
        TSCRSaver::PaintStep(painter, step, QSize(640, 480));
    }
    struct Expected {
        QString what;
        QRectF box;
        bool pen;  // the step's pen, else none
        bool brush;  // the step's brush, else none
    };
    const QColor black(0, 0, 0);
    const std::vector<Expected> expected = {
        {QStringLiteral("ellipse"), {5, 6, 70, 80}, false, true},
        {QStringLiteral("ellipse"), {5, 6, 70, 80}, true, false},
        {QStringLiteral("rect"), {100, 110, 20, 30}, true, false},
        {QStringLiteral("ellipse"), {300, 310, 140, 150}, false, true},
        {QStringLiteral("rect"), {400, 410, 0, 199}, false, true},
    };
    const std::vector<DrawCall>& calls = device.Calls();
    ASSERT_EQ(calls.size(), expected.size() + 1);
    // The wipe first: the whole area in opaque black, no outline.
    EXPECT_EQ(calls[0].what, QStringLiteral("rect"));
    EXPECT_EQ(calls[0].box, QRectF(0, 0, 640, 480));
    EXPECT_EQ(calls[0].pen.style(), Qt::NoPen);
    EXPECT_EQ(calls[0].brush.color(), black);
    EXPECT_EQ(calls[0].brush.style(), Qt::SolidPattern);
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        const DrawCall& call = calls[i + 1];
        const Expected& e = expected[i];
        EXPECT_EQ(call.what, e.what);
        EXPECT_EQ(call.box, e.box);
        EXPECT_TRUE(call.antialiased);
        if (e.pen) {
            EXPECT_EQ(call.pen.style(), Qt::SolidLine);
            EXPECT_EQ(call.pen.color(), QColor(10, 20, 30));
            EXPECT_EQ(call.pen.color().alpha(), 255);
            EXPECT_EQ(call.pen.width(), 3);
            EXPECT_EQ(call.pen.capStyle(), Qt::RoundCap);
        } else {
            EXPECT_EQ(call.pen.style(), Qt::NoPen);
        }
        if (e.brush) {
            EXPECT_EQ(call.brush.style(), Qt::SolidPattern);
            EXPECT_EQ(call.brush.color(), QColor(200, 100, 50));
            EXPECT_EQ(call.brush.color().alpha(), 255);
        } else {
            EXPECT_EQ(call.brush.style(), Qt::NoBrush);
        }
    }
}

TEST(ScreenSaverPainting, AStepWithoutWipeLeavesWhatWasDrawn)
{
    DrawingStep step;
    step.penColour = {1, 2, 3};
    step.brushColour = {250, 250, 0};
    step.shapes = {{ShapeKind::FilledRectangle, {10, 10, 20, 20}}};
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 255));
    {
        QPainter painter(&image);
        TSCRSaver::PaintStep(painter, step, image.size());
    }
    EXPECT_EQ(image.pixelColor(20, 20), QColor(250, 250, 0));
    EXPECT_EQ(image.pixelColor(80, 80), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(5, 5), QColor(0, 0, 255));
}
