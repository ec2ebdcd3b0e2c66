// Every command the user starts runs inside RunCommand: an error that the
// command does not handle itself ends it here and its text is shown.
#pragma once

#include "generalerror.h"
#include "platform.h"

#include <exception>
#include <functional>
#include <utility>

// Told after every command has run (however it ended): the recovery copy of
// unsaved changes learns of changes so. One observer at a time; an empty
// function removes it.
void SetCommandObserver(std::function<void()> observer);
void NotifyCommandRan();

template <typename F> void RunCommand(Platform& platform, F&& command)
{
    try {
        std::forward<F>(command)();
    } catch (const GeneralError& e) {
        platform.Message(e.text(), MsgIcon::Error);
    } catch (const std::exception& e) {
        platform.Message(QString::fromLocal8Bit(e.what()), MsgIcon::Error);
    }
    NotifyCommandRan();
}
