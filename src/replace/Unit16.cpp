#include "Unit16.h"

#include "placement.h"

#include "cardstore.h"
#include "deferredview.h"
#include "fieldeditors.h"
#include "fonts.h"
#include "inputhold.h"
#include "longwork.h"
#include "platform.h"
#include "replacing.h"
#include "version.h"
#include "windowlinks.h"
#include "wiring.h"

#include <QComboBox>
#include <QCompleter>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QScreen>
#include <optional>

namespace {

bool IsEnter(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

}  // namespace

TForm16::TForm16(WindowContext& context) : QDialog(nullptr), context_(context), platform_(context.platform)
{
    setObjectName(QStringLiteral("Form16"));
    // Only a close box; not modal, and on top of the other windows.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setModal(false);
    setWindowTitle(QStringLiteral("Find and replace in cards - CARDOMO  " CARDOMO_VERSION_MAJOR_MINOR " beta"));
    setFixedSize(457, 240);
    setFont(ArialPx(11));

    auto label = [this](const char* name, const QString& caption, QPoint at, bool bold = false) {
        auto* l = new QLabel(caption, this);
        l->setObjectName(QString::fromLatin1(name));
        l->setFont(ArialPx(11, bold));
        l->move(at);
        l->adjustSize();
        return l;
    };
    auto lineEdit = [this](QLineEdit* e, const char* name, QRect geometry) {
        e->setObjectName(QString::fromLatin1(name));
        e->setGeometry(geometry);
        return e;
    };
    auto button = [this](const char* name, const QString& caption, QRect geometry) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(geometry);
        b->setAutoDefault(false);
        b->setDefault(false);
        return b;
    };

    Label8 = label("Label8",
        QStringLiteral("NOTE! Undoing is not possible with this action! Save your cardfile and/or make a "
                       "backup before this action!!"),
        {12, 10}, true);
    Label8->setWordWrap(true);
    Label8->setGeometry(12, 10, 433, 32);
    QPalette warning = Label8->palette();
    warning.setColor(QPalette::WindowText, QColor(0x80, 0, 0));
    Label8->setPalette(warning);

    Label9 = label("Label9", QStringLiteral("Word"), {12, 52}, true);
    Label1 = label("Label1", QStringLiteral("Find:"), {12, 75});
    // The find and replace boxes take no line break, in whatever form a
    // paste brings one: an edit that would bring one in is undone. A line
    // break in the replacement would put one into a field that must stay one
    // line (fields 1 to 17), and one in the find string could match half of
    // the Memo's CR LF.
    Edit1 = new FieldLine(0, this);
    lineEdit(Edit1, "Edit1", {72, 72, 250, 21});
    Label2 = label("Label2", QStringLiteral("Replace:"), {12, 103});
    Edit2 = new FieldLine(0, this);
    lineEdit(Edit2, "Edit2", {72, 100, 250, 21});
    Button3 = button("Button3", QStringLiteral("Replace all"), {340, 72, 105, 49});

    Label3 = label("Label3", QStringLiteral("Card index"), {12, 154}, true);
    Label4 = label("Label4", QStringLiteral("The first"), {80, 135});
    Edit3 = lineEdit(new QLineEdit(this), "Edit3", {80, 151, 57, 21});
    Label5 = label("Label5", QStringLiteral(" - "), {139, 154});
    Label6 = label("Label6", QStringLiteral("The last"), {153, 135});
    Edit4 = lineEdit(new QLineEdit(this), "Edit4", {153, 151, 57, 21});

    Label7 = label("Label7", QStringLiteral("Field"), {224, 135});
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    // A combo box's name on this desktop is its current entry: the
    // description tells what it chooses.
    ComboBox1->setAccessibleName(QStringLiteral("Field"));
    ComboBox1->setAccessibleDescription(QStringLiteral("Field"));
    ComboBox1->setGeometry(224, 151, 121, 21);
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);  // typed text is not added to the list
    ComboBox1->completer()->setCaseSensitivity(Qt::CaseSensitive);
    for (const FieldInfo& f : Fields)
        ComboBox1->addItem(QString::fromLatin1(f.chooserEntry));
    ComboBox1->setCurrentIndex(MemoCell);  // "18 Memo"
    ComboBox1->setMaxVisibleItems(FieldCount);

    Button4 = button("Button4", QStringLiteral("Close"), {340, 200, 105, 25});
    Label10 = label("Label10", QStringLiteral("Interrupt the process by pressing  ESC"), {12, 206}, true);
    Label10->hide();

    // A screen reader names each box after its labels.
    Label9->setBuddy(Edit1);
    Label1->setBuddy(Edit1);
    Label2->setBuddy(Edit2);
    Label3->setBuddy(Edit3);
    Label4->setBuddy(Edit3);
    Label5->setBuddy(Edit4);
    Label6->setBuddy(Edit4);
    Label7->setBuddy(ComboBox1);
    Edit1->setAccessibleName(QStringLiteral("Find:"));  // not after the heading "Word"
    Edit3->setAccessibleName(QStringLiteral("Card index, the first"));
    Edit4->setAccessibleName(QStringLiteral("Card index, the last"));

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Button3);
    setTabOrder(Button3, Edit3);
    setTabOrder(Edit3, Edit4);
    setTabOrder(Edit4, ComboBox1);
    setTabOrder(ComboBox1, Button4);

    Wire(Button3, platform_, this, &TForm16::Button3Click);
    Wire(Button4, platform_, this, &TForm16::Button4Click);

    // The window sees every key before its controls.
    installEventFilter(this);
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);

    CentreOnScreen(*this);
}

