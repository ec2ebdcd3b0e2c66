#include "Unit17.h"

#include "editfind.h"
#include "fonts.h"
#include "frm2uusi6.h"
#include "listingtext.h"
#include "wiring.h"

#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TForm17::TForm17(WindowContext& context) : QDialog(nullptr), context_(context), platform_(context.platform)
{
    setObjectName(QStringLiteral("Form17"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("FIND a word or part of it"));
    setFixedSize(366, 105);
    move(800, 321);
    setModal(false);

    setFont(ArialPx(11));
    Label1 = new QLabel(QStringLiteral("Find what:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(16, 26);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Label1->setBuddy(Edit1);
    Edit1->setGeometry(73, 21, 176, 21);
    Edit1->setToolTip(QStringLiteral("The search is case sensitive and is performed from the cursor forward"));
    Button1 = new QPushButton(QStringLiteral("Find Next"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(272, 20, 75, 24);
    Button2 = new QPushButton(QStringLiteral("Close"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(272, 50, 75, 23);
    for (QPushButton* b : {Button1, Button2}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    Wire(Button1, platform_, this, &TForm17::Button1Click);
    connect(Edit1, &QLineEdit::returnPressed, Button1, &QPushButton::click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::close);
    Button1->installEventFilter(this);
}

void TForm17::ShowFind()
{
    show();
    raise();
    activateWindow();
    Edit1->setFocus();
}

void TForm17::Button1Click()
{
    FindNextInEditor(platform_, *context_.windows.form2->memoLISTAUS, Edit1->text());
}

bool TForm17::eventFilter(QObject* watched, QEvent* event)
{
    // Find Next runs also when its button receives the focus from the
    // keyboard (Tab from the text box). A mouse press that gives it the focus
    // is followed by a click, which runs it; the focus coming back with the
    // window does not run it.
    if (watched == Button1 && event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
            RunCommand(platform_, [this] { Button1Click(); });
    }
    return QDialog::eventFilter(watched, event);
}
