// The start-up window, shown for a moment before the main window.
#pragma once

#include <QDialog>

class QTimer;

class TfrmAloitus : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAloitus(QWidget* parent = nullptr);

    QTimer* Timer1;  // closes the window once, after 2500 ms
};
