#include "Unit13.h"

#include "cardstore.h"
#include "picking.h"
#include "platform.h"
#include "version.h"
#include "windowlinks.h"

#include <QLineEdit>

TForm13::TForm13(WindowContext& context)
    : OrderRangeDialog(
        {QStringLiteral("Card Filtering - CARDOMO  " CARDOMO_VERSION_MAJOR_MINOR " beta"),
            QStringLiteral("Filtering the cards by index number"), QStringLiteral("The first"),
            QStringLiteral("The last"), QStringLiteral("Start index:"), QStringLiteral("End index:"), QString(),
            QStringLiteral("The first card to filter"), QStringLiteral("The last card to filter"),
            QStringLiteral("&Filter"), QStringLiteral("Clo&se  ESC")},
        context.platform),
      context_(context)
{
    setObjectName(QStringLiteral("Form13"));
}

void TForm13::ShowFiltering()
{
    platform_.RunModal(*this);
}

void TForm13::Button1Click()
{
    const OrderRange range = FilterRange(context_.store, Edit1->text(), Edit2->text());
    if (!range.Accepted()) {
        platform_.Message(range.refusal);
        return;
    }
    context_.windows.picked->showCard();
    done(QDialog::Accepted);
}
