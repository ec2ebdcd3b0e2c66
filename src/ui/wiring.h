// How every window wires a button, a menu entry or a key to its handler: the
// handler runs inside RunCommand, so an error it does not handle itself ends
// it with a message box and never crosses Qt's event loop.
#pragma once

#include "commandguard.h"

#include <QAbstractButton>
#include <QAction>
#include <QKeySequence>
#include <QWidget>
#include <type_traits>
#include <utility>

template <typename Sender, typename F> void Wire(Sender* sender, Platform& platform, F command)
{
    static_assert(
        std::is_base_of_v<QAbstractButton, Sender> || std::is_base_of_v<QAction, Sender>, "a button or a menu entry");
    auto run = [&platform, command] { RunCommand(platform, command); };
    if constexpr (std::is_base_of_v<QAbstractButton, Sender>)
        QObject::connect(sender, &QAbstractButton::clicked, sender, run);
    else
        QObject::connect(sender, &QAction::triggered, sender, run);
}

template <typename Sender, typename Window>
void Wire(Sender* sender, Platform& platform, Window* window, void (Window::*handler)())
{
    Wire(sender, platform, [window, handler] { (window->*handler)(); });
}

// A key of a window that has no menu entry of its own.
template <typename F> QAction* WireKey(QWidget* window, const QKeySequence& keys, Platform& platform, F command)
{
    auto* action = new QAction(window);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    window->addAction(action);
    Wire(action, platform, std::move(command));
    return action;
}
