// Who owns the windows: the program's start-up object alone. No window has
// a Qt parent that would delete it a second time, the dialogs and viewers
// still stand in front of the window they belong to, and taking the program
// down leaves no window behind.
#include "Preview.h"
#include "Unit10.h"
#include "Unit11.h"
#include "Unit12.h"
#include "Unit13.h"
#include "Unit15.h"
#include "Unit16.h"
#include "Unit17.h"
#include "Unit18.h"
#include "Unit19.h"
#include "Unit20.h"
#include "Unit9.h"
#include "application.h"
#include "frm2uusi6.h"
#include "frmAbout6.h"
#include "odota6.h"
#include "ohje6.h"
#include "poiminta6.h"
#include "scriptedplatform.h"
#include "uusi6.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

struct NamedWindow {
    const char* name;
    QWidget* window;
    QWidget* owner;  // the window it stands in front of; nullptr: none
};

// Every window the program creates, with the window it belongs to.
std::vector<NamedWindow> AllWindows(const ProgramWindows& w)
{
    QWidget* main = w.form1;
    return {
        {"main window", w.form1, nullptr},
        {"preview", w.preview, nullptr},
        {"listing", w.form2, nullptr},
        {"picked cards", w.form3, main},
        {"wait window of listings", w.form5, nullptr},
        {"About", w.form6, main},
        {"quick manual", w.form8, main},
        {"manual", w.form9, main},
        {"field selection", w.form10, nullptr},
        {"picking by order number", w.form11, main},
        {"find in the Memo", w.form15, main},
        {"find and replace", w.form16, main},
        {"find in a listing", w.form17, w.form2},
        {"filtering by order number", w.form13, main},
        {"wait window of Open", w.form12, main},
        {"screen saver", w.screenSaver, main},
        {"licence", w.form19, main},
        {"screen saver options", w.form20, main},
    };
}

}  // namespace

TEST(WindowOwnership, EveryWindowHasTheProgramAsItsOnlyOwnerAndGoesWithIt)
{
    ScriptedPlatform platform;
    const qsizetype windowsBefore = QApplication::topLevelWidgets().size();
    auto program = std::make_unique<CardomoApplication>(platform);
    program->Start({}, false);
    const std::vector<NamedWindow> windows = AllWindows(program->windows());
    std::vector<QPointer<QWidget>> alive;
    for (const NamedWindow& w : windows) {
        SCOPED_TRACE(w.name);
        ASSERT_NE(w.window, nullptr);
        EXPECT_EQ(w.window->parent(), nullptr);
        EXPECT_TRUE(w.window->isWindow());
        alive.emplace_back(w.window);
    }
    program->store.FileOpen = false;  // lets the windows close
    program.reset();
    for (size_t i = 0; i < windows.size(); ++i)
        EXPECT_TRUE(alive[i].isNull()) << windows[i].name;
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windowsBefore);
}

TEST(WindowOwnership, TheDialogsAndViewersStandInFrontOfTheWindowTheyBelongTo)
{
    ScriptedPlatform platform;
    CardomoApplication program(platform);
    program.Start({}, false);
    const ProgramWindows all = program.windows();
    // The listing window is on the screen whenever its find window is.
    all.form2->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(all.form2));
    for (const NamedWindow& w : AllWindows(all)) {
        if (!w.owner)
            continue;
        SCOPED_TRACE(w.name);
        w.window->show();
        ASSERT_NE(w.window->windowHandle(), nullptr);
        EXPECT_EQ(w.window->windowHandle()->transientParent(), w.owner->windowHandle());
        w.window->hide();
    }
    all.form2->hide();
    program.store.FileOpen = false;
}
