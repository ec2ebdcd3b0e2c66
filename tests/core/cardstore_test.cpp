#include "cardstore.h"

#include <gtest/gtest.h>

TEST(MakeCardId, StampsEveryPartZeroPadded)
{
    EXPECT_EQ(
        MakeCardId(QDateTime(QDate(2021, 3, 7), QTime(9, 5, 2, 45))), QStringLiteral("y2021m03d07h09mn05s02ms045"));
    EXPECT_EQ(MakeCardId(QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59, 999))),
        QStringLiteral("y1999m12d31h23mn59s59ms999"));
    EXPECT_EQ(
        MakeCardId(QDateTime(QDate(2030, 1, 1), QTime(0, 0, 0, 0))), QStringLiteral("y2030m01d01h00mn00s00ms000"));
}

TEST(CardStore, RenewAllocatesEmptyRowsAndReleaseDropsBothTables)
{
    CardStore store;
    EXPECT_FALSE(store.CardTablePresent());
    store.RenewTables();
    ASSERT_EQ(store.CardTable.size(), 32000u);
    store.CardTable[5][3] = QStringLiteral("x");
    store.PickedTable.resize(2);
    store.RenewTables();
    EXPECT_TRUE(store.CardTable[5][3].isEmpty());
    EXPECT_TRUE(store.PickedTable.empty());
    store.ReleaseTables();
    EXPECT_FALSE(store.CardTablePresent());
}