void TForm16::ShowReplace()
{
    const CardStore& s = context_.store;
    Edit3->setText(QString::number(s.CurrentCard + 1));
    Edit4->setText(QString::number(s.CardCount));
    show();
    if (!centred_) {
        CentreOnScreen(*this);  // again, with the frame known once shown
        centred_ = true;
    }
    raise();
    activateWindow();
    Edit1->setFocus();
}

void TForm16::Button4Click()
{
    hide();
}

// ---------------------------------------------------------------------------
// Keys

// The index boxes take the digits 0 to 9 and Backspace; Enter runs "Replace
// all". Every other character is dropped, and so is the paste key (the mouse
// menu's paste still works, and a box holding no number then ends "Replace
// all" with the conversion error). Keys that type nothing (arrows, Delete,
// Home, End) work as usual.
bool TForm16::IndexBoxKeyPress(QKeyEvent* key)
{
    if (IsEnter(key)) {
        RunCommand(platform_, [this] { Button3Click(); });
        return true;
    }
    if (key->key() == Qt::Key_Backspace)
        return false;
    if (key->matches(QKeySequence::Paste))
        return true;
    const QString t = key->text();
    if (t.size() == 1 && t[0] >= u' ' && t[0] != QChar(0x7f))
        return !(t[0] >= u'0' && t[0] <= u'9');
    return false;
}

bool TForm16::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape) {
        // Esc closes the window, also during a run (which holding it down ends).
        Button4Click();
        return true;
    }
    if (watched == Edit3 || watched == Edit4)
        return IndexBoxKeyPress(key);
    return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Replace all

void TForm16::Button3Click()
{
    CardStore& s = context_.store;
    // A run going on is not started again (Enter in an index box, a click),
    // and nothing is done after the card file was closed with the window open.
    if (running_ || !s.FileOpen)
        return;
    MainWindowLink* main = context_.windows.main;
    // Message boxes belong to the main window, which has the focus when one
    // closes: the keys go back to this window after each, as they came from
    // here (Esc during the run closes it).
    struct KeysBack {
        TForm16& w;
        void operator()() const
        {
            if (w.isVisible()) {
                w.raise();
                w.activateWindow();
            }
        }
        ~KeysBack() { (*this)(); }
    } keysBack{*this};
    const ReplaceAllBoxes boxes{Edit1->text(), Edit2->text(), Edit3->text(), Edit4->text(), ComboBox1->currentText()};
    const ReplaceAllCheck check = CheckReplaceAll(boxes, s.CardCount);
    if (!check.passed()) {
        platform_.Message(check.message);
        return;
    }
    if (platform_.Message(ReplaceConfirmationText(boxes), MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    keysBack();

    main->storeShownCard();
    bool found = false;
    RunEnd end = RunEnd::Completed;
    {
        // While the run goes on: the notice shows, and the main window's
        // commands are held off, since the run relies on the main window
        // keeping the card it showed (Esc still ends the run).
        struct Running {
            TForm16& w;
            InputHold hold;
            Running(TForm16& form, QWidget* main) : w(form), hold(main)
            {
                w.running_ = true;
                w.Label10->show();
            }
            ~Running()
            {
                w.Label10->hide();
                w.running_ = false;
            }
        } running(*this, main->window);
        if (const std::optional<int> cell = ReplaceFieldCell(boxes.field))
            end = ReplaceInCards(check.first, check.last, *cell, boxes.find, boxes.replacement, found);
    }
    if (end == RunEnd::Interrupted) {
        if (found)
            s.CardFileChanged = true;
        return;
    }
    if (!found) {
        platform_.Message(ReplaceNotFoundMessage);
        return;
    }
    platform_.Message(ReplaceCompletedMessage);
    s.CardFileChanged = true;
}

// Each card of the range is shown in the main window; in the chosen field's
// editor every occurrence is selected and typed over by the replacement, left
// to right, each search starting behind the text inserted last; the card is
// stored after each step, and events are let through (Esc held down ends the
// run, everything done so far kept).
TForm16::RunEnd TForm16::ReplaceInCards(
    int first, int last, int cell, const QString& find, const QString& replacement, bool& found)
{
    CardStore& s = context_.store;
    MainWindowLink* main = context_.windows.main;
    // The editors get each card's texts when the card area is drawn, and a
    // store writes the run's field alone (declared before the work, so that
    // the card is in the editors before the card area is drawn at the end).
    DeferredCardView view(context_, cell, find, replacement);
    EditableField* field = &view.Field();
    LongWork work(platform_, nullptr);
    // The card area follows the cards at a readable rate: drawing it after
    // every step would cost more than all the rest of the run.
    work.DrawAtReadableRate(main->window->centralWidget(), [&view] { view.Settle(); });
    for (int c = first; c <= last; ++c) {
        s.CurrentCard = c - 1;
        main->showCard();
        field->CaretToStart();
        bool repeat = true;
        while (repeat) {
            const std::optional<TextReplacement> step =
                ReplaceNextOccurrence(field->EditText(), field->SelectionEnd(), find, replacement);
            if (!step) {
                repeat = false;
            } else {
                found = true;
                // The replacement goes in whole, even past the editor's typing
                // limit: the limits hold for typing only.
                field->ReplaceRange(step->start, find.size(), replacement);
            }
            main->storeShownCard();
            if (!work.Continue())
                return RunEnd::Interrupted;
        }
        main->storeShownCard();
    }
    return RunEnd::Completed;
}
