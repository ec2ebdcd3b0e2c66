#include "aloitus.h"

#include <QFrame>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace {
QLabel* Text(const QString& text, QWidget* parent, int pixels, bool bold, const QColor& colour)
{
    auto* l = new QLabel(text, parent);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    l->setFont(f);
    l->setAlignment(Qt::AlignCenter);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, colour);
    l->setPalette(p);
    return l;
}
}  // namespace

TfrmAloitus::TfrmAloitus(QWidget* parent) : QDialog(parent)
{
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setFixedSize(613, 550);

    auto* panel = new QFrame(this);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setLineWidth(10);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(panel);

    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(30, 30, 30, 30);
    column->addStretch(2);
    column->addWidget(Text(QStringLiteral("CARDOMO 0.5"), panel, 24, true, Qt::red));
    column->addWidget(Text(QStringLiteral("Note Card Software"), panel, 16, true, Qt::blue));
    column->addStretch(3);
    column->addWidget(Text(QStringLiteral("beta"), panel, 14, false, Qt::black));
    column->addWidget(Text(QStringLiteral("  Version 0.5.1.0.2     "), panel, 12, false, Qt::black));
    column->addWidget(Text(QStringLiteral("Made by the Note Card Software team"), panel, 12, false, Qt::black));
    column->addStretch(1);

    Timer1 = new QTimer(this);
    Timer1->setInterval(2500);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &QDialog::accept);
    Timer1->start();
}
