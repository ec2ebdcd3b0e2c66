#include "Unit19.h"

#include "paragraphs.h"
#include "placement.h"
#include "viewerwindow.h"

#include <QFile>
#include <QMenu>
#include <QPlainTextEdit>

TForm19::TForm19(WindowContext& context) : QMainWindow(nullptr)
{
    setObjectName(QStringLiteral("Form19"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Cardomo v.0.5 beta License"));
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAccessibleName(QStringLiteral("License"));
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QFile licence(QStringLiteral(":/LICENSE.txt"));
    if (licence.open(QIODevice::ReadOnly))
        Memo1->setPlainText(UnwrapParagraphs(QString::fromUtf8(licence.readAll())));
    PlaceViewer(*this, Memo1);
    const CloseMenu menu = AddCloseMenu(*this, context.platform, QStringLiteral("Lomake1"), QStringLiteral("&Form"),
        QStringLiteral("Sulje1"), QStringLiteral("&Close  ESC"), [this] { Sulje1Click(); });
    Lomake1 = menu.menu;
    Sulje1 = menu.entry;
    SetClientSize(*this, {530, 380});
    move(343, 129);
}

void TForm19::ShowLicence()
{
    ShowInFront(*this);
}

void TForm19::Sulje1Click()
{
    close();
}
