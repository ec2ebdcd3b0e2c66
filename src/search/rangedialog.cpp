#include "rangedialog.h"

#include "fonts.h"
#include "keypreview.h"
#include "placement.h"
#include "wiring.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLabel* Label(QWidget* window, const char* name, const QString& text, QPoint at, bool bold = false)
{
    auto* l = new QLabel(text, window);
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(ArialPx(bold ? 13 : 11, bold));
    l->move(at);
    l->adjustSize();
    return l;
}

}  // namespace

OrderRangeDialog::OrderRangeDialog(const Texts& texts, Platform& platform) : QDialog(nullptr), platform_(platform)
{
    // Fixed size, only the close box in the title bar.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowCloseButtonHint);
    setWindowTitle(texts.caption);
    setFixedSize(330, 176);
    CentreOnScreen(*this);
    setFont(ArialPx(11));

    Label1 = Label(this, "Label1", texts.heading, {16, 12}, true);
    Label2 = Label(this, "Label2", texts.firstLabel, {40, 50});
    Label3 = Label(this, "Label3", texts.lastLabel, {190, 50});
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(40, 68, 100, 22);
    Edit1->setToolTip(texts.firstHint);
    Edit1->setAccessibleName(texts.firstLabel);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(190, 68, 100, 22);
    Edit2->setToolTip(texts.lastHint);
    Edit2->setAccessibleName(texts.lastLabel);
    Label4 = Label(this, "Label4", texts.startLabel, {40, 94});
    Label5 = Label(this, "Label5", texts.endLabel, {190, 94});
    Label6 = nullptr;
    if (!texts.between.isEmpty())
        Label6 = Label(this, "Label6", texts.between, {158, 71});
    for (QLabel* l : {Label2, Label4})
        l->setBuddy(Edit1);
    for (QLabel* l : {Label3, Label5})
        l->setBuddy(Edit2);

    Button1 = new QPushButton(texts.command, this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(40, 128, 100, 30);
    Button2 = new QPushButton(texts.close, this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(190, 128, 100, 30);
    for (QPushButton* b : {Button1, Button2}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    Wire(Button1, platform_, [this] { Button1Click(); });
    Wire(Button2, platform_, [this] { Button2Click(); });
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Button1);
    setTabOrder(Button1, Button2);

    for (QWidget* w : std::initializer_list<QWidget*>{this, Edit1, Edit2, Button1, Button2})
        w->installEventFilter(this);
}

void OrderRangeDialog::Button2Click()
{
    Edit1->clear();
    Edit2->clear();
    close();
}

bool OrderRangeDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
        Button2->click();
        return true;
    }
    if (watched != Edit1 && watched != Edit2)
        return false;
    switch (OrderNumberKey(key)) {
    case NumberBoxKey::Enter:
        Button1->click();
        return true;
    case NumberBoxKey::Drop:
        return true;
    case NumberBoxKey::Pass:
        break;
    }
    return false;
}
