// The owner of the program's state and windows: creates them in the order
// of program start and hands each the context through which it reaches the
// others. Tests build the program through it too.
#pragma once

#include "cardstore.h"
#include "keypreview.h"
#include "printstate.h"
#include "windows.h"

#include <QIcon>
#include <QStringList>
#include <memory>
#include <vector>

class QWidget;

// The program's icon: from the SVG at every size where Qt's SVG reader is
// installed, from the 64 x 64 PNG elsewhere.
QIcon ProgramIcon();

class CardomoApplication {
public:
    explicit CardomoApplication(Platform& platform);
    ~CardomoApplication();

    // Program start: the start-up window, the main window with its start-up
    // steps (args are the command-line arguments), then the other windows.
    // showSplash false leaves the start-up window out (tests, benchmarks).
    void Start(const QStringList& args, bool showSplash = true);

    CardStore store;
    PrintState print;
    WindowContext context;
    const Windows& windows() const { return context.windows; }

private:
    // A key of a window's entry runs it whatever control has the focus.
    WindowEntriesFirst entriesFirst_;
    // Every window, in the order of creation; destroyed in reverse.
    std::vector<std::unique_ptr<QWidget>> owned_;
    template <typename Window>
    Window* Create();
};
