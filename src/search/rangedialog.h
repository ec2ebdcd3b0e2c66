// The small window of the range pick and the range filter: a heading, two
// order number boxes with their labels, the command button and the close
// button. Keys: Esc anywhere presses the close button; in a box, Enter
// presses the command button and only digits and Backspace are typed.
#pragma once

#include <QDialog>

class Platform;
class QLabel;
class QLineEdit;
class QPushButton;

class OrderRangeDialog : public QDialog {
    Q_OBJECT
public:
    struct Texts {
        QString caption;
        QString heading;
        QString firstLabel;  // above the first box
        QString lastLabel;  // above the last box
        QString startLabel;  // below the first box
        QString endLabel;  // below the last box
        QString between;  // between the boxes, or empty for none
        QString firstHint;
        QString lastHint;
        QString command;  // the command button's caption
        QString close;  // the close button's caption
    };

    OrderRangeDialog(const Texts& texts, Platform& platform);

    QLabel* Label1;  // heading
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;  // "to", absent in a window without it
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QPushButton* Button1;  // the command
    QPushButton* Button2;  // empties both boxes and closes

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The command button's work; runs inside the command guard.
    virtual void Button1Click() = 0;
    void Button2Click();

    Platform& platform_;
};
