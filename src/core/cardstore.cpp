#include "cardstore.h"

void CardStore::RenewTables()
{
    CardRows().swap(CardTable);
    CardRows().swap(PickedTable);
    CardTable.resize(static_cast<size_t>(MaxCardCount));
}

void CardStore::ReleaseTables()
{
    CardRows().swap(CardTable);
    CardRows().swap(PickedTable);
}

QString MakeCardId(const QDateTime& localNow)
{
    const QDate d = localNow.date();
    const QTime t = localNow.time();
    auto two = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    return QStringLiteral("y") + QString::number(d.year()) + QStringLiteral("m") + two(d.month()) + QStringLiteral("d")
        + two(d.day()) + QStringLiteral("h") + two(t.hour()) + QStringLiteral("mn") + two(t.minute())
        + QStringLiteral("s") + two(t.second()) + QStringLiteral("ms")
        + QStringLiteral("%1").arg(t.msec(), 3, 10, QLatin1Char('0'));
}
