#include "ohje6.h"

#include "placement.h"
#include "rtfdocument.h"
#include "viewerwindow.h"

#include <QMenu>
#include <QTextEdit>

TForm8::TForm8(WindowContext& context) : QMainWindow(nullptr)
{
    setObjectName(QStringLiteral("Form8"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Help!  - CARDOMO  0.5  beta"));
    RichEdit1 = new QTextEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setAccessibleName(QStringLiteral("Quick Manual"));
    PlaceViewer(*this, RichEdit1);
    const CloseMenu menu = AddCloseMenu(*this, context.platform, QStringLiteral("Lomake1"), QStringLiteral("&Form"),
        QStringLiteral("Sulje1"), QStringLiteral("&Close   ESC"), [this] { Sulje1Click(); });
    Lomake1 = menu.menu;
    Sulje1 = menu.entry;
    SetClientSize(*this, {455, 313});
    CentreOnScreen(*this);
}

void TForm8::ShowManual(const QString& path)
{
    LoadRtfFile(*RichEdit1->document(), path);
    RichEdit1->moveCursor(QTextCursor::Start);
    ShowInFront(*this);
}

void TForm8::Sulje1Click()
{
    close();
}
