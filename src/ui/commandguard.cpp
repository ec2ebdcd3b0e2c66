#include "commandguard.h"

namespace {
std::function<void()>& Observer()
{
    static std::function<void()> observer;
    return observer;
}
}  // namespace

void SetCommandObserver(std::function<void()> observer)
{
    Observer() = std::move(observer);
}

void NotifyCommandRan()
{
    if (const std::function<void()>& observer = Observer())
        observer();
}
