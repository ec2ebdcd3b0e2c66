// The program with a card file open, and what a listing command showed in
// the listing window while it was open.
#pragma once

#include "support/mainwindow_fixture.h"

#include "Unit10.h"
#include "Unit17.h"
#include "frm2uusi6.h"
#include "listingtext.h"
#include "odota6.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

// The listing window as the command showed it, taken inside its modal display.
struct ShownListing {
    QString text;
    QString caption;
    int caret = -1;
    bool mainVisible = true;
    bool mainEnabled = true;
    bool waitVisible = false;
    bool findVisible = false;
    bool pickedWindowActive = false;
};

class ListingTest : public MainWindowTest {
protected:
    TForm2* Listing() const { return program->windows().form2; }
    TForm5* Wait() const { return program->windows().form5; }
    TForm10* Selection() const { return program->windows().form10; }
    TForm17* Find() const { return program->windows().form17; }

    // Each modal display of the listing window is recorded in shown; then
    // during (when given) acts inside it, with the window shown and active.
    // The display ends when during returns (the command closes the window if
    // during did not).
    void OnListing(std::function<void(TForm2&)> during = {})
    {
        platform.modalHandler = [this, during](QDialog& dialog) {
            EXPECT_EQ(&dialog, static_cast<QDialog*>(Listing()));
            shown.push_back(Seen());
            if (during) {
                Activate(Listing());
                during(*Listing());
            }
            return 0;
        };
    }

    ShownListing Seen() const
    {
        ShownListing s;
        s.text = Listing()->ListingText();
        s.caption = Listing()->windowTitle();
        s.caret = Listing()->memoLISTAUS->textCursor().position();
        s.mainVisible = form->isVisible();
        s.mainEnabled = form->isEnabled();
        s.waitVisible = Wait()->isVisible();
        s.findVisible = form15->isVisible();
        s.pickedWindowActive = store().PickedWindowActive;
        return s;
    }

    static void Activate(QWidget* window)
    {
        window->show();
        window->activateWindow();
        if (!WaitActive(window, 200) && !QApplication::activeWindow()
            && QGuiApplication::focusWindow() == window->windowHandle()) {
            // The offscreen platform leaves the focus on a window hidden and
            // shown again and so never activates it anew; a display does.
            QT_WARNING_PUSH
            QT_WARNING_DISABLE_DEPRECATED
            QApplication::setActiveWindow(window);
            QT_WARNING_POP
        }
        EXPECT_TRUE(WaitActive(window));
    }
    // A dialog shares its parent's activation, so that isActiveWindow() is
    // true before it has the keyboard: this waits for the keyboard.
    static bool WaitActive(QWidget* window, int ms = 2000)
    {
        return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }, ms);
    }

    // The main window active again after a listing, for the next keys.
    void BackToMain() { Activate(form); }

    QString Date() const { return QStringLiteral("7.3.2021"); }
    QString Time() const { return QStringLiteral("9:05:02"); }

    std::vector<ShownListing> shown;
};

// Lines joined, each ended by CR LF, as a QString.
inline QString Lines(std::initializer_list<QString> lines)
{
    QString out;
    for (const QString& l : lines)
        out += l + QStringLiteral("\r\n");
    return out;
}

inline const QString Separator = QStringLiteral("===============================================");
inline const QString Banner = QStringLiteral("== Cardomo 0.5 beta (v.0.5.1.0.2) Note Card Software ==");
