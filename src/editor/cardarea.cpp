#include "cardarea.h"

#include "commandguard.h"
#include "fonts.h"
#include "wiring.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWheelEvent>

namespace {

// Where the editors of fields 1 to 17 and their labels stand in the card
// area. Labels stand above their editors but for "5.Mo" and "7. Page",
// which stand below theirs.
struct Place {
    const char* name;
    bool oneLine;
    QRect editor;
    QPoint label;
};
const std::array<Place, MemoCell> Places = {{
    {"memoTUNNISTE", true, {25, 17, 145, 41}, {25, 3}},
    {"Memo2", true, {178, 17, 89, 41}, {178, 3}},
    {"Memo3", true, {273, 17, 65, 41}, {273, 3}},
    {"Edit5", false, {344, 16, 25, 22}, {344, 3}},
    {"Edit6", false, {344, 37, 25, 22}, {344, 64}},
    {"editVUOSI", false, {376, 16, 37, 22}, {376, 3}},
    {"editSIVU", false, {376, 37, 37, 22}, {376, 64}},
    {"memoASIASANAT1", true, {24, 88, 145, 41}, {24, 74}},
    {"memoASIASANAT2", true, {175, 88, 89, 41}, {175, 74}},
    {"Memo1", true, {271, 88, 141, 41}, {271, 74}},
    {"editKOODI1", false, {429, 16, 81, 22}, {429, 3}},
    {"editKOODI2", false, {516, 16, 73, 22}, {516, 3}},
    {"Edit7", false, {592, 16, 89, 22}, {592, 3}},
    {"Edit8", false, {516, 56, 41, 22}, {516, 40}},
    {"Edit9", false, {561, 56, 29, 22}, {561, 40}},
    {"Edit10", false, {592, 56, 29, 22}, {592, 40}},
    {"Edit11", false, {625, 56, 56, 22}, {625, 40}},
}};
const QRect MemoPlace(24, 151, 389, 293);
const QRect NumberBoxPlace(167, 477, 42, 21);

// The font of the editors at px pixels. The main window's editors draw text
// whose script does not need it (Latin, Greek, Cyrillic...) without OpenType
// shaping, which is only cosmetic there (ligatures), while scripts that need
// shaping still get it: shaping was most of the time of showing a card, and
// showing a card is most of a find and replace run over thousands of cards.
// The picked cards window shows a card at a time, with the font as it is.
QFont EditorFont(CardAreaUse use, int px)
{
    QFont font = ArialPx(px);
    if (use == CardAreaUse::Editing)
        font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

}  // namespace

CardArea::CardArea(Platform& platform) : platform_(platform) { }

CardArea::~CardArea() = default;

std::array<QLabel*, MemoCell> CardArea::BuildFieldEditors(
    QWidget* area, CardAreaUse use, const std::array<QString, MemoCell>& captions)
{
    const bool readOnly = use == CardAreaUse::Showing;
    std::array<QLabel*, MemoCell> labels{};
    for (int cell = 0; cell < MemoCell; ++cell) {
        const Place& place = Places[static_cast<size_t>(cell)];
        QWidget* editor;
        if (place.oneLine) {
            auto* box = new OneLineBox(Fields[cell].maxTyped, area);
            if (readOnly)
                box->setReadOnly(true);
            editor = box;
        } else {
            auto* line = new FieldLine(Fields[cell].maxTyped, area);
            if (readOnly)
                line->setReadOnly(true);
            editor = line;
        }
        editor->setObjectName(QString::fromLatin1(place.name));
        editor->setGeometry(place.editor);
        editor->setFont(EditorFont(use, 11));
        editors[static_cast<size_t>(cell)] = editor;
        labels[static_cast<size_t>(cell)] = AddFieldLabel(
            area, captions[static_cast<size_t>(cell)], cell, place.label, NextLabelX(Places, place.label), editor);
    }
    NameFieldEditors();

    memoMUISTIINPANO = new MemoEditor(area);
    memoMUISTIINPANO->setObjectName(QStringLiteral("memoMUISTIINPANO"));
    memoMUISTIINPANO->setGeometry(MemoPlace);
    memoMUISTIINPANO->setFont(EditorFont(use, 13));
    if (readOnly)
        memoMUISTIINPANO->setReadOnly(true);
    editors[MemoCell] = memoMUISTIINPANO;
    wheelOwners_.insert(wheelOwners_.end(), editors.begin(), editors.end());
    return labels;
}

void CardArea::BuildNumberBox(QWidget* area)
{
    editKORTTINRO = new QLineEdit(area);
    editKORTTINRO->setObjectName(QStringLiteral("editKORTTINRO"));
    editKORTTINRO->setGeometry(NumberBoxPlace);
    editKORTTINRO->setFont(ArialPx(11));
}

void CardArea::BuildMoveButtons(QWidget* area, const MoveCaptions& captions)
{
    auto button = [this, area](const char* name, const QString& caption, QRect geometry, CardMove move) {
        auto* b = new QPushButton(caption, area);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(geometry);
        b->setFont(ArialPx(11));
        b->setAutoDefault(false);
        Wire(b, platform_, [this, move] { MoveCard(move); });
        return b;
    };
    btnHome = button("btnHome", captions.home, {300, 468, 47, 36}, CardMove::First);
    btnEnd = button("btnEnd", captions.end, {300, 503, 47, 35}, CardMove::Last);
    btnTaakse = button("btnTaakse", captions.previous, {350, 468, 63, 35}, CardMove::Previous);
    btnEteen = button("btnEteen", captions.next, {350, 503, 63, 35}, CardMove::Next);
    btn10taakse = button("btn10taakse", captions.tenBack, {263, 468, 36, 35}, CardMove::TenBack);
    btn10eteen = button("btn10eteen", captions.tenForward, {263, 503, 36, 35}, CardMove::TenForward);
    btnGo = button("btnGo", captions.go, {167, 500, 33, 17}, CardMove::Go);
}

void CardArea::AddWheelOwners(const std::vector<QWidget*>& owners)
{
    wheelOwners_.insert(wheelOwners_.end(), owners.begin(), owners.end());
}

void CardArea::SetTabOrder(const std::vector<QWidget*>& besideFields, const std::vector<QWidget*>& after) const
{
    std::vector<QWidget*> order;
    for (size_t cell = 0; cell < 10; ++cell)
        order.push_back(editors[cell]);
    order.insert(order.end(), besideFields.begin(), besideFields.end());
    for (QWidget* w : std::initializer_list<QWidget*>{
             memoMUISTIINPANO, editKORTTINRO, btnGo, btn10taakse, btn10eteen, btnHome, btnEnd, btnTaakse, btnEteen})
        order.push_back(w);
    for (size_t cell = 10; cell < MemoCell; ++cell)
        order.push_back(editors[cell]);
    order.insert(order.end(), after.begin(), after.end());
    for (size_t i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}

void CardArea::SetEditorText(int cell, const QString& text)
{
    QWidget* e = editors[static_cast<size_t>(cell)];
    if (cell == MemoCell)
        memoMUISTIINPANO->SetText(text);
    else if (auto* box = qobject_cast<OneLineBox*>(e))
        box->SetText(text);
    else
        static_cast<FieldLine*>(e)->SetText(text);
}

QString CardArea::EditorText(int cell) const
{
    QWidget* e = editors[static_cast<size_t>(cell)];
    if (cell == MemoCell)
        return memoMUISTIINPANO->Text();
    if (auto* box = qobject_cast<OneLineBox*>(e))
        return box->Text();
    return static_cast<FieldLine*>(e)->Text();
}

void CardArea::ShowFields(const Card& row)
{
    for (int cell = 0; cell <= MemoCell; ++cell)
        SetEditorText(cell, row[static_cast<size_t>(cell)]);
}

bool CardArea::WindowKeyPress(QKeyEvent*, QWidget*)
{
    return false;
}

bool CardArea::EditorKeyPress(QKeyEvent*, int)
{
    return false;
}

void CardArea::Run(CardMove move)
{
    RunCommand(platform_, [this, move] { MoveCard(move); });
}

bool CardArea::MoveKeyPress(QKeyEvent* key, QWidget* control)
{
    const Qt::KeyboardModifiers mods = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    std::optional<CardMove> move;
    if (mods == Qt::ControlModifier) {
        if (key->key() == Qt::Key_PageUp)
            move = CardMove::Previous;
        else if (key->key() == Qt::Key_PageDown)
            move = CardMove::Next;
    } else if (mods == Qt::AltModifier) {
        switch (key->key()) {
        case Qt::Key_PageUp:
            move = CardMove::TenBack;
            break;
        case Qt::Key_PageDown:
            move = CardMove::TenForward;
            break;
        case Qt::Key_Home:
            move = CardMove::First;
            break;
        case Qt::Key_End:
            move = CardMove::Last;
            break;
        default:
            break;
        }
    }
    if (!move)
        return false;
    if (CardsMove())
        Run(*move);
    // A text editor with the focus gets the key too, with its usual effect;
    // no other control does (a drop-down list would change its choice).
    return !TakesCommandKeysToo(control);
}

bool CardArea::Wheel(QWidget* window, const QWheelEvent* wheel)
{
    if (!CardsMove())
        return false;
    if (OverAnyOf(window, wheel->globalPosition().toPoint(), wheelOwners_))
        return false;  // the control scrolls as usual
    MoveByWheel(
        platform_, wheel_, wheel, [this] { MoveCard(CardMove::Previous); }, [this] { MoveCard(CardMove::Next); });
    return true;
}

std::optional<bool> CardArea::PreviewEvent(QWidget* window, QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::Wheel)
        return std::nullopt;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window)
        return std::nullopt;
    if (event->type() == QEvent::Wheel)
        return Wheel(window, static_cast<QWheelEvent*>(event));

