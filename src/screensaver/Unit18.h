// The screen saver: a borderless black window over the whole screen on which
// a drawing step puts coloured ellipses and rectangles every 1500 ms. A click
// or a key that types a character ends it.
#pragma once

#include "screensaverplan.h"
#include "windows.h"

#include <QDialog>
#include <QImage>

class QPainter;
class QTimer;

class TSCRSaver : public QDialog {
    Q_OBJECT
public:
    explicit TSCRSaver(WindowContext& context);

    // Starts the screen saver on a fresh black screen with the drawing timer
    // on, as a modal window; returns when it has ended.
    void Run();
    // One drawing step (the timer's tick).
    void FormDblClick();

    // Paints step onto painter, whose surface covers area (the wipe fills it
    // all): anti-aliased, the pen with round caps.
    static void PaintStep(QPainter& painter, const DrawingStep& step, const QSize& area);

    // What has been drawn since the start; painting the window shows it.
    const QImage& Canvas() const { return canvas_; }
    int StepCounter() const { return plan_.StepCounter(); }

    QTimer* Timer1;  // the drawing timer, 1500 ms

public slots:
    // Every way the window closes ends here: the timer goes off and the step
    // counter back to 0.
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormClick();
    void FormKeyPress();
    void FormClose();
    void ClearCanvas();

    WindowContext& context_;
    Platform& platform_;
    ScreenSaverPlan plan_;
    QImage canvas_;
    bool pressed_ = false;
};
