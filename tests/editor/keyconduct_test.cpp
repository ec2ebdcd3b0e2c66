// How the command keys of the main window and the picked cards window meet
// the control that has the focus: every key of the window's key table runs
// its command once, whatever kind of control has the focus, and the control
// keeps its value (a text editor may give the key its usual effect, which
// changes no text here). The tables are built from the windows' own entries
// and the keys they see before their controls.
#include "search/search_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QSignalSpy>

namespace {

// What a control holds, as a text to compare.
QString ValueOf(const QWidget* w)
{
    if (const auto* c = qobject_cast<const QComboBox*>(w))
        return QStringLiteral("chooser: ") + c->currentText();
    if (const auto* b = qobject_cast<const QAbstractButton*>(w))
        return b->isCheckable() ? QString::fromLatin1(b->isChecked() ? "checked" : "not checked") : b->text();
    if (const auto* l = qobject_cast<const QLineEdit*>(w))
        return l->text();
    if (const auto* p = qobject_cast<const QPlainTextEdit*>(w))
        return p->toPlainText();
    return {};
}

// The window's entries that have a key and can run now.
std::vector<QAction*> EntriesWithKeys(QWidget* window)
{
    std::vector<QAction*> entries;
    for (QAction* a : WindowEntries(window))
        if (!a->shortcut().isEmpty() && a->isEnabled() && a->isVisible())
            entries.push_back(a);
    return entries;
}

struct Control {
    const char* kind;
    QWidget* widget;
};

// A key to a control, as the keyboard sends it to the control with the focus.
void Press(QWidget* control, QKeyCombination key)
{
    control->setFocus();
    QTest::keyClick(control, key.key(), key.keyboardModifiers());
}

// The keys that the windows see before their controls and run as card moves
// and finds, from card 15 of 30 (every card matches both finds).
struct MoveKey {
    QKeyCombination key;
    int to;
};
const MoveKey MainWindowMoves[] = {
    {Qt::CTRL | Qt::Key_PageUp, 14},
    {Qt::CTRL | Qt::Key_PageDown, 16},
    {Qt::ALT | Qt::Key_PageUp, 5},
    {Qt::ALT | Qt::Key_PageDown, 25},
    {Qt::ALT | Qt::Key_Home, 1},
    {Qt::ALT | Qt::Key_End, 30},
    {Qt::CTRL | Qt::Key_Left, 14},
    {Qt::CTRL | Qt::Key_Right, 16},
    {Qt::ALT | Qt::Key_Left, 14},
    {Qt::ALT | Qt::Key_Right, 16},
};
const MoveKey PickedWindowMoves[] = {
    {Qt::CTRL | Qt::Key_PageUp, 14},
    {Qt::CTRL | Qt::Key_PageDown, 16},
    {Qt::ALT | Qt::Key_PageUp, 5},
    {Qt::ALT | Qt::Key_PageDown, 25},
    {Qt::ALT | Qt::Key_Home, 1},
    {Qt::ALT | Qt::Key_End, 30},
};

class KeyConductTest : public SearchTest {
protected:
    // 30 cards: Title1 "Card k", Code1 "Code k", Memo "Memo k".
    static CardRows Cards()
    {
        CardRows rows = Rows(30);
        for (size_t i = 0; i < rows.size(); ++i)
            rows[i][10] = QStringLiteral("Code %1").arg(i + 1);
        return rows;
    }

    // The choosers and search strings as a user leaves them: finds that
    // match every card, a connective, a sort key and a direction that are
    // not the first of their lists.
    static void SetGroups(FieldSearchGroup* field, BooleanSearchGroup* boolean, SortGroup* sort)
    {
        field->ComboBox2->setCurrentIndex(3);  // ">="
        field->Edit1->setText(QStringLiteral("Card"));
        boolean->Edit2->setText(QStringLiteral("Card"));
        boolean->ComboBox4->setCurrentIndex(1);  // "OR"
        sort->keyChoosers[2]->setCurrentIndex(6);  // key 3 = field 7
        sort->RadioButton2->setChecked(true);  // "Descending"
    }

