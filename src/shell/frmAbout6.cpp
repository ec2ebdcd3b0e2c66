#include "frmAbout6.h"

#include "fonts.h"
#include "placement.h"
#include "platform.h"
#include "version.h"
#include "wiring.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QUrl>

const QString TForm6::WebSite = QStringLiteral("https://notecardsoftware.example/");

namespace {

QLabel* Text(QWidget* parent, const char* name, const QString& text, QPoint at, bool bold = false)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(ArialPx(13, bold));
    l->move(at);
    l->adjustSize();
    return l;
}

}  // namespace

TForm6::TForm6(WindowContext& context) : QDialog(nullptr), platform_(context.platform)
{
    setObjectName(QStringLiteral("Form6"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("CARDOMO  " CARDOMO_VERSION_MAJOR_MINOR "  beta"));
    setFixedSize(371, 373);
    setModal(true);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Sunken);
    Panel1->setGeometry(8, 8, 355, 316);

    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setPixmap(QPixmap(QStringLiteral(":/cardomo.png")));
    ProgramIcon->setGeometry(16, 16, 64, 64);
    ProgramIcon->setAccessibleName(QStringLiteral("Program icon"));

    ProductName =
        Text(Panel1, "ProductName", QStringLiteral("CARDOMO " CARDOMO_VERSION_MAJOR_MINOR "  beta"), {96, 18}, true);
    ProductName->setFont(ArialPx(16, true));
    ProductName->adjustSize();
    Label1 = Text(Panel1, "Label1", QStringLiteral("Note Card Software"), {96, 42});
    Version = Text(Panel1, "Version", QStringLiteral("v. " CARDOMO_VERSION_FULL "         "), {96, 62});
    Copyright = Text(Panel1, "Copyright", QStringLiteral("Made by the Note Card Software team"), {16, 104});
    Comments = Text(Panel1, "Comments", QStringLiteral("Copyright (c) 2021 the Note Card Software team"), {16, 126});
    Label2 = Text(Panel1, "Label2", QStringLiteral("Date - 202105212018"), {16, 166});
    Label3 = Text(Panel1, "Label3", QStringLiteral("The latest update available in"), {16, 222});

    LinkLabel = new QLabel(Panel1);
    LinkLabel->setObjectName(QStringLiteral("LinkLabel"));
    LinkLabel->setFont(ArialPx(13));
    LinkLabel->setTextFormat(Qt::RichText);
    LinkLabel->setText(
        QStringLiteral("<a href=\"") + WebSite + QStringLiteral("\">") + WebSite + QStringLiteral("</a>"));
    LinkLabel->setOpenExternalLinks(false);
    LinkLabel->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    LinkLabel->setCursor(Qt::PointingHandCursor);
    LinkLabel->setAccessibleName(QStringLiteral("The product web site"));
    LinkLabel->move(16, 244);
    LinkLabel->adjustSize();
    Label3->setBuddy(LinkLabel);
    connect(LinkLabel, &QLabel::linkActivated, this,
        [this](const QString&) { RunCommand(platform_, [this] { LinkLabelClick(); }); });

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(148, 336, 75, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    CentreOnScreen(*this);
}

void TForm6::LinkLabelClick()
{
    platform_.ShellOpen(QUrl(WebSite));
}
