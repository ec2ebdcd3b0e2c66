// Long work over many items (cards, lines): the wait window's caption moves
// at a rate a person can read, not once per item (every caption is a request
// to the window system), and a loop that allows it processes pending events
// after each item and ends when Esc is held down.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <functional>

class Platform;
class QWidget;

class LongWork {
public:
    // The shortest time between two captions.
    static constexpr int CaptionIntervalMs = 100;

    // waitWindow, when given, gets the captions; showing and closing it is
    // the caller's business.
    LongWork(Platform& platform, QWidget* waitWindow);
    ~LongWork();
    LongWork(const LongWork&) = delete;
    LongWork& operator=(const LongWork&) = delete;

    // Before an item: sets the caption that caption() makes when one is due,
    // always the first time. caption is called only then.
    void Caption(const std::function<QString()>& caption);

    // After an item: processes pending events; false when Esc is held down.
    bool Continue();

    // For work that changes what a window shows item by item (a card shown
    // per item): widget, and every control on it, is drawn only at a
    // readable rate, at most once per CaptionIntervalMs at a Continue(), the
    // first Continue() included, instead of after every item. Drawing is what
    // would cost most per item, and on a real display each drawing is a
    // request to the window system. Input and the other windows are
    // processed at every Continue() as usual. Normal drawing comes back when
    // the LongWork ends. beforeDraw, when given, runs just before each
    // drawing (to bring what the widget shows up to date).
    void DrawAtReadableRate(QWidget* widget, std::function<void()> beforeDraw = {});

    // Items 0 to count - 1: caption(i) when due, then item(i), then events
    // and the Esc test. Returns how many items were done.
    int Run(int count, const std::function<QString(int)>& caption, const std::function<void(int)>& item);

    // How many captions were set.
    int CaptionsSet() const { return captions_; }

private:
    Platform& platform_;
    QWidget* waitWindow_;
    QElapsedTimer sinceCaption_;
    int captions_ = 0;
    QPointer<QWidget> drawn_;
    std::function<void()> beforeDraw_;
    QElapsedTimer sinceDrawn_;
};
