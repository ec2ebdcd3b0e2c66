#include "cardfind.h"

#include "core/cardrows.h"

#include <gtest/gtest.h>

namespace {

const FieldTest ContainsX{1, MatchOperator::Contains, QStringLiteral("x")};

FieldTest Field1(MatchOperator op, const char* s)
{
    return FieldTest{1, op, QString::fromUtf8(s)};
}

TEST(FindMatch, NearestMatchEitherWayWithoutWrappingOrTestingTheCurrentRow)
{
    using D = SearchDirection;
    using S = FindStatus;
    // Field 1 of rows 0..4; the table has room beyond them (empty rows).
    const CardStore s = OpenStore(
        {TitledCard("x", "1"), TitledCard("y", "2"), TitledCard("x", "3"), TitledCard("y", "4"), TitledCard("x", "5")});
    struct Case {
        const char* name;
        FieldTest test;
        int current;
        D direction;
        S status;
        int row;
    } cases[] = {
        {"next skips a card that does not match", ContainsX, 0, D::Forward, S::Found, 2},
        {"next from the last match", ContainsX, 2, D::Forward, S::Found, 4},
        {"previous finds the nearest before", ContainsX, 4, D::Backward, S::Found, 2},
        {"previous down to the first card", ContainsX, 2, D::Backward, S::Found, 0},
        {"the current card is not tested, forward", Field1(MatchOperator::Contains, "y"), 3, D::Forward, S::NotFound,
            -1},
        {"the current card is not tested, backward", Field1(MatchOperator::Contains, "y"), 1, D::Backward, S::NotFound,
            -1},
        {"no wrap past the last card", ContainsX, 3, D::Forward, S::Found, 4},
        {"next at the last card: nothing to search", ContainsX, 4, D::Forward, S::NothingToSearch, -1},
        {"previous at the first card: nothing to search", ContainsX, 0, D::Backward, S::NothingToSearch, -1},
        {"~ with an empty string: not found", Field1(MatchOperator::Contains, ""), 0, D::Forward, S::NotFound, -1},
        {"<> with an empty string: one forward", Field1(MatchOperator::NotContains, ""), 1, D::Forward, S::Found, 2},
        {"<> with an empty string: one back", Field1(MatchOperator::NotContains, ""), 1, D::Backward, S::Found, 0},
        {"rows beyond the count are not cards", Field1(MatchOperator::Equal, ""), 3, D::Forward, S::NotFound, -1},
        {"case counts", Field1(MatchOperator::Contains, "X"), 0, D::Forward, S::NotFound, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FindOutcome out = FindMatch(s.CardTable, s.CardCount, c.current, c.direction, c.test);
        EXPECT_EQ(out.status, c.status);
        EXPECT_EQ(out.row, c.row);
    }
}

TEST(FindMatch, TakesAnyTest)
{
    const CardRows rows = {TitledCard("a", "1"), TitledCard("b", "2"), TitledCard("c", "3")};
    int tested = 0;
    const auto isC = [&](const Card& r) {
        ++tested;
        return r[0] == QStringLiteral("c");
    };
    const FindOutcome out = FindMatch(rows, 3, 0, SearchDirection::Forward, isC);
    EXPECT_EQ(out.status, FindStatus::Found);
    EXPECT_EQ(out.row, 2);
    EXPECT_EQ(tested, 2);  // rows 1 and 2, not the current row 0
}

TEST(FindCard, MovesCurrentCardOnlyWhenFound)
{
    // Three cards x, y, x with the first shown: next shows card 3, and a
    // second next (last card shown) does nothing and says nothing.
    CardStore s = OpenStore({TitledCard("x", "1"), TitledCard("y", "2"), TitledCard("x", "3")});
    s.CurrentCard = 0;
    FindOutcome out = FindCard(s, SearchDirection::Forward, ContainsX);
    EXPECT_EQ(out.status, FindStatus::Found);
    EXPECT_EQ(s.CurrentCard, 2);
    out = FindCard(s, SearchDirection::Forward, ContainsX);
    EXPECT_EQ(out.status, FindStatus::NothingToSearch);
    EXPECT_EQ(s.CurrentCard, 2);

    out = FindCard(s, SearchDirection::Backward, Field1(MatchOperator::Contains, "z"));
    EXPECT_EQ(out.status, FindStatus::NotFound);
    EXPECT_EQ(s.CurrentCard, 2);
    EXPECT_FALSE(s.CardFileChanged);

    const BooleanTest yOrNothing{1, QStringLiteral("y"), BooleanConnective::Or, 19, QStringLiteral("none")};
    out = FindCard(s, SearchDirection::Backward, yOrNothing);
    EXPECT_EQ(out.status, FindStatus::Found);
    EXPECT_EQ(s.CurrentCard, 1);
    EXPECT_EQ(NotFoundText(), QStringLiteral("Not found"));
}

TEST(FindCard, WithoutAnOpenCardFileNothingIsSearched)
{
    CardStore s = OpenStore({TitledCard("x", "1"), TitledCard("x", "2")});
    s.CurrentCard = 0;
    s.ReleaseTables();  // Close: the counts keep stale values
    s.FileOpen = false;
    EXPECT_EQ(FindCard(s, SearchDirection::Forward, ContainsX).status, FindStatus::NothingToSearch);
    EXPECT_EQ(FindCard(s, SearchDirection::Backward, BooleanTest{}).status, FindStatus::NothingToSearch);
    EXPECT_EQ(s.CurrentCard, 0);
}

TEST(FindPicked, SearchesThePickedSetAndMovesCurrentPicked)
{
    CardStore s = OpenStore({TitledCard("x", "1"), TitledCard("x", "2"), TitledCard("x", "3")});
    s.CurrentCard = 0;
    s.PickedTable = {TitledCard("y", "p1"), TitledCard("x", "p2"), TitledCard("y", "p3")};
    s.PickedCount = 3;
    s.CurrentPicked = 2;
    FindOutcome out = FindPicked(s, SearchDirection::Backward, ContainsX);
    EXPECT_EQ(out.status, FindStatus::Found);
    EXPECT_EQ(s.CurrentPicked, 1);
    EXPECT_EQ(s.CurrentCard, 0);
    out = FindPicked(s, SearchDirection::Backward, ContainsX);
    EXPECT_EQ(out.status, FindStatus::NotFound);
    EXPECT_EQ(s.CurrentPicked, 1);
    out = FindPicked(s, SearchDirection::Forward,
        BooleanTest{1, QStringLiteral("y"), BooleanConnective::Not, 19, QStringLiteral("p1")});
    EXPECT_EQ(out.status, FindStatus::Found);
    EXPECT_EQ(s.CurrentPicked, 2);

    // A picked set of one card: neither search has anything to search.
    s.PickedTable = {TitledCard("x", "p1")};
    s.PickedCount = 1;
    s.CurrentPicked = 0;
    EXPECT_EQ(FindPicked(s, SearchDirection::Forward, ContainsX).status, FindStatus::NothingToSearch);
    EXPECT_EQ(FindPicked(s, SearchDirection::Backward, ContainsX).status, FindStatus::NothingToSearch);
    EXPECT_EQ(s.CurrentPicked, 0);
}

}  // namespace
