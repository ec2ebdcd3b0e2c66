#include "longwork.h"

#include "platform.h"

#include <QWidget>

LongWork::LongWork(Platform& platform, QWidget* waitWindow) : platform_(platform), waitWindow_(waitWindow) { }

LongWork::~LongWork()
{
    if (drawn_)
        drawn_->setUpdatesEnabled(true);  // draws it once more as it now stands
}

void LongWork::DrawAtReadableRate(QWidget* widget, std::function<void()> beforeDraw)
{
    if (drawn_)
        drawn_->setUpdatesEnabled(true);
    drawn_ = widget;
    beforeDraw_ = std::move(beforeDraw);
    sinceDrawn_.invalidate();
    if (drawn_)
        drawn_->setUpdatesEnabled(false);
}

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
    if (drawn_ && (!sinceDrawn_.isValid() || sinceDrawn_.elapsed() >= CaptionIntervalMs)) {
        if (beforeDraw_)
            beforeDraw_();
        drawn_->setUpdatesEnabled(true);  // asks for a drawing of the whole widget
        platform_.ProcessEvents();
        if (drawn_)
            drawn_->setUpdatesEnabled(false);
        sinceDrawn_.start();
    } else {
        platform_.ProcessEvents();
    }
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
