// The window that finds text in the Memo of the main window.
#pragma once

#include <QDialog>

#include "windows.h"

class QLabel;
class QLineEdit;
class QPushButton;

class TForm15 : public QDialog {
    Q_OBJECT
public:
    // Finds in the Memo of the main window.
    explicit TForm15(WindowContext& context);

    // Shows the window, not modally, with the focus in its text box.
    void ShowFind();
    // Find Next: the next occurrence of the text to find after the Memo's
    // selection, selected for a moment, then the caret after it.
    void Button1Click();

    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* Button1;
    QPushButton* Button2;

private:
    WindowContext& context_;
    Platform& platform_;
};
