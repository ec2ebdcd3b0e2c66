// The licence text window.
#pragma once

#include "windows.h"

#include <QMainWindow>

class QAction;
class QMenu;
class QPlainTextEdit;

class TForm19 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm19(WindowContext& context);

    // Shows the window, not modally.
    void ShowLicence();
    // "&Close  ESC" and Esc.
    void Sulje1Click();

    QPlainTextEdit* Memo1;
    QMenu* Lomake1;
    QAction* Sulje1;
};
