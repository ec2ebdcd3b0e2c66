// The start-up window, shown for a moment before the main window.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QTimer;

class TfrmAloitus : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAloitus(QWidget* parent = nullptr);

    QTimer* Timer1;  // closes the window once, after 2500 ms

    QFrame* Panel1;
    QLabel* ProgramIcon;
    QLabel* Label1;  // "CARDOMO 0.5"
    QLabel* Label2;  // "Note Card Software"
    QLabel* Image1;  // the picture, 329 x 259
    QLabel* Label3;  // "beta"
    QLabel* Label4;  // the version
    QLabel* Label5;  // the maker

public slots:
    // Esc does not end the window early: only its timer closes it.
    void reject() override { }
};
