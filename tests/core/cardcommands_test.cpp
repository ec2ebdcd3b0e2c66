// The card commands as operations on the card store.
#include "cardcommands.h"
#include "support/qtprinters.h"

#include <gtest/gtest.h>

namespace {

// A store holding cards titled by the letters of titles, ids "id" + letter.
CardStore StoreOf(const QString& titles, int current)
{
    CardStore s;
    s.RenewTables();
    s.FileOpen = true;
    s.CardCount = static_cast<int>(titles.size());
    for (int i = 0; i < s.CardCount; ++i) {
        s.CardTable[static_cast<size_t>(i)][0] = titles[i];
        s.CardTable[static_cast<size_t>(i)][MemoCell] = QStringLiteral("memo ") + titles[i];
        s.CardTable[static_cast<size_t>(i)][CardIdCell] = QStringLiteral("id") + titles[i];
    }
    s.CurrentCard = current;
    return s;
}

QString Titles(const CardStore& s)
{
    QString t;
    for (int i = 0; i < s.CardCount; ++i)
        t += s.CardTable[static_cast<size_t>(i)][0].isEmpty() ? QStringLiteral("_")
                                                              : s.CardTable[static_cast<size_t>(i)][0];
    return t;
}

}  // namespace

TEST(CardCommands, StartCardFileMakesOneEmptyCard)
{
    CardStore s = StoreOf(QStringLiteral("abc"), 2);
    s.PickedTable.resize(2);
    s.CardFileChanged = false;
    StartCardFile(s, QStringLiteral("y2021"));
    EXPECT_TRUE(s.FileOpen);
    EXPECT_EQ(s.CardCount, 1);
    EXPECT_EQ(s.CurrentCard, 0);
    EXPECT_TRUE(CardFieldsEmpty(s.CardTable[0]));
    EXPECT_EQ(s.CardTable[0][CardIdCell], QStringLiteral("y2021"));
    EXPECT_TRUE(s.CardTable[1][0].isEmpty());
    EXPECT_TRUE(s.PickedTable.empty());
    EXPECT_EQ(s.CardTable.size(), 32000u);
    EXPECT_FALSE(s.CardFileChanged);
}

TEST(CardCommands, AppendAnEmptyCardUntilTheCardFileIsFull)
{
    CardStore s = StoreOf(QStringLiteral("ab"), 0);
    ASSERT_TRUE(AppendEmptyCard(s, QStringLiteral("new")));
    EXPECT_EQ(Titles(s), QStringLiteral("ab_"));
    EXPECT_EQ(s.CurrentCard, 2);
    EXPECT_EQ(s.CardTable[2][CardIdCell], QStringLiteral("new"));
    EXPECT_TRUE(s.CardFileChanged);

    s.CardCount = s.MaxCardCount;
    s.CardFileChanged = false;
    EXPECT_FALSE(AppendEmptyCard(s, QStringLiteral("more")));
    EXPECT_EQ(s.CardCount, 32000);
    EXPECT_EQ(s.CurrentCard, 2);
    EXPECT_FALSE(s.CardFileChanged);
}

TEST(CardCommands, DeleteInItsThreeCases)
{
    struct Case {
        const char* what;
        QString titles;
        int current;
        QString after;
        int currentAfter;
    };
    const Case cases[] = {
        {"a middle card: the next takes its number", QStringLiteral("abcd"), 1, QStringLiteral("acd"), 1},
        {"the first card", QStringLiteral("abcd"), 0, QStringLiteral("bcd"), 0},
        {"the last card: the one before becomes current", QStringLiteral("abcd"), 3, QStringLiteral("abc"), 2},
        {"the only card: emptied, its Card ID kept", QStringLiteral("a"), 0, QStringLiteral("_"), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CardStore s = StoreOf(c.titles, c.current);
        const Card deleted = s.CardTable[static_cast<size_t>(c.current)];
        DeleteCurrentCard(s);
        EXPECT_EQ(Titles(s), c.after);
        EXPECT_EQ(s.CurrentCard, c.currentAfter);
        EXPECT_EQ(s.DeletedCard, deleted);
        EXPECT_TRUE(s.DeletedCardHeld);
        EXPECT_TRUE(s.CardFileChanged);
        // Rows at and beyond CardCount hold no card.
        const Card& beyond = s.CardTable[static_cast<size_t>(s.CardCount)];
        EXPECT_TRUE(CardFieldsEmpty(beyond) && beyond[CardIdCell].isEmpty());
    }
    CardStore only = StoreOf(QStringLiteral("a"), 0);
    DeleteCurrentCard(only);
    EXPECT_EQ(only.CardTable[0][CardIdCell], QStringLiteral("ida"));
    EXPECT_TRUE(only.CardTable[0][MemoCell].isEmpty());
}

TEST(CardCommands, RestoreBringsTheLastDeletedCardBackOnce)
{
    CardStore s = StoreOf(QStringLiteral("abc"), 0);
    EXPECT_EQ(RestoreDeletedCard(s), RestoreOutcome::NothingHeld);
    DeleteCurrentCard(s);  // a
    DeleteCurrentCard(s);  // b: only the last deleted comes back
    EXPECT_EQ(RestoreDeletedCard(s), RestoreOutcome::Restored);
    EXPECT_EQ(Titles(s), QStringLiteral("cb"));
    EXPECT_EQ(s.CurrentCard, 1);
    EXPECT_EQ(s.CardTable[1][CardIdCell], QStringLiteral("idb"));
    EXPECT_FALSE(s.DeletedCardHeld);
    EXPECT_EQ(RestoreDeletedCard(s), RestoreOutcome::NothingHeld);

    DeleteCurrentCard(s);
    s.CardCount = s.MaxCardCount;
    EXPECT_EQ(RestoreDeletedCard(s), RestoreOutcome::CardFileFull);
    EXPECT_TRUE(s.DeletedCardHeld);
    s.FileOpen = false;
    EXPECT_EQ(RestoreDeletedCard(s), RestoreOutcome::NothingHeld);
}

TEST(CardCommands, CopyAndPasteCarryFieldsOneToEighteen)
{
    CardStore s = StoreOf(QStringLiteral("abc"), 0);
    CopyCurrentCard(s);
    EXPECT_EQ(s.CopiedCard[0], QStringLiteral("a"));
    EXPECT_EQ(s.CopiedCard[MemoCell], QStringLiteral("memo a"));
    s.CurrentCard = 2;
    s.CardFileChanged = false;
    PasteOverCurrentCard(s);
    EXPECT_EQ(Titles(s), QStringLiteral("aba"));
    EXPECT_EQ(s.CardTable[2][MemoCell], QStringLiteral("memo a"));
    EXPECT_EQ(s.CardTable[2][CardIdCell], QStringLiteral("idc"));  // the card keeps its own
    EXPECT_TRUE(s.CardFileChanged);
}
