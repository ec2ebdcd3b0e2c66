// Long work over many items (cards, lines): the wait window's caption moves
// at a rate a person can read, not once per item (every caption is a request
// to the window system), and a loop that allows it processes pending events
// after each item and ends when Esc is held down.
#pragma once

#include <QElapsedTimer>
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

    // Before an item: sets the caption that caption() makes when one is due,
    // always the first time. caption is called only then.
    void Caption(const std::function<QString()>& caption);

    // After an item: processes pending events; false when Esc is held down.
    bool Continue();

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
};
