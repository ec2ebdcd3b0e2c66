#include "longwork.h"

#include "platform.h"

#include <QWidget>

LongWork::LongWork(Platform& platform, QWidget* waitWindow) : platform_(platform), waitWindow_(waitWindow) {}

void LongWork::Caption(const std::function<QString()>& caption)
{
    if (!waitWindow_ || (sinceCaption_.isValid() && sinceCaption_.elapsed() < CaptionIntervalMs))
        return;
    waitWindow_->setWindowTitle(caption());
    sinceCaption_.start();
    ++captions_;
}

bool LongWork::Continue()
{
    platform_.ProcessEvents();
    return !platform_.EscHeld();
}

int LongWork::Run(int count, const std::function<QString(int)>& caption, const std::function<void(int)>& item)
{
    for (int i = 0; i < count; ++i) {
        Caption([&] { return caption(i); });
        item(i);
        if (!Continue())
            return i + 1;
    }
    return count;
}
