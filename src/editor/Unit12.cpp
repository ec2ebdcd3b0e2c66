#include "Unit12.h"

#include <QLabel>
#include <QVBoxLayout>

TForm12::TForm12(QWidget* parent) : QDialog(parent)
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(QStringLiteral("Opening - please wait... "));
    Label1 = new QLabel(QStringLiteral("Please wait..."), this);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(32);
    f.setBold(true);
    Label1->setFont(f);
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
