#include "aloitus.h"

#include "fonts.h"
#include "placement.h"
#include "version.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const QColor PanelColour(240, 240, 240);

QLabel* Text(const char* name, const QString& text, QWidget* parent, int pixels, bool bold, const QColor& colour)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(ArialPx(pixels, bold));
    l->setAlignment(Qt::AlignCenter);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, colour);
    l->setPalette(p);
    return l;
}
}  // namespace

TfrmAloitus::TfrmAloitus(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAloitus"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setFixedSize(613, 550);
    CentreOnScreen(*this);
    // The texts have colours of their own (red, blue, black): the window
    // behind them is light whatever the desktop's palette.
    setPalette(QPalette(PanelColour));
    setAutoFillBackground(true);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Raised);
    Panel1->setLineWidth(10);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(Panel1);

    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setPixmap(QPixmap(QStringLiteral(":/cardomo.png")));
    ProgramIcon->setFixedSize(64, 64);
    Label1 = Text("Label1", QStringLiteral("CARDOMO " CARDOMO_VERSION_MAJOR_MINOR), Panel1, 24, true, Qt::red);
    Label2 = Text("Label2", QStringLiteral("Note Card Software"), Panel1, 16, true, Qt::blue);
    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(QPixmap(QStringLiteral(":/cards.png")));
    Image1->setFixedSize(329, 259);
    Label3 = Text("Label3", QStringLiteral("beta"), Panel1, 14, true, Qt::black);
    Label4 = Text("Label4", QStringLiteral("  Version " CARDOMO_VERSION_FULL "     "), Panel1, 12, false, Qt::black);
    Label5 = Text("Label5", QStringLiteral("Made by the Note Card Software team"), Panel1, 12, false, Qt::black);

    // The icon beside the program's name, the picture below, the version and
    // the maker at the foot.
    auto* heading = new QHBoxLayout;
    heading->addStretch(1);
    heading->addWidget(ProgramIcon);
    heading->addSpacing(16);
    auto* names = new QVBoxLayout;
    names->addWidget(Label1);
    names->addWidget(Label2);
    heading->addLayout(names);
    heading->addStretch(1);

    auto* column = new QVBoxLayout(Panel1);
    column->setContentsMargins(24, 24, 24, 18);
    column->addLayout(heading);
    column->addStretch(1);
    column->addWidget(Image1, 0, Qt::AlignHCenter);
    column->addStretch(1);
    column->addWidget(Label3);
    column->addWidget(Label4);
    column->addWidget(Label5);

    Timer1 = new QTimer(this);
    Timer1->setInterval(2500);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &QDialog::accept);
    Timer1->start();
}
