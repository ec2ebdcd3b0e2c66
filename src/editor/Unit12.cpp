#include "Unit12.h"

#include "fonts.h"

#include <QLabel>
#include <QVBoxLayout>

TForm12::TForm12(WindowContext&) : QDialog(nullptr)
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setObjectName(QStringLiteral("Form12"));
    setWindowTitle(QStringLiteral("Opening - please wait... "));
    Label1 = new QLabel(QStringLiteral("Please wait..."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(ArialPx(32, true));
    Label1->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    setFixedSize(360, 110);
}

void TForm12::ShowOver(QWidget* window)
{
    if (window) {
        const QPoint centre = window->frameGeometry().center();
        move(centre - QPoint(width() / 2, height() / 2));
    }
    show();
}
