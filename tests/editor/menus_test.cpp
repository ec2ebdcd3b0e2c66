// The main window's menu bar exactly as the user meets it: menus, entries,
// separators, shortcuts, and which entries need an open card file.
#include "support/mainwindow_fixture.h"

#include <QMenu>
#include <QMenuBar>

namespace {

enum class Needs { OpenFile, NoFile, Always, DeletedCard };

struct EntryRow {
    const char* caption;  // "-" for a separator
    const char* shortcut;
    Needs needs;
};

struct MenuRow {
    const char* title;
    std::vector<EntryRow> entries;
};

const std::vector<MenuRow>& MenuTable()
{
    static const std::vector<MenuRow> table = {
        {"&File",
            {{"&New", "Ctrl+N", Needs::NoFile}, {"&Open", "Ctrl+O", Needs::NoFile},
                {"&Save", "Ctrl+S", Needs::OpenFile}, {"Save &As", "", Needs::OpenFile}, {"-", "", Needs::Always},
                {"Save As Te&xt", "Ctrl+K", Needs::OpenFile},
                {"Save As Text (with page &feed per card)", "Ctrl+U", Needs::OpenFile}, {"-", "", Needs::Always},
                {"&Close", "", Needs::OpenFile}, {"-", "", Needs::Always}, {"Previe&w", "Ctrl+E", Needs::OpenFile},
                {"&Print", "Ctrl+P", Needs::OpenFile}, {"-", "", Needs::Always}, {"&Exit", "", Needs::Always}}},
        {"Edit",
            {{"Bring back deleted card as a new card", "", Needs::DeletedCard},
                {"Input an external card file to the current card file", "", Needs::OpenFile},
                {"Add a new empty card", "F5", Needs::OpenFile},
                {"Copy current card  to the clip board", "Ctrl+Alt+C", Needs::OpenFile},
                {"Paste the card from the clipboard as a new card", "Ctrl+Alt+V", Needs::OpenFile},
                {"Delete current card", "", Needs::OpenFile}, {"-", "", Needs::Always},
                {"Add a time stamp to the Memo field", "Ctrl+Alt+A", Needs::OpenFile},
                {"Add a time stamp (+yyyy-mm-dd hh:mm:ss)", "Ctrl+Alt+Q", Needs::OpenFile}, {"-", "", Needs::Always},
                {"Find from the Memo field", "Ctrl+F", Needs::OpenFile},
                {"Find next from the Memo field  (Ctrl+D)", "F3", Needs::OpenFile}, {"-", "", Needs::Always},
                {"Input external ANSI card file to the current card file (old format)", "", Needs::OpenFile}}},
        {"Tools",
            {{"Listing", "F8", Needs::OpenFile}, {"List Current Card", "F7", Needs::OpenFile},
                {"Pick", "F9", Needs::OpenFile}, {"Pick by Boolean Search", "F10", Needs::OpenFile},
                {"Sorting", "F11", Needs::OpenFile}, {"Pick Cards in Order", "F2", Needs::OpenFile},
                {"-", "", Needs::Always}, {"Find and Replace in Cards", "Ctrl+Alt+F", Needs::OpenFile}}},
        {"Options",
            {{"Field selection for listing", "F4", Needs::OpenFile}, {"-", "", Needs::Always},
                {"Show Hints", "", Needs::Always}, {"-", "", Needs::Always},
                {"Screen Saver Options", "", Needs::Always}, {"SCREEN SAVER", "Ctrl+Alt+N", Needs::Always}}},
        {"&?",
            {{"&Quick Manual", "F1", Needs::Always}, {"RTF Manual", "", Needs::Always}, {"License", "", Needs::Always},
                {"-", "", Needs::Always}, {"&About", "", Needs::Always}}},
    };
    return table;
}

class MenusTest : public MainWindowTest {
protected:
    // The visible entries of a menu, separators included.
    static std::vector<QAction*> Visible(QMenu* menu)
    {
        std::vector<QAction*> shown;
        for (QAction* a : menu->actions())
            if (a->isVisible())
                shown.push_back(a);
        return shown;
    }