    // The value a control shows after the window moved to card `card`
    // (the card's field editors and the order number box follow the card).
    template <class Window> QString Expected(Window* window, QWidget* control, const QString& before, int card) const
    {
        if (control == window->memoTUNNISTE)
            return QStringLiteral("Card %1").arg(card);
        if (control == window->editKOODI1)
            return QStringLiteral("Code %1").arg(card);
        if (control == window->memoMUISTIINPANO)
            return QStringLiteral("Memo %1").arg(card);
        if (control == window->editKORTTINRO)
            return QString::number(card);
        return before;
    }
};

TEST_F(KeyConductTest, MainWindowEntriesRunOnceFromEveryKindOfControl)
{
    StartWith(Cards());
    SetGroups(form->fieldSearch, form->booleanSearch, form->sortGroup);
    const std::vector<QAction*> entries = EntriesWithKeys(form);
    // The table is the window's: its menu entries with keys and its keys
    // without an entry.
    QStringList keys;
    for (QAction* a : entries)
        keys << a->shortcut().toString();
    for (const char* k : {"Ctrl+S", "Ctrl+K", "Ctrl+U", "Ctrl+E", "Ctrl+P", "F5", "Ctrl+Alt+C", "Ctrl+Alt+V",
             "Ctrl+Alt+A", "Ctrl+Alt+Q", "Ctrl+F", "F3", "Ctrl+D", "Ctrl+Alt+K", "Ctrl+Alt+W", "F7", "F8", "F9", "F10",
             "F11", "F2", "Ctrl+Alt+F", "F4", "Ctrl+Alt+N", "F1"})
        EXPECT_TRUE(keys.contains(QString::fromLatin1(k))) << k;
    // The commands themselves are tested with their windows; here each entry
    // only counts how often its key runs it.
    std::vector<std::unique_ptr<QSignalSpy>> runs;
    for (QAction* a : entries) {
        QObject::disconnect(a, &QAction::triggered, nullptr, nullptr);
        runs.push_back(std::make_unique<QSignalSpy>(a, &QAction::triggered));
    }
    const Control controls[] = {
        {"one-line box", form->memoTUNNISTE},
        {"edit line", form->editKOODI1},
        {"Memo", form->memoMUISTIINPANO},
        {"order number box", form->editKORTTINRO},
        {"search string", form->fieldSearch->Edit1},
        {"operator chooser", form->fieldSearch->ComboBox2},
        {"connective chooser", form->booleanSearch->ComboBox4},
        {"sort key", form->sortGroup->keyChoosers[2]},
        {"radio button", form->sortGroup->RadioButton2},
        {"button", form->btnHome},
    };
    for (const Control& c : controls) {
        for (size_t i = 0; i < entries.size(); ++i) {
            SCOPED_TRACE(std::string(c.kind) + ", " + entries[i]->shortcut().toString().toStdString());
            const QString before = ValueOf(c.widget);
            Press(c.widget, entries[i]->shortcut()[0]);
            EXPECT_EQ(runs[i]->count(), 1);
            runs[i]->clear();
            EXPECT_EQ(ValueOf(c.widget), before);
        }
    }
    EXPECT_EQ(store().CurrentCard, 29);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(KeyConductTest, MainWindowMovesOnceAndLeavesChoosersAlone)
{
    StartWith(Cards());
    SetGroups(form->fieldSearch, form->booleanSearch, form->sortGroup);
    const Control controls[] = {
        {"one-line box", form->memoTUNNISTE},
        {"edit line", form->editKOODI1},
        {"Memo", form->memoMUISTIINPANO},
        {"order number box", form->editKORTTINRO},
        {"search string", form->fieldSearch->Edit1},
        {"field chooser", form->fieldSearch->ComboBox1},
        {"operator chooser", form->fieldSearch->ComboBox2},
        {"connective chooser", form->booleanSearch->ComboBox4},
        {"sort key", form->sortGroup->keyChoosers[2]},
        {"radio button", form->sortGroup->RadioButton2},
        {"button", form->btnHome},
    };
    for (const Control& c : controls) {
        for (const MoveKey& m : MainWindowMoves) {
            SCOPED_TRACE(std::string(c.kind) + ", " + QKeySequence(m.key).toString().toStdString());
            store().CurrentCard = 14;
            form->btnPaivitaClick();
            const QString before = ValueOf(c.widget);
            Press(c.widget, m.key);
            EXPECT_EQ(store().CurrentCard + 1, m.to);
            EXPECT_EQ(ValueOf(c.widget), Expected(form, c.widget, before, m.to));
        }
    }
    EXPECT_TRUE(platform.messages.empty());
    // The finds still search with what the user chose.
    EXPECT_EQ(form->fieldSearch->ComboBox2->currentText(), QStringLiteral(">="));
    EXPECT_EQ(form->booleanSearch->ComboBox4->currentText(), QStringLiteral("OR"));
    EXPECT_EQ(form->sortGroup->keyChoosers[2]->currentText(), QStringLiteral("7"));
    EXPECT_TRUE(form->sortGroup->RadioButton2->isChecked());
}

TEST_F(KeyConductTest, PickedWindowKeysRunOnceAndLeaveChoosersAlone)
{
    StartWith(Cards());
    acts[QStringLiteral("Form3")] = [this] {
        SetGroups(form3->fieldSearch, form3->booleanSearch, form3->sortGroup);
        form3->booleanSearch->ComboBox4->setCurrentIndex(2);  // "XOR"
        const Control controls[] = {
            {"one-line box", form3->memoTUNNISTE},
            {"edit line", form3->editKOODI1},
            {"Memo", form3->memoMUISTIINPANO},
            {"order number box", form3->editKORTTINRO},
            {"search string", form3->fieldSearch->Edit1},
            {"operator chooser", form3->fieldSearch->ComboBox2},
            {"connective chooser", form3->booleanSearch->ComboBox4},
            {"sort key", form3->sortGroup->keyChoosers[2]},
            {"radio button", form3->sortGroup->RadioButton2},
            {"button", form3->btnHome},
        };
        for (const Control& c : controls) {
            for (const MoveKey& m : PickedWindowMoves) {
                SCOPED_TRACE(std::string(c.kind) + ", " + QKeySequence(m.key).toString().toStdString());
                form3->editKORTTINRO->setText(QStringLiteral("15"));
                form3->btnGo->click();
                const QString before = ValueOf(c.widget);
                Press(c.widget, m.key);
                EXPECT_EQ(store().CurrentPicked + 1, m.to);
                EXPECT_EQ(ValueOf(c.widget), Expected(form3, c.widget, before, m.to));
            }
        }
        EXPECT_EQ(form3->booleanSearch->ComboBox4->currentText(), QStringLiteral("XOR"));
        // The entries with keys: each runs once from each kind of control.
        const std::vector<QAction*> entries = EntriesWithKeys(form3);
        QStringList keys;
        for (QAction* a : entries)
            keys << a->shortcut().toString();
        EXPECT_EQ(keys, (QStringList{"Ctrl+R", "Ctrl+K", "Ctrl+U", "Ctrl+E", "Ctrl+P", "F2", "F4"}));
        std::vector<std::unique_ptr<QSignalSpy>> runs;
        for (QAction* a : entries) {
            QObject::disconnect(a, &QAction::triggered, nullptr, nullptr);
            runs.push_back(std::make_unique<QSignalSpy>(a, &QAction::triggered));
        }
        for (const Control& c : controls)
            for (size_t i = 0; i < entries.size(); ++i) {
                SCOPED_TRACE(std::string(c.kind) + ", " + keys[static_cast<qsizetype>(i)].toStdString());
                const QString before = ValueOf(c.widget);
                Press(c.widget, entries[i]->shortcut()[0]);
                EXPECT_EQ(runs[i]->count(), 1);
                runs[i]->clear();
                EXPECT_EQ(ValueOf(c.widget), before);
            }
    };
    form->fieldSearch->ComboBox2->setCurrentIndex(6);  // "<>" with an empty string picks every card
    form->fieldSearch->Edit1->clear();
    form->fieldSearch->btnPoimi->click();
    ASSERT_EQ(opened.size(), 1U);
    EXPECT_TRUE(platform.messages.empty());
}

// The rule itself, on a window of its own: a key that a text box claims for
// its editing in every keyboard scheme (Ctrl+Z, undo) runs the window's entry
// with that key instead, once, and the box's text stays.
TEST_F(KeyConductTest, AnEntrysKeyIsNotClaimedByTheFocusedTextBox)
{
    StartWith(Rows(1));
    QWidget window;
    auto* box = new QLineEdit(&window);
    auto* entry = new QAction(&window);
    entry->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    entry->setShortcutContext(Qt::WindowShortcut);
    window.addAction(entry);
    QSignalSpy runs(entry, &QAction::triggered);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window, 2000));
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("ab"));
    QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(runs.count(), 1);
    EXPECT_EQ(box->text(), QStringLiteral("ab"));
    // A disabled entry leaves the key to the box.
    entry->setEnabled(false);
    QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(runs.count(), 1);
    EXPECT_NE(box->text(), QStringLiteral("ab"));
}

