#include "Unit10.h"

#include "fonts.h"
#include "platform.h"
#include "wiring.h"

#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

// Not a child of the main window, which is disabled while the picked cards
// window opens this one (a disabled window disables its children).
TForm10::TForm10(WindowContext& context) : QDialog(nullptr), platform_(context.platform)
{
    setObjectName(QStringLiteral("Form10"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral("Select fields for the listing - CARDOMO  0.5 beta"));
    setFont(PixelFont(QStringLiteral("Tahoma"), 11));
    setFixedSize(479, 469);
    move(229, 0);

    // Fields 1 to 9 in the left column, 10 to 18 in the right one, each box
    // after its number; under a dashed line the Card ID, then the line
    // between the cards.
    constexpr int Top = 20;
    constexpr int Step = 32;
    auto place = [this](int box, QPoint at, int width) {
        auto* b = new QCheckBox(FieldSelectionCaption(box), this);
        b->setObjectName(QStringLiteral("CheckBox") + QString::number(box + 1));
        b->setGeometry(at.x(), at.y(), width, 22);
        b->setChecked(true);
        boxes[static_cast<size_t>(box)] = b;
        if (box < 19) {
            auto* number = new QLabel(QString::number(box + 1) + u'.', this);
            number->setObjectName(QStringLiteral("Label") + QString::number(box + 1));
            number->setGeometry(at.x() - 28, at.y(), 24, 22);
            number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            number->setBuddy(b);
            numberLabels[static_cast<size_t>(box)] = number;
        }
    };
    for (int box = 0; box < 9; ++box)
        place(box, {48, Top + box * Step}, 130);
    for (int box = 9; box < 18; ++box)
        place(box, {222, Top + (box - 9) * Step}, 130);
    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("Bevel1"));
    line->setGeometry(16, Top + 9 * Step + 8, 340, 2);
    line->setStyleSheet(QStringLiteral("border-top: 1px dashed gray;"));
    place(18, {48, Top + 9 * Step + 24}, 130);
    place(19, {48, Top + 9 * Step + 24 + 40}, 300);

    auto button = [this](const char* name, const QString& caption, QRect at, void (TForm10::*handler)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(at);
        b->setAutoDefault(false);
        Wire(b, platform_, this, handler);
        return b;
    };
    Button1 = button("Button1", QStringLiteral("Select all"), {370, 20, 93, 27}, &TForm10::Button1Click);
    Button2 = button("Button2", QStringLiteral("Deselect all"), {370, 54, 93, 27}, &TForm10::Button2Click);
    Button3 = button("Button3", QStringLiteral("OK"), {370, 422, 93, 27}, &TForm10::Button3Click);

    // The window sees every key before its controls.
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);
    installEventFilter(this);
}

void TForm10::ShowSelection()
{
    boxes[0]->setFocus();
    platform_.RunModal(*this);
}

FieldSelection TForm10::Selection() const
{
    FieldSelection s;
    for (size_t i = 0; i < boxes.size(); ++i)
        s.boxes[i] = boxes[i]->isChecked();
    return s;
}

void TForm10::Button1Click()
{
    for (QCheckBox* b : boxes)
        b->setChecked(true);
}

void TForm10::Button2Click()
{
    for (QCheckBox* b : boxes)
        b->setChecked(false);
}

void TForm10::Button3Click()
{
    accept();
}

bool TForm10::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape) {
        reject();
        return true;
    }
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        Button3->click();
        return true;
    }
    return false;
}