    // Keys: the window sees each key once, before the control that has the focus.
    if (widget != QApplication::focusWidget() && !(QApplication::focusWidget() == nullptr && widget == window))
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    // A key press that a command's message box outlasted comes back to the
    // window once more, with the time stamp of the first delivery, when no
    // control had the focus after the message: it is the same press.
    if (repeatedKeys_.Repeated(key))
        return true;
    if (WindowKeyPress(key, widget) || MoveKeyPress(key, widget))
        return true;
    if (widget == editKORTTINRO) {
        switch (OrderNumberKey(key)) {
        case NumberBoxKey::Enter:
            Run(CardMove::Go);
            return true;
        case NumberBoxKey::Drop:
            return true;
        case NumberBoxKey::Pass:
            break;
        }
        return false;
    }
    for (int cell = 0; cell <= MemoCell; ++cell)
        if (widget == editors[static_cast<size_t>(cell)])
            return EditorKeyPress(key, cell);
    return false;
}

void CardArea::MoveCard(CardMove move)
{
    switch (move) {
    case CardMove::First:
        btnHomeClick();
        break;
    case CardMove::Last:
        btnEndClick();
        break;
    case CardMove::Previous:
        btnTaakseClick();
        break;
    case CardMove::Next:
        btnEteenClick();
        break;
    case CardMove::TenBack:
        btn10taakseClick();
        break;
    case CardMove::TenForward:
        btn10eteenClick();
        break;
    case CardMove::Go:
        btnGoClick();
        break;
    }
}
