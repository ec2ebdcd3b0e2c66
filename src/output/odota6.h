// The wait window of a long listing (and of the listing's preview): it shows
// how far the work is and that Esc interrupts it.
#pragma once

#include "windows.h"

#include <QDialog>

class QLabel;

class TForm5 : public QDialog {
    Q_OBJECT
public:
    explicit TForm5(WindowContext& context);

    // Shows the window in the middle of the screen, drawn, without blocking
    // the caller.
    void ShowWait();
    // Closes it, once the keys pressed while it stood have come to it (the
    // user cannot close it: it has no close box, and Esc is left to the work
    // it interrupts).
    void CloseWait();

    QLabel* Label1;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};
