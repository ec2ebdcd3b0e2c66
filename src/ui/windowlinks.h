// What the other windows reach of the main window and of the picked cards
// window. The two windows implement these; the program's start-up object
// puts them into the window context once every window exists, so that no
// other window needs the main window's or the picked cards window's own
// header.
#pragma once

struct CardFieldEditors;
class DeferredCardView;
class QMainWindow;
class QString;
class QWidget;

class MainWindowLink {
public:
    // The main window itself: the other windows hide it, hold it off and
    // bring it back around their own runs, and take its screen and frame.
    virtual QMainWindow& Window() = 0;
    // Writes what the field editors hold into card CurrentCard.
    virtual void StoreShownCard() = 0;
    // Shows card CurrentCard in the field editors.
    virtual void ShowCard() = 0;
    // The hint switch ("Show Hints"): a control of another window whose hint
    // the switch turns off and on.
    virtual void AddSwitchedHint(QWidget* control, const QString& hint) = 0;
    virtual bool HintsShown() const = 0;
    // The card area's field editors.
    virtual CardFieldEditors& Editors() = 0;
    // While a run over many cards defers what the editors show
    // (deferredview.h), show and store ask it first; nullptr ends that.
    virtual void SetDeferredView(DeferredCardView* view) = 0;

protected:
    ~MainWindowLink() = default;
};

class PickedWindowLink {
public:
    // Shows row CurrentPicked and runs the window modally until it is closed.
    virtual void ShowPicked() = 0;
    // Shows row CurrentPicked of the picked set.
    virtual void ShowCard() = 0;

protected:
    ~PickedWindowLink() = default;
};
