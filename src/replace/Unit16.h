// The find and replace window: replaces a string by another in one field of
// every card in a range of order numbers, through the main window's editors.
#pragma once

#include "windows.h"

#include <QDialog>
#include <QString>

class FieldLine;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TForm16 : public QDialog {
    Q_OBJECT
public:
    explicit TForm16(WindowContext& context);

    // Opening from the main window (after it has stored its card): the range
    // boxes get the card shown and the last card, and the window is shown,
    // not modally, on top of the others.
    void ShowReplace();
    // "Replace all".
    void Button3Click();
    // "Close": hides the window; the boxes keep their texts.
    void Button4Click();

    QLabel* Label8;  // the note at the top
    QLabel* Label9;  // "Word"
    QLabel* Label1;  // "Find:"
    FieldLine* Edit1;  // find
    QLabel* Label2;  // "Replace:"
    FieldLine* Edit2;  // replacement
    QPushButton* Button3;
    QLabel* Label3;  // "Card index"
    QLabel* Label4;  // "The first"
    QLineEdit* Edit3;  // first order number
    QLabel* Label5;  // " - "
    QLabel* Label6;  // "The last"
    QLineEdit* Edit4;  // last order number
    QLabel* Label7;  // "Field"
    QComboBox* ComboBox1;
    QPushButton* Button4;
    QLabel* Label10;  // the notice shown while a run goes on

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class RunEnd { Completed, Interrupted };
    RunEnd ReplaceInCards(int first, int last, int cell, const QString& find, const QString& replacement, bool& found);
    bool IndexBoxKeyPress(QKeyEvent* key);

    WindowContext& context_;
    Platform& platform_;
    bool running_ = false;
    bool centred_ = false;  // centred again with its frame at the first opening
};
