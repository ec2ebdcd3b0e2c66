#include "Unit11.h"

#include "cardstore.h"
#include "picking.h"
#include "platform.h"
#include "version.h"
#include "windowlinks.h"

#include <QLineEdit>

TForm11::TForm11(WindowContext& context)
    : OrderRangeDialog(
        {QStringLiteral("Card picking - CARDOMO  " CARDOMO_VERSION_MAJOR_MINOR " beta"),
            QStringLiteral("Picking up the cards by the index number"), QStringLiteral("The First"),
            QStringLiteral("The Last"), QStringLiteral("Start index"), QStringLiteral("End index"),
            QStringLiteral("to"), QStringLiteral("The first card to pick"), QStringLiteral("The last card to pick"),
            QStringLiteral("&Pick"), QStringLiteral("Clo&se   ESC")},
        context.platform),
      context_(context)
{
    setObjectName(QStringLiteral("Form11"));
}

void TForm11::ShowPicking()
{
    platform_.RunModal(*this);
}

void TForm11::Button1Click()
{
    CardStore& s = context_.store;
    const OrderRange range = CheckOrderRange(Edit1->text(), Edit2->text(), s.CardCount);
    if (!range.Accepted()) {
        platform_.Message(range.refusal);
        return;
    }
    hide();
    context_.windows.main->storeShownCard();
    if (PickRange(s, range))
        context_.windows.picked->showPicked();
    done(QDialog::Accepted);
}
