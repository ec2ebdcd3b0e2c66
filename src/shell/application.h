// The owner of the program's state and windows: creates them in the order
// of program start and hands each the context through which it reaches the
// others. It is every window's one owner: no window has a Qt parent, and
// the windows are destroyed in the reverse order of their creation. Tests
// build the program through it too.
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
class TForm1;
class TForm3;

// The windows as their owner knows them: what the windows see of each other,
// and the main window and the picked cards window themselves.
struct ProgramWindows : Windows {
    TForm1* form1 = nullptr;  // the main window
    TForm3* form3 = nullptr;  // picked cards
};

// The program's icon: from the SVG at every size where Qt's SVG reader is
// installed, from the 64 x 64 PNG elsewhere.
QIcon ProgramIcon();

class CardomoApplication {
public:
    explicit CardomoApplication(Platform& platform);
    ~CardomoApplication();

    // Program start: the start-up window, the main window, the other
    // windows, and once every window exists the main window's start-up steps
    // (args are the command-line arguments).
    // showSplash false leaves the start-up window out (tests, benchmarks).
    void Start(const QStringList& args, bool showSplash = true);

    CardStore store;
    PrintState print;
    WindowContext context;
    ProgramWindows windows() const { return {context.windows, form1_, form3_}; }

private:
    // A key of a window's entry runs it whatever control has the focus.
    WindowEntriesFirst entriesFirst_;
    // Every window, in the order of creation; destroyed in reverse.
    std::vector<std::unique_ptr<QWidget>> owned_;
    TForm1* form1_ = nullptr;
    TForm3* form3_ = nullptr;
    template <typename Window> Window* Create();
};
