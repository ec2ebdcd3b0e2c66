// The small window shown while a card file is being opened.
#pragma once

#include "windows.h"

#include <QDialog>

class QLabel;

class TForm12 : public QDialog {
    Q_OBJECT
public:
    explicit TForm12(WindowContext& context);
    // Shows the window, not modally, centred on the given window.
    void ShowOver(QWidget* window);

    QLabel* Label1;
};
