#include "Unit15.h"

#include "editfind.h"
#include "fieldeditors.h"
#include "fonts.h"
#include "windowlinks.h"
#include "wiring.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TForm15::TForm15(WindowContext& context) : QDialog(nullptr), context_(context), platform_(context.platform)
{
    setObjectName(QStringLiteral("Form15"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Find From the Memo Field"));
    setFixedSize(399, 133);
    move(800, 257);
    setModal(false);

    setFont(ArialPx(11));
    Label1 = new QLabel(QStringLiteral("Find what:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(16, 35);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Label1->setBuddy(Edit1);
    Edit1->setGeometry(81, 32, 201, 21);
    Edit1->setToolTip(QStringLiteral("The search is case sensitive and it is performed from the cursor forward"));
    Button1 = new QPushButton(QStringLiteral("Find Next"), this);
    Button1->setGeometry(304, 30, 75, 25);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Cancel"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(304, 80, 75, 25);
    for (QPushButton* b : {Button1, Button2}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    Wire(Button1, platform_, this, &TForm15::Button1Click);
    connect(Edit1, &QLineEdit::returnPressed, Button1, &QPushButton::click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::close);
}

void TForm15::ShowFind()
{
    show();
    raise();
    activateWindow();
    Edit1->setFocus();
}

void TForm15::Button1Click()
{
    FindNextInEditor(platform_, *context_.windows.main->editors->memoMUISTIINPANO, Edit1->text());
}