    void CheckMenus(bool fileOpen, bool deletedCardHeld)
    {
        const QList<QAction*> bar = form->menuBar()->actions();
        ASSERT_EQ(static_cast<size_t>(bar.size()), MenuTable().size());
        for (size_t m = 0; m < MenuTable().size(); ++m) {
            const MenuRow& row = MenuTable()[m];
            SCOPED_TRACE(row.title);
            EXPECT_EQ(bar[static_cast<qsizetype>(m)]->text(), QString::fromUtf8(row.title));
            QMenu* menu = bar[static_cast<qsizetype>(m)]->menu();
            ASSERT_NE(menu, nullptr);
            const std::vector<QAction*> entries = Visible(menu);
            ASSERT_EQ(entries.size(), row.entries.size());
            for (size_t e = 0; e < entries.size(); ++e) {
                const EntryRow& want = row.entries[e];
                QAction* got = entries[e];
                SCOPED_TRACE(want.caption);
                if (QLatin1String(want.caption) == QLatin1String("-")) {
                    EXPECT_TRUE(got->isSeparator());
                    continue;
                }
                EXPECT_EQ(got->text(), QString::fromUtf8(want.caption));
                EXPECT_EQ(got->shortcut(), QKeySequence(QString::fromLatin1(want.shortcut)));
                bool enabled = true;
                switch (want.needs) {
                case Needs::OpenFile:
                    enabled = fileOpen;
                    break;
                case Needs::NoFile:
                    enabled = !fileOpen;
                    break;
                case Needs::Always:
                    enabled = true;
                    break;
                case Needs::DeletedCard:
                    enabled = fileOpen && deletedCardHeld;
                    break;
                }
                EXPECT_EQ(got->isEnabled(), enabled);
            }
        }
    }
};

}  // namespace

TEST_F(MenusTest, EveryEntryInItsPlaceWithItsShortcutAndEnabling)
{
    Start({MakeFile(3)});
    {
        SCOPED_TRACE("a card file open");
        CheckMenus(true, false);
    }
    platform.answers = {MsgAnswer::Yes};
    form->Poistakortti1->trigger();
    {
        SCOPED_TRACE("a card deleted");
        CheckMenus(true, true);
    }
    platform.answers = {MsgAnswer::No};
    form->Sulje1->trigger();
    ASSERT_FALSE(store().FileOpen);
    {
        SCOPED_TRACE("no card file");
        CheckMenus(false, false);
    }
    // "Show Hints" carries its check mark at start.
    EXPECT_TRUE(form->ShowHints1->isCheckable());
    EXPECT_TRUE(form->ShowHints1->isChecked());
}

TEST_F(MenusTest, KeysOfTheWindowDoNothingWithoutACardFile)
{
    Start({MakeFile(3)});
    platform.answers = {MsgAnswer::Yes};
    form->Sulje1->trigger();
    ASSERT_FALSE(store().FileOpen);
    platform.Clear();
    form->activateWindow();
    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::Key_S), QKeySequence(Qt::Key_F5),
             QKeySequence(Qt::Key_F8), QKeySequence(Qt::Key_F9), QKeySequence(Qt::Key_F11),
             QKeySequence(Qt::CTRL | Qt::Key_D), QKeySequence(Qt::Key_F3), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_K),
             QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_W), QKeySequence(Qt::CTRL | Qt::Key_PageDown),
             QKeySequence(Qt::ALT | Qt::Key_Home), QKeySequence(Qt::CTRL | Qt::Key_Right),
             QKeySequence(Qt::ALT | Qt::Key_Right)}) {
        SCOPED_TRACE(keys.toString().toStdString());
        QTest::keySequence(form, keys);
        EXPECT_TRUE(platform.messages.empty());
        EXPECT_EQ(platform.modalRuns, 0);
        EXPECT_FALSE(store().FileOpen);
    }
}

TEST_F(MenusTest, AltFOpensTheFileMenuAndFindsNothing)
{
    Start({MakeFile(3)});
    form->memoTUNNISTE->setFocus();
    const int card = store().CurrentCard;
    QTest::keyClick(form->memoTUNNISTE, Qt::Key_F, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->File1->isVisible(); }, 2000));
    QTest::keyClick(form->File1, Qt::Key_Escape);
    EXPECT_EQ(store().CurrentCard, card);
    EXPECT_TRUE(platform.messages.empty());
}
