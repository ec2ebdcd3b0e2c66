// The screen saver's options window: which kinds of shape it draws.
#pragma once

#include "screensaverplan.h"
#include "windows.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

class TForm20 : public QDialog {
    Q_OBJECT
public:
    explicit TForm20(WindowContext& context);

    // "OK": closes the window when at least one box is ticked.
    void Button1Click();
    // The kinds of shape the screen saver draws now.
    ScreenSaverShapes Shapes() const;

    QLabel* Label1;
    QCheckBox* CheckBox1;  // "Ellipses"
    QCheckBox* CheckBox2;  // "Rectangles"
    QPushButton* Button1;

public slots:
    // The close box and Esc: the window stays open while no box is ticked.
    void reject() override;

private:
    // Shows the message and answers false when neither box is ticked.
    bool ChoiceMade();

    Platform& platform_;
};
