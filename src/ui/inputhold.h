// Holds off the user's input to a window while long work runs over what that
// window shows and lets events through after each item: the window keeps
// drawing and moving, but its key presses, mouse clicks, wheel turns and
// shortcuts (its menus' included) are dropped until the hold ends. Esc is
// never dropped, so that holding it down still ends the work; other windows
// (a message box the work shows, the window that started the work) keep
// their input.
#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

class InputHold : public QObject {
public:
    explicit InputHold(QWidget* window);
    ~InputHold() override;
    InputHold(const InputHold&) = delete;
    InputHold& operator=(const InputHold&) = delete;

    // How many input events were dropped.
    int Dropped() const { return dropped_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Holds(QObject* receiver) const;
    QPointer<QWidget> window_;
    int dropped_ = 0;
};
