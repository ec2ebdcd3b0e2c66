#include "Unit9.h"

#include "placement.h"
#include "rtfdocument.h"
#include "viewerwindow.h"

#include <QMenu>
#include <QTextEdit>

TForm9::TForm9(WindowContext& context) : QMainWindow(nullptr)
{
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QStringLiteral("Manual - CARDOMO 0.5 beta"));
    RichEdit1 = new QTextEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setAccessibleName(QStringLiteral("Manual"));
    PlaceViewer(*this, RichEdit1);
    const CloseMenu menu = AddCloseMenu(*this, context.platform, QStringLiteral("Lomake1"), QStringLiteral("Form"),
        QStringLiteral("Sulje1"), QStringLiteral("Close"), [this] { Sulje1Click(); });
    Lomake1 = menu.menu;
    Sulje1 = menu.entry;
    SetClientSize(*this, {640, 345});
    CentreOnScreen(*this);
}

void TForm9::ShowManual(const QString& path)
{
    LoadRtfFile(*RichEdit1->document(), path);
    RichEdit1->moveCursor(QTextCursor::Start);
    ShowInFront(*this);
}

void TForm9::Sulje1Click()
{
    close();
    RichEdit1->clear();
}
