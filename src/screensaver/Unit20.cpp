#include "Unit20.h"

#include "fonts.h"
#include "platform.h"
#include "wiring.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

TForm20::TForm20(WindowContext& context) : QDialog(nullptr), platform_(context.platform)
{
    setObjectName(QStringLiteral("Form20"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("SCREEN SAVER Options - CARDOMO 0.5"));
    setFixedSize(271, 222);
    move(400, 257);
    setFont(ArialPx(11));

    Label1 = new QLabel(QStringLiteral("Choose what kind of graphic patterns Screensaver draws?"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(ArialPx(11, true));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setGeometry(48, 24, 225, 50);

    CheckBox1 = new QCheckBox(QStringLiteral("Ellipses"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->move(88, 80);
    CheckBox1->adjustSize();
    CheckBox1->setChecked(true);
    CheckBox2 = new QCheckBox(QStringLiteral("Rectangles"), this);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox2->move(88, 112);
    CheckBox2->adjustSize();
    CheckBox2->setChecked(true);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(48, 152, 169, 25);
    Button1->setAutoDefault(false);
    Wire(Button1, platform_, this, &TForm20::Button1Click);
}

ScreenSaverShapes TForm20::Shapes() const
{
    return {CheckBox1->isChecked(), CheckBox2->isChecked()};
}

bool TForm20::ChoiceMade()
{
    if (CheckBox1->isChecked() || CheckBox2->isChecked())
        return true;
    platform_.Message(QStringLiteral("Either or both of the Checkboxes must be selected"));
    return false;
}

void TForm20::Button1Click()
{
    if (ChoiceMade())
        accept();
}

void TForm20::reject()
{
    RunCommand(platform_, [this] {
        if (ChoiceMade())
            QDialog::reject();
    });
}
