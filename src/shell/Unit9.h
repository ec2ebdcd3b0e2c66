// The manual viewer.
#pragma once

#include "windows.h"

#include <QMainWindow>

class QAction;
class QMenu;
class QTextEdit;

class TForm9 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm9(WindowContext& context);

    // Loads the RTF file at path into the viewer, replacing what it held, and
    // shows the window, not modally. A file that cannot be read raises the
    // general error report and changes nothing.
    void ShowManual(const QString& path);
    // "Close" and Esc: the window closes and its viewer is emptied.
    void Sulje1Click();

    QTextEdit* RichEdit1;
    QMenu* Lomake1;
    QAction* Sulje1;
};
