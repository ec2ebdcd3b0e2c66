// The hint switch "Show Hints" of the Options menu.
#include "poiminta6.h"
#include "searchgroups.h"
#include "support/mainwindow_fixture.h"

#include <QComboBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QToolTip>

namespace {

class HintsTest : public MainWindowTest {
protected:
    void SetUp() override { Start(); }

    struct Hint {
        const char* name;
        QWidget* control;
        QString text;
    };
    // The controls of the switch that the main window has, with their hints.
    std::vector<Hint> Switched() const
    {
        return {
            {"Title1", form->memoTUNNISTE, QStringLiteral("Move to the next field with TAB or by pressing Enter")},
            {"Title2", form->Memo2, QStringLiteral("Move to the previous field by pressing Sift + TAB")},
            {"File link", form->Memo1,
                QStringLiteral("Create data link: Write an URL or choose the file with the 'Create' button below.")},
            {"Create", form->Button1, QStringLiteral("Create file link through the File Explorer")},
            {"Open", form->Button2, QStringLiteral("Open linked file to its parent software")},
            {"F7", form->Button3, QStringLiteral("List Current Card")},
            {"Day", form->Edit5, QStringLiteral("Date of source: Day (A number with two digits like '06')")},
            {"List F8", form->btnListaus, QStringLiteral("List the cards to the text form")},
            {"one-field search's field list", form->fieldSearch->ComboBox1,
                QStringLiteral("Select the field to search from")},
            {"Previous Card", form->btnTaakse, QStringLiteral("Previous Card - Alt+V / Ctrl+PageUp")},
            {"Next Card", form->btnEteen, QStringLiteral("Next Card - Alt+N / Ctrl+PageDown")},
            {"Home", form->btnHome, QStringLiteral("The First Card - Alt+H / Alt+Home")},
            {"End", form->btnEnd, QStringLiteral("The Last Card - Alt+E / Alt+End")},
            {"<-10", form->btn10taakse, QStringLiteral("10 Cards Backwords - Alt +1 / Alt+PgUp")},
            {"10 ->", form->btn10eteen, QStringLiteral("10 Cards Forwards - Alt + 0 / Alt+PageDown")},
            {"picked cards window's List F8", program->windows().form3->btnListaus,
                QStringLiteral("Listing of picked cards")},
            {"picked cards window's F7", program->windows().form3->Button2, QStringLiteral("List the current card")},
        };
    }
    // Controls outside the switch that keep their hints.
    std::vector<Hint> Kept() const
    {
        return {
            {"Year", form->editVUOSI,
                QStringLiteral("Date of source: Year (A number with four digits plus maybe a character like 2018b)")},
            {"Month", form->Edit6, QStringLiteral("Date of source: Month (A number with two digits like '12')")},
            {"New Card F5", form->btnLisaa, QStringLiteral("Create new empty card to the end of the card file")},
            {"Preview", form->PreviewBitBtn, QStringLiteral("Preview the Current Card")},
            {"one-field search's text box", form->fieldSearch->Edit1,
                QStringLiteral("Write a String or a part of it you want to find")},
            {"Find next", form->fieldSearch->btnSelaaeteen, QStringLiteral("Find  next card with searched word")},
        };
    }

    // What the window system shows when the mouse rests on control.
    static QString ShownHint(QWidget* control)
    {
        QToolTip::hideText();
        const QPoint at(control->width() / 2, control->height() / 2);
        QHelpEvent help(QEvent::ToolTip, at, control->mapToGlobal(at));
        QCoreApplication::sendEvent(control, &help);
        const QString shown = QToolTip::isVisible() ? QToolTip::text() : QString();
        QToolTip::hideText();
        return shown;
    }
};

}  // namespace

TEST_F(HintsTest, HintsAreOnAtStartWithTheCheckMark)
{
    EXPECT_TRUE(form->ShowHints1->isCheckable());
    EXPECT_TRUE(form->ShowHints1->isChecked());
    EXPECT_TRUE(form->ShowHints1->isEnabled());
    for (const Hint& h : Switched()) {
        SCOPED_TRACE(h.name);
        EXPECT_EQ(h.control->toolTip(), h.text);
    }
}

TEST_F(HintsTest, ShowHintsTurnsTheListedHintsOffAndOnAgain)
{
    form->ShowHints1->trigger();
    EXPECT_FALSE(form->ShowHints1->isChecked());
    EXPECT_FALSE(form->HintsShown());
    for (const Hint& h : Switched()) {
        SCOPED_TRACE(h.name);
        EXPECT_TRUE(h.control->toolTip().isEmpty());
        EXPECT_TRUE(ShownHint(h.control).isEmpty());
    }
    for (const Hint& h : Kept()) {
        SCOPED_TRACE(h.name);
        EXPECT_EQ(h.control->toolTip(), h.text);
        EXPECT_EQ(ShownHint(h.control), h.text);
    }

    form->ShowHints1->trigger();
    EXPECT_TRUE(form->ShowHints1->isChecked());
    EXPECT_TRUE(form->HintsShown());
    for (const Hint& h : Switched()) {
        SCOPED_TRACE(h.name);
        EXPECT_EQ(h.control->toolTip(), h.text);
    }
    for (const Hint& h : Kept()) {
        SCOPED_TRACE(h.name);
        EXPECT_EQ(h.control->toolTip(), h.text);
    }
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(HintsTest, TheSwitchWorksWithoutACardFileToo)
{
    store().CardFileChanged = false;
    platform.answers.push_back(MsgAnswer::Yes);  // "Do you really want to close the file?"
    form->Sulje1->trigger();
    ASSERT_FALSE(store().FileOpen);
    form->ShowHints1->trigger();
    EXPECT_TRUE(form->memoTUNNISTE->toolTip().isEmpty());
    EXPECT_EQ(form->editVUOSI->toolTip(),
        QStringLiteral("Date of source: Year (A number with four digits plus maybe a character like 2018b)"));
}

TEST_F(HintsTest, ControlsRegisteredLaterFollowTheSwitch)
{
    // A control of a window built later, registered while hints are on.
    QPushButton early(QStringLiteral("F&7"), form);
    form->AddSwitchedHint(&early, QStringLiteral("List Current Card"));
    EXPECT_EQ(early.toolTip(), QStringLiteral("List Current Card"));

    form->ShowHints1->trigger();
    EXPECT_TRUE(early.toolTip().isEmpty());

    // One registered while hints are off shows none until they come back.
    QPushButton late(QStringLiteral("&List F8"), form);
    form->AddSwitchedHint(&late, QStringLiteral("List the cards to the text form"));
    EXPECT_TRUE(late.toolTip().isEmpty());

    {
        // A registered control that is gone is passed over.
        QPushButton gone(form);
        form->AddSwitchedHint(&gone, QStringLiteral("gone"));
    }
    form->ShowHints1->trigger();
    EXPECT_EQ(early.toolTip(), QStringLiteral("List Current Card"));
    EXPECT_EQ(late.toolTip(), QStringLiteral("List the cards to the text form"));
}