TEST_F(KeyConductTest, KeysThatTypeNothingWorkInAMemoOfSixHundredLines)
{
    CardRows rows = Cards();
    rows[29][MemoCell] = QStringLiteral("line\r\n").repeated(699) + QStringLiteral("line");
    StartWith(rows);
    ASSERT_EQ(form->memoMUISTIINPANO->LineCount(), 700);
    platform.Clear();
    store().CardFileChanged = false;
    QPlainTextEdit* memo = form->memoMUISTIINPANO;
    memo->setFocus();
    const QKeyCombination quiet[] = {
        Qt::CTRL | Qt::Key_End,
        Qt::Key_Up,
        Qt::SHIFT | Qt::Key_Left,
        Qt::CTRL | Qt::SHIFT | Qt::Key_Home,
        Qt::CTRL | Qt::Key_Home,
        Qt::Key_Right,
        Qt::CTRL | Qt::Key_A,
        Qt::CTRL | Qt::Key_C,
    };
    for (const QKeyCombination k : quiet)
        QTest::keyClick(memo, k.key(), k.keyboardModifiers());
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_FALSE(store().CardFileChanged);
    // Select all and copy took the whole Memo.
    EXPECT_EQ(memo->textCursor().selectedText().size(), 700 * 4 + 699);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("line\n").repeated(699) + QStringLiteral("line"));
    // A key that types a character is refused, and marks the card file.
    QTest::keyClick(memo, Qt::Key_Right);
    QTest::keyClick(memo, Qt::Key_X);
    EXPECT_EQ(platform.Texts(), QStringList{QStringLiteral("Only 599 lines allowed. Please decrease the line count.")});
    EXPECT_TRUE(store().CardFileChanged);
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("line\n").repeated(699) + QStringLiteral("line"));
}

}  // namespace

namespace {

// A shortcut that changes a field's text (paste, cut) still marks the card
// file changed, though it types no character.
TEST_F(KeyConductTest, PastingOrCuttingInAFieldByKeyMarksTheCardFileChanged)
{
    StartWith(Cards());
    const QKeyCombination keys[] = {Qt::CTRL | Qt::Key_V, Qt::CTRL | Qt::Key_X};
    for (QWidget* field : {static_cast<QWidget*>(form->memoTUNNISTE), static_cast<QWidget*>(form->editKOODI1)}) {
        for (const QKeyCombination k : keys) {
            SCOPED_TRACE(QKeySequence(k).toString().toStdString());
            QApplication::clipboard()->setText(QStringLiteral("pasted"));
            field->setFocus();
            QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);  // select all: no change
            store().CardFileChanged = false;
            const QString before = ValueOf(field);
            QTest::keyClick(field, k.key(), k.keyboardModifiers());
            EXPECT_NE(ValueOf(field), before);
            EXPECT_TRUE(store().CardFileChanged);
        }
    }
}

}  // namespace
