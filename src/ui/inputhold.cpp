#include "inputhold.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

InputHold::InputHold(QWidget* window) : window_(window)
{
    QCoreApplication::instance()->installEventFilter(this);
}

InputHold::~InputHold()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

// True when receiver is the held window, one of its controls, or a popup or
// menu entry that hangs from it (a menu's parent is its menu bar). Windows
// of its own that it parents (dialogs, message boxes) are not held.
bool InputHold::Holds(QObject* receiver) const
{
    if (!window_)
        return false;
    QObject* o = receiver;
    if (auto* action = qobject_cast<QAction*>(receiver))
        o = action->parent();
    for (; o; o = o->parent()) {
        if (o == window_)
            return true;
        auto* w = qobject_cast<QWidget*>(o);
        if (w && w->isWindow() && w->windowType() != Qt::Popup)
            return false;
    }
    return false;
}

bool InputHold::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            return false;
        [[fallthrough]];
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
        if (Holds(watched)) {
            ++dropped_;
            return true;
        }
        return false;
    default:
        return false;
    }
}
