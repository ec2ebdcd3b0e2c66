// The card filtering window: narrows the picked set to a range of its order
// numbers.
#pragma once

#include "rangedialog.h"
#include "windows.h"

class TForm13 : public OrderRangeDialog {
    Q_OBJECT
public:
    explicit TForm13(WindowContext& context);

    // Runs the window modally over the picked cards window (its Tools,
    // "Filter cards in order"). The boxes hold what they held when it last
    // closed.
    void ShowFiltering();

protected:
    // "&Filter": the checks in order, then the filter; the window closes and
    // the picked cards window shows the last card of the new set.
    void Button1Click() override;

private:
    WindowContext& context_;
};
