// The window that finds a word in the text of the listing window.
#pragma once

#include <QDialog>

#include "windows.h"

class QLabel;
class QLineEdit;
class QPushButton;

class TForm17 : public QDialog {
    Q_OBJECT
public:
    // Finds in the text area of the listing window. It is a window of the
    // listing window's (placement.h), so that it stays usable beside the
    // modal listing window.
    explicit TForm17(WindowContext& context);

    // Shows the window, not modally, with the focus in its text box.
    void ShowFind();
    // Find Next: the next occurrence of the text to find after the listing's
    // selection, selected for a moment, then the caret after it.
    void Button1Click();

    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* Button1;
    QPushButton* Button2;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WindowContext& context_;
    Platform& platform_;
};
