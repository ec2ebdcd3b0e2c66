#include "picking.h"

#include "core/cardrows.h"
#include "generalerror.h"

#include <gtest/gtest.h>

namespace {

// Nine cards; field 8 (Topic) holds "hit" in cards 2, 5 and 9.
CardStore NineCards()
{
    std::vector<Card> cards;
    for (int k = 1; k <= 9; ++k) {
        const QByteArray id = QByteArray::number(k);
        const char* topic = (k == 2 || k == 5 || k == 9) ? "a hit here" : "miss";
        cards.push_back(CardWith({{0, "title"}, {7, topic}, {CardIdCell, id.constData()}}));
    }
    CardStore s = OpenStore(cards);
    s.CurrentCard = 3;
    return s;
}

const FieldTest TopicHit{8, MatchOperator::Contains, QStringLiteral("hit")};

void ExpectPickedSet(const CardStore& s, const char* ids)
{
    EXPECT_EQ(IdsOf(s.PickedTable, s.PickedCount), QString::fromLatin1(ids));
    EXPECT_EQ(s.PickedTable.size(), static_cast<size_t>(s.PickedCount));
    EXPECT_EQ(s.CurrentPicked, s.PickedCount - 1);
    EXPECT_TRUE(s.PickedWindowActive);
}

TEST(PickCards, CopiesTheMatchingCardsInOrderAndShowsTheLast)
{
    CardStore s = NineCards();
    const PickOutcome out = PickCards(s, TopicHit);
    EXPECT_EQ(out.status, PickStatus::Picked);
    EXPECT_EQ(out.count, 3);
    EXPECT_EQ(s.PickedCount, 3);
    ExpectPickedSet(s, "2 5 9");
    EXPECT_EQ(s.PickedTable[2], s.CardTable[8]);  // whole copies, all 19 cells
    // The card file is not touched.
    EXPECT_EQ(s.CardCount, 9);
    EXPECT_EQ(s.CurrentCard, 3);
    EXPECT_FALSE(s.CardFileChanged);
    EXPECT_EQ(IdsOf(s.CardTable, 9), QStringLiteral("1 2 3 4 5 6 7 8 9"));
}

TEST(PickCards, OneMatchAndEveryCard)
{
    CardStore s = NineCards();
    EXPECT_EQ(PickCards(s, FieldTest{19, MatchOperator::Equal, QStringLiteral("7")}).count, 1);
    ExpectPickedSet(s, "7");
    EXPECT_EQ(s.CurrentPicked, 0);

    // "<>" with an empty string picks every card, in card file order, and
    // none of the empty rows beyond the cards.
    EXPECT_EQ(PickCards(s, FieldTest{1, MatchOperator::NotContains, QString()}).count, 9);
    ExpectPickedSet(s, "1 2 3 4 5 6 7 8 9");
}

TEST(PickCards, BooleanPick)
{
    CardStore s = NineCards();
    s.CardTable[4][0] = QStringLiteral("other");  // card 5
    const BooleanTest hitNotOther{8, QStringLiteral("hit"), BooleanConnective::Not, 1, QStringLiteral("other")};
    const PickOutcome out = PickCards(s, hitNotOther);
    EXPECT_EQ(out.status, PickStatus::Picked);
    EXPECT_EQ(out.count, 2);
    ExpectPickedSet(s, "2 9");
}

TEST(PickCards, NothingFoundLeavesTheCountsButTheFlagIsSet)
{
    CardStore s = NineCards();
    s.PickedCount = 4;  // stale values from an earlier picked set
    s.CurrentPicked = 1;
    const PickOutcome out = PickCards(s, FieldTest{8, MatchOperator::Contains, QStringLiteral("HIT")});
    EXPECT_EQ(out.status, PickStatus::NotFound);
    EXPECT_EQ(out.count, 0);
    EXPECT_EQ(s.PickedCount, 4);
    EXPECT_EQ(s.CurrentPicked, 1);
    EXPECT_TRUE(s.PickedWindowActive);  // set before the search
    EXPECT_TRUE(s.PickedTable.empty());  // emptied before the search

    s.PickedWindowActive = false;
    EXPECT_EQ(PickCards(s, BooleanTest{}).status, PickStatus::NotFound);  // both strings empty
    EXPECT_TRUE(s.PickedWindowActive);
}

TEST(PickCards, WithoutAnOpenCardFileNothingChanges)
{
    CardStore s = NineCards();
    s.ReleaseTables();
    s.FileOpen = false;
    EXPECT_EQ(PickCards(s, TopicHit).status, PickStatus::NoCardFile);
    EXPECT_EQ(PickCards(s, BooleanTest{}).status, PickStatus::NoCardFile);
    EXPECT_FALSE(s.PickedWindowActive);
}

TEST(CheckOrderRange, ChecksInOrderWithTheirMessages)
{
    const QString empty = QStringLiteral("One of the fields is empty");
    const QString below1 = QStringLiteral("The first index number can not be smaller than 1");
    const QString crossed = QStringLiteral("The first index number can not be greater than the last index number");
    const QString beyond =
        QStringLiteral("The last index number can not be greater than the number of cards in whole 9");
    struct Case {
        const char* first;
        const char* last;
        QString refusal;
        int from, to;
    } cases[] = {
        {"", "", empty, 0, 0},
        {"", "3", empty, 0, 0},
        {"3", "", empty, 0, 0},
        {"", "abc", empty, 0, 0},  // the empty check comes before reading the numbers
        {"0", "5", below1, 0, 5},
        {"0", "99999", below1, 0, 99999},
        {"-2", "-5", below1, -2, -5},
        {"5", "4", crossed, 5, 4},
        {"10", "3", crossed, 10, 3},
        {"1", "10", beyond, 1, 10},
        {"10", "10", beyond, 10, 10},
        {"1", "9", QString(), 1, 9},
        {"9", "9", QString(), 9, 9},
        {"03", "007", QString(), 3, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "'" << c.first << "'..'" << c.last << "'");
        const OrderRange r = CheckOrderRange(QString::fromLatin1(c.first), QString::fromLatin1(c.last), 9);
        EXPECT_EQ(r.refusal, c.refusal);
        EXPECT_EQ(r.Accepted(), c.refusal.isEmpty());
        EXPECT_EQ(r.first, c.from);
        EXPECT_EQ(r.last, c.to);
    }
    EXPECT_EQ(CheckOrderRange(QStringLiteral("1"), QStringLiteral("32001"), 32000).refusal,
        QStringLiteral("The last index number can not be greater than the number of cards in whole 32000"));
}

TEST(CheckOrderRange, TextThatIsNoNumberEndsInTheGeneralErrorReport)
{
    struct Case {
        const char* first;
        const char* last;
        const char* message;
    } cases[] = {
        {"abc", "5", "'abc' is not a valid integer value"},
        {"2", "5x", "'5x' is not a valid integer value"},
        {"x", "y", "'x' is not a valid integer value"},  // the first box is read first
        {" 1", "5", "' 1' is not a valid integer value"},
        {"1", "99999999999", "'99999999999' is not a valid integer value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        try {
            CheckOrderRange(QString::fromLatin1(c.first), QString::fromLatin1(c.last), 9);
            ADD_FAILURE() << "no error";
        } catch (const GeneralError& e) {
            EXPECT_EQ(e.text(), QString::fromLatin1(c.message));
        }
    }
}

TEST(PickRange, CopiesTheCardsOfTheRangeInOrder)
{
    struct Case {
        const char* first;
        const char* last;
        const char* ids;
    } cases[] = {
        {"1", "9", "1 2 3 4 5 6 7 8 9"},
        {"4", "4", "4"},
        {"2", "5", "2 3 4 5"},
        {"9", "9", "9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ids);
        CardStore s = NineCards();
        const OrderRange r = CheckOrderRange(QString::fromLatin1(c.first), QString::fromLatin1(c.last), s.CardCount);
        ASSERT_TRUE(r.Accepted());
        EXPECT_TRUE(PickRange(s, r));
        ExpectPickedSet(s, c.ids);
        EXPECT_EQ(s.CurrentCard, 3);
        EXPECT_EQ(s.CardCount, 9);
    }
}

TEST(PickRange, ARefusedRangeChangesNothing)
{
    CardStore s = NineCards();
    s.PickedCount = 2;
    s.CurrentPicked = 1;
    const OrderRange beyond = CheckOrderRange(QStringLiteral("1"), QStringLiteral("10"), s.CardCount);
    EXPECT_EQ(
        beyond.refusal, QStringLiteral("The last index number can not be greater than the number of cards in whole 9"));
    EXPECT_FALSE(PickRange(s, beyond));
    OrderRange outside;  // accepted by nobody: 0..0
    EXPECT_FALSE(PickRange(s, outside));
    outside.first = 5;
    outside.last = 10;
    EXPECT_FALSE(PickRange(s, outside));
    EXPECT_FALSE(s.PickedWindowActive);
    EXPECT_EQ(s.PickedCount, 2);
    EXPECT_EQ(s.CurrentPicked, 1);
}

// A picked set of five: cards 1 to 5 with field 8 "a", "b", "a", "b", "a".
CardStore FivePicked()
{
    CardStore s = NineCards();
    s.PickedTable.clear();
    const char* topics[] = {"a", "b", "a", "b", "a"};
    for (int k = 0; k < 5; ++k) {
        const QByteArray id = "p" + QByteArray::number(k + 1);
        s.PickedTable.push_back(CardWith({{7, topics[k]}, {CardIdCell, id.constData()}}));
    }
    s.PickedCount = 5;
    s.CurrentPicked = 2;
    return s;
}

TEST(FilterPicked, KeepsThePassingCardsInTheirOrder)
{
    CardStore s = FivePicked();
    PickOutcome out = FilterPicked(s, FieldTest{8, MatchOperator::Equal, QStringLiteral("a")});
    EXPECT_EQ(out.status, PickStatus::Picked);
    EXPECT_EQ(out.count, 3);
    EXPECT_EQ(s.PickedCount, 3);
    ExpectPickedSet(s, "p1 p3 p5");
    EXPECT_EQ(s.PickedTable[1][7], QStringLiteral("a"));

    s.PickedWindowActive = false;
    out = FilterPicked(s, BooleanTest{8, QStringLiteral("a"), BooleanConnective::Not, 19, QStringLiteral("p3")});
    EXPECT_EQ(out.count, 2);
    ExpectPickedSet(s, "p1 p5");
    EXPECT_EQ(IdsOf(s.CardTable, 9), QStringLiteral("1 2 3 4 5 6 7 8 9"));  // the card file is not touched
}

TEST(FilterPicked, NothingFoundLeavesThePickedSetUntouched)
{
    CardStore s = FivePicked();
    const CardRows before = s.PickedTable;
    PickOutcome out = FilterPicked(s, FieldTest{8, MatchOperator::Contains, QStringLiteral("c")});
    EXPECT_EQ(out.status, PickStatus::NotFound);
    EXPECT_EQ(s.PickedTable, before);
    EXPECT_EQ(s.PickedCount, 5);
    EXPECT_EQ(s.CurrentPicked, 2);
    EXPECT_TRUE(s.PickedWindowActive);

    out = FilterPicked(s, BooleanTest{8, QStringLiteral("a"), BooleanConnective::And, 8, QStringLiteral("b")});
    EXPECT_EQ(out.status, PickStatus::NotFound);
    EXPECT_EQ(s.PickedTable, before);
    EXPECT_EQ(s.CurrentPicked, 2);
}

TEST(FilterRange, NarrowsToTheRangeOrRefusesWithItsMessage)
{
    struct Case {
        const char* first;
        const char* last;
        const char* refusal;
        const char* ids;  // the picked set afterwards
        int current;
    } cases[] = {
        {"2", "3", "", "p2 p3", 1},
        {"1", "5", "", "p1 p2 p3 p4 p5", 4},
        {"5", "5", "", "p5", 0},
        {"", "3", "One of the fields is empty", "p1 p2 p3 p4 p5", 2},
        {"0", "3", "The first index number can not be smaller than 1", "p1 p2 p3 p4 p5", 2},
        {"4", "3", "The first index number can not be greater than the last index number", "p1 p2 p3 p4 p5", 2},
        {"2", "6", "The last index number can not be greater than the number of cards in whole 5", "p1 p2 p3 p4 p5", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << ".." << c.last);
        CardStore s = FivePicked();
        const OrderRange r = FilterRange(s, QString::fromLatin1(c.first), QString::fromLatin1(c.last));
        EXPECT_EQ(r.refusal, QString::fromLatin1(c.refusal));
        EXPECT_EQ(IdsOf(s.PickedTable, s.PickedCount), QString::fromLatin1(c.ids));
        EXPECT_EQ(s.CurrentPicked, c.current);
        EXPECT_EQ(s.PickedWindowActive, r.Accepted());
        if (r.Accepted()) {
            EXPECT_EQ(s.PickedTable.size(), static_cast<size_t>(s.PickedCount));
        }
    }

    CardStore s = FivePicked();
    EXPECT_THROW(FilterRange(s, QStringLiteral("1"), QStringLiteral("two")), GeneralError);
    EXPECT_EQ(s.PickedCount, 5);
    EXPECT_FALSE(s.PickedWindowActive);
}

}  // namespace
