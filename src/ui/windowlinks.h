// What the other windows reach of the main window and of the picked cards
// window: the window itself, its field editors and a few of its commands,
// as handles that the window fills in about itself. The program's start-up
// object puts them into the window context once every window exists, so
// that no other window needs the main window's or the picked cards window's
// own header, nor calls into it by name.
#pragma once

#include <functional>

struct CardFieldEditors;
class DeferredCardView;
class QMainWindow;
class QWidget;

struct MainWindowLink {
    // The main window itself: the other windows hide it, hold it off and
    // bring it back around their own runs, and take its screen and frame.
    QMainWindow* window = nullptr;
    // Its card area's field editors.
    CardFieldEditors* editors = nullptr;
    // Writes what the field editors hold into card CurrentCard.
    std::function<void()> storeShownCard;
    // Shows card CurrentCard in the field editors.
    std::function<void()> showCard;
    // While a run over many cards defers what the editors show
    // (deferredview.h), show and store ask it first; nullptr ends that.
    std::function<void(DeferredCardView*)> deferView;
};

struct PickedWindowLink {
    QWidget* window = nullptr;
    // Shows row CurrentPicked and runs the window modally until it is closed.
    std::function<void()> showPicked;
    // Shows row CurrentPicked of the picked set.
    std::function<void()> showCard;
};
