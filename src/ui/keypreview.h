// What the windows that see keys and the mouse wheel before their controls
// share: the repeated delivery of one key press, the wheel counted in
// notches and the moves it makes, the controls that keep the wheel for
// themselves, and the key rules of an order number box.
#pragma once

#include "commandguard.h"

#include <QObject>
#include <QPoint>
#include <QWheelEvent>
#include <QtGlobal>
#include <vector>

class QAction;
class QKeyEvent;
class QWidget;

// A key press that a command's message box outlasted comes back to the
// window once more, with the time stamp of the first delivery, when no
// control had the focus after the message: it is the same press. A press
// delivered without a time stamp (a screen reader's bridge hands each key to
// the screen reader first and delivers a copy of it afterwards, timed 0) is
// never taken for the one before it: Tab, Tab is two presses.
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

// How a window's command keys meet the control that has the focus, in every
// window alike:
// - a key of one of the window's enabled entries (its menu entries and the
//   keys it has without an entry) runs that entry whatever control has the
//   focus, once, and goes no further: no editor takes it for its own editing
//   first (a one-line box would take Ctrl+E as "end of line");
// - a key that the window sees before its controls and runs as one of its
//   commands goes on to the focused control only when that control is a text
//   editor, which gives it its usual effect; a drop-down list, a number
//   spin, a check box, a radio button or a button does not get it.
bool TakesCommandKeysToo(const QWidget* control);
// The window that an entry or a control belongs to: its nearest ancestor
// that is a window of its own (a menu's entries belong to the menu's window).
const QWidget* OwnerWindow(const QObject* o);
// The entries of window: its menus' and its own, not those of the windows it
// parents.
std::vector<QAction*> WindowEntries(const QWidget* window);
// True when window has an enabled entry whose key is the key pressed.
bool WindowEntryTakes(const QWidget* window, const QKeyEvent* key);

// The first half of the rule, for the whole program: installed once on the
// application, it keeps the focused control from claiming a key that one of
// its window's entries has.
class WindowEntriesFirst : public QObject {
public:
    WindowEntriesFirst();
    ~WindowEntriesFirst() override;
    WindowEntriesFirst(const WindowEntriesFirst&) = delete;
    WindowEntriesFirst& operator=(const WindowEntriesFirst&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
