// What the windows that see keys and the mouse wheel before their controls
// share: the repeated delivery of one key press, the wheel counted in
// notches and the moves it makes, the controls that keep the wheel for
// themselves, and the key rules of an order number box.
#pragma once

#include "commandguard.h"

#include <QPoint>
#include <QWheelEvent>
#include <QtGlobal>
#include <vector>

class QKeyEvent;
class QWidget;

// A key press that a command's message box outlasted comes back to the
// window once more, with the time stamp of the first delivery, when no
// control had the focus after the message: it is the same press.
class RepeatedKeyFilter {
public:
    // True for the same press delivered again; any other press is remembered.
    bool Repeated(const QKeyEvent* key);

private:
    quint64 timestamp_ = 0;
    int key_ = 0;
    Qt::KeyboardModifiers modifiers_;
};

// The wheel in whole notches of 120 units; smaller movements add up.
class WheelNotches {
public:
    // The notches that the movement completes: positive up, negative down.
    int Add(int delta);

private:
    int rest_ = 0;
};

// Moves by the wheel: each notch that the event completes runs back once
// when turned up and forward once when turned down, all as one command.
template <class Back, class Forward>
void MoveByWheel(Platform& platform, WheelNotches& wheel, const QWheelEvent* event, Back back, Forward forward)
{
    const int notches = wheel.Add(event->angleDelta().y());
    RunCommand(platform, [notches, &back, &forward] {
        for (int n = 0; n < notches; ++n)
            back();
        for (int n = 0; n > notches; --n)
            forward();
    });
}

// Whether the control of window under the global position, or a control
// that holds it, is one of owners.
bool OverAnyOf(QWidget* window, QPoint global, const std::vector<QWidget*>& owners);

// An order number box takes the digits 0 to 9 and Backspace, Enter runs its
// command (and is not typed), and every other character is dropped, also a
// paste from the keyboard; keys that type nothing (arrows, Delete) pass.
enum class NumberBoxKey { Pass, Drop, Enter };
NumberBoxKey OrderNumberKey(const QKeyEvent* key);
