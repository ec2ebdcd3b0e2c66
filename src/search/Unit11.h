// The card picking window: picks the cards of a range of order numbers into
// the picked set and opens the picked cards window on it.
#pragma once

#include "rangedialog.h"
#include "windows.h"

class TForm11 : public OrderRangeDialog {
    Q_OBJECT
public:
    explicit TForm11(WindowContext& context);

    // Runs the window modally over the main window (Tools, "Pick Cards in
    // Order"). The boxes hold what they held when it last closed.
    void ShowPicking();

protected:
    // "&Pick": the checks in order, then the pick; the window closes when
    // the picked cards window has closed.
    void Button1Click() override;

private:
    WindowContext& context_;
};
