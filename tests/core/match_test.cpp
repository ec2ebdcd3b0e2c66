#include "match.h"

#include "core/cardrows.h"

#include <gtest/gtest.h>

namespace {

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}
const QString Smile = QString::fromUtf8("\U0001F642");  // D83D DE42

TEST(FirstOccurrence, GivesTheOneBasedStartOfTheFirstExactRun)
{
    struct Case {
        const char* name;
        QString part;
        QString text;
        qsizetype expected;
    } cases[] = {
        {"inside", U("b"), U("abc"), 2},
        {"whole text", U("abc"), U("abc"), 1},
        {"first of two", U("c"), U("abcabc"), 3},
        {"overlapping runs", U("aa"), U("aaa"), 1},
        {"at the end", U("bc"), U("abc"), 2},
        {"none", U("x"), U("abc"), 0},
        {"empty part", U(""), U("abc"), 0},
        {"empty part and text", U(""), U(""), 0},
        {"part longer than text", U("abcd"), U("abc"), 0},
        {"upper case does not find lower", U("ABC"), U("abc"), 0},
        {"lower case does not find upper", U("abc"), U("xABC"), 0},
        {"a trailing blank counts", U("Smith "), U("John Smith"), 0},
        {"no trimming of the text", U("Smith"), U(" Smith "), 2},
        {"accents are not folded", U("e"), U("café"), 0},
        {"line break of a Memo", U("a\r\nb"), U("xa\r\nb"), 2},
        {"surrogate pair", Smile, U("x") + Smile, 2},
        {"a lone surrogate unit", QString(QChar(0xDE42)), U("x") + Smile, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FirstOccurrence(c.part, c.text), c.expected);
    }
}

TEST(CompareOrdinal, OrdersByUnsignedCodeUnitsWithPrefixesFirst)
{
    struct Case {
        const char* name;
        QString a;
        QString b;
        int expected;
    } cases[] = {
        {"both empty", U(""), U(""), 0},
        {"empty before anything", U(""), U("\x01"), -1},
        {"anything after empty", U("a"), U(""), 1},
        {"equal", U("abc"), U("abc"), 0},
        {"prefix first", U("ab"), U("abc"), -1},
        {"longer after its prefix", U("abc"), U("ab"), 1},
        {"first difference decides", U("abd"), U("abcz"), 1},
        {"upper before lower", U("Z"), U("a"), -1},
        {"digits as characters", U("10"), U("9"), -1},
        {"accented after z", U("z"), U("ä"), -1},
        {"a blank counts", U("a "), U("a"), 1},
        {"result is exactly -1", U("a"), U("z"), -1},
        {"result is exactly +1", U("z"), U("a"), 1},
        {"CR below the key separator", U("ab\r\nc"), U("ab\x14"), -1},
        // Beyond U+FFFF the surrogate units decide, not the code point.
        {"surrogate pair below U+FFFF", Smile, QString(QChar(0xFFFF)), -1},
        {"U+FFFF above a surrogate pair", QString(QChar(0xFFFF)), Smile, 1},
        {"surrogate pair below U+E000", Smile, QString(QChar(0xE000)), -1},
        {"above U+D7FF", Smile, QString(QChar(0xD7FF)), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CompareOrdinal(c.a, c.b), c.expected);
    }
}

TEST(MatchOperator, ChooserTextsInChooserOrder)
{
    const char* expected[] = {"~", "<", ">", ">=", "<=", "=", "<>"};
    ASSERT_EQ(MatchOperatorTexts.size(), 7u);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(MatchOperatorTexts[static_cast<size_t>(i)].toString(), QString::fromLatin1(expected[i])) << i;
    EXPECT_EQ(static_cast<int>(MatchOperator::Contains), 0);
    EXPECT_EQ(static_cast<int>(MatchOperator::Less), 1);
    EXPECT_EQ(static_cast<int>(MatchOperator::Greater), 2);
    EXPECT_EQ(static_cast<int>(MatchOperator::GreaterOrEqual), 3);
    EXPECT_EQ(static_cast<int>(MatchOperator::LessOrEqual), 4);
    EXPECT_EQ(static_cast<int>(MatchOperator::Equal), 5);
    EXPECT_EQ(static_cast<int>(MatchOperator::NotContains), 6);
}

TEST(FieldMatches, EachOperatorsRule)
{
    using Op = MatchOperator;
    struct Case {
        const char* name;
        Op op;
        const char* field;
        const char* s;
        bool expected;
    } cases[] = {
        {"~ finds a part", Op::Contains, "abc", "b", true},
        {"~ with an empty string never matches", Op::Contains, "abc", "", false},
        {"~ empty field, empty string", Op::Contains, "", "", false},
        {"~ is case-sensitive", Op::Contains, "ABC", "abc", false},
        {"~ a trailing blank counts", Op::Contains, "John Smith", "Smith ", false},
        {"< 10 below 9", Op::Less, "10", "9", true},
        {"< equal is not less", Op::Less, "9", "9", false},
        {"< empty field below any string", Op::Less, "", "a", true},
        {"< upper below lower", Op::Less, "Z", "a", true},
        {"> Z is not above a", Op::Greater, "Z", "a", false},
        {"> a above Z", Op::Greater, "a", "Z", true},
        {"> year with a letter above the year", Op::Greater, "2018b", "2018", true},
        {"> the year itself is not above", Op::Greater, "2018", "2018", false},
        {">= equal", Op::GreaterOrEqual, "2018", "2018", true},
        {">= smaller", Op::GreaterOrEqual, "2017", "2018", false},
        {">= greater", Op::GreaterOrEqual, "2019", "2018", true},
        {"<= empty field, any string", Op::LessOrEqual, "", "whatever", true},
        {"<= empty field, empty string", Op::LessOrEqual, "", "", true},
        {"<= equal", Op::LessOrEqual, "a", "a", true},
        {"<= greater", Op::LessOrEqual, "b", "a", false},
        {"= empty string matches the empty field", Op::Equal, "", "", true},
        {"= empty string does not match a filled field", Op::Equal, "x", "", false},
        {"= same texts", Op::Equal, "abc", "abc", true},
        {"= a prefix is not equal", Op::Equal, "abc", "ab", false},
        {"= case counts", Op::Equal, "abc", "ABC", false},
        {"= a blank counts", Op::Equal, "Smith ", "Smith", false},
        {"<> a field containing the string does not match", Op::NotContains, "abc", "b", false},
        {"<> a field without the string matches", Op::NotContains, "abc", "x", true},
        {"<> empty string matches a filled field", Op::NotContains, "x", "", true},
        {"<> empty string matches an empty field", Op::NotContains, "", "", true},
        {"<> case counts", Op::NotContains, "ABC", "abc", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Card row = CardWith({{7, c.field}});  // field 8, Topic
        EXPECT_EQ(FieldMatches(row, 8, c.op, QString::fromUtf8(c.s)), c.expected);
        EXPECT_EQ((FieldTest{8, c.op, QString::fromUtf8(c.s)})(row), c.expected);
    }
}

TEST(FieldMatches, TestsTheCellOfTheFieldNumberOnly)
{
    Card row;
    for (int cell = 0; cell < FieldCount; ++cell)
        row[static_cast<size_t>(cell)] = QStringLiteral("v%1").arg(cell + 1);
    row[MemoCell] = QStringLiteral("line 1\r\nv18");
    for (int field = 1; field <= FieldCount; ++field) {
        SCOPED_TRACE(field);
        const QString own = QStringLiteral("v%1").arg(field);
        for (int other = 1; other <= FieldCount; ++other) {
            const bool expected = other == field || (other == 1 && field >= 10);  // "v1" is in "v10".."v19"
            EXPECT_EQ(FieldMatches(row, field, MatchOperator::Contains, QStringLiteral("v%1").arg(other)), expected)
                << "searching v" << other;
        }
        EXPECT_EQ(FieldMatches(row, field, MatchOperator::Equal, own), field != 18);
    }
    EXPECT_TRUE(FieldMatches(row, 18, MatchOperator::Contains, QStringLiteral("1\r\nv")));
}

TEST(BooleanConnective, ChooserTextsInChooserOrder)
{
    ASSERT_EQ(BooleanConnectiveTexts.size(), 4u);
    EXPECT_EQ(BooleanConnectiveTexts[0].toString(), QStringLiteral("AND"));
    EXPECT_EQ(BooleanConnectiveTexts[1].toString(), QStringLiteral("OR"));
    EXPECT_EQ(BooleanConnectiveTexts[2].toString(), QStringLiteral("XOR"));
    EXPECT_EQ(BooleanConnectiveTexts[3].toString(), QStringLiteral("NOT"));
    EXPECT_EQ(static_cast<int>(BooleanConnective::And), 0);
    EXPECT_EQ(static_cast<int>(BooleanConnective::Or), 1);
    EXPECT_EQ(static_cast<int>(BooleanConnective::Xor), 2);
    EXPECT_EQ(static_cast<int>(BooleanConnective::Not), 3);
}

TEST(BooleanMatches, TruthTableOfTheConnectives)
{
    // Field 8 holds "topic", field 9 "keys"; a half holds when its string is found.
    const Card row = CardWith({{7, "topic"}, {8, "keys"}});
    const QString hit1 = QStringLiteral("top"), miss1 = QStringLiteral("keys");
    const QString hit2 = QStringLiteral("ey"), miss2 = QStringLiteral("topic");
    struct Case {
        bool a, b;
        bool expected[4];  // AND, OR, XOR, NOT
    } cases[] = {
        {false, false, {false, false, false, false}},
        {false, true, {false, true, true, false}},
        {true, false, {false, true, true, true}},
        {true, true, {true, true, false, false}},
    };
    for (const Case& c : cases) {
        for (int k = 0; k < 4; ++k) {
            SCOPED_TRACE(testing::Message() << "A=" << c.a << " B=" << c.b << " "
                                            << BooleanConnectiveTexts[static_cast<size_t>(k)].toString().toStdString());
            const auto conn = static_cast<BooleanConnective>(k);
            EXPECT_EQ(BooleanMatches(row, 8, c.a ? hit1 : miss1, conn, 9, c.b ? hit2 : miss2), c.expected[k]);
            EXPECT_EQ((BooleanTest{8, c.a ? hit1 : miss1, conn, 9, c.b ? hit2 : miss2})(row), c.expected[k]);
        }
    }
}

TEST(BooleanMatches, EmptyStringsAndTheSameFieldTwice)
{
    using C = BooleanConnective;
    const Card both = CardWith({{0, "alpha"}, {1, "beta"}});
    const Card first = CardWith({{0, "alpha"}, {1, "other"}});
    const Card second = CardWith({{0, "other"}, {1, "beta"}});
    const Card neither = CardWith({{0, "x"}, {1, "y"}});
    const Card cards[] = {both, first, second, neither};
    const QString a = QStringLiteral("alp"), b = QStringLiteral("bet"), none;
    struct Case {
        const char* name;
        QString s1;
        C conn;
        QString s2;
        bool expected[4];  // both, first only, second only, neither
    } cases[] = {
        {"both empty AND", none, C::And, none, {false, false, false, false}},
        {"both empty OR", none, C::Or, none, {false, false, false, false}},
        {"both empty XOR", none, C::Xor, none, {false, false, false, false}},
        {"both empty NOT", none, C::Not, none, {false, false, false, false}},
        {"second empty AND", a, C::And, none, {false, false, false, false}},
        {"second empty OR", a, C::Or, none, {true, true, false, false}},
        {"second empty XOR", a, C::Xor, none, {true, true, false, false}},
        {"second empty NOT", a, C::Not, none, {true, true, false, false}},
        {"first empty AND", none, C::And, b, {false, false, false, false}},
        {"first empty OR", none, C::Or, b, {true, false, true, false}},
        {"first empty XOR", none, C::Xor, b, {true, false, true, false}},
        {"first empty NOT", none, C::Not, b, {false, false, false, false}},
        {"XOR leaves out both", a, C::Xor, b, {false, true, true, false}},
        {"OR includes both", a, C::Or, b, {true, true, true, false}},
        {"NOT is first and not second", a, C::Not, b, {false, true, false, false}},
    };
    for (const Case& c : cases) {
        for (int k = 0; k < 4; ++k) {
            SCOPED_TRACE(testing::Message() << c.name << ", card " << k);
            EXPECT_EQ(BooleanMatches(cards[k], 1, c.s1, c.conn, 2, c.s2), c.expected[k]);
        }
    }

    // The same field in both halves with AND: both strings, any order, overlapping.
    const Card abc = CardWith({{0, "abc"}});
    EXPECT_TRUE(BooleanMatches(abc, 1, QStringLiteral("bc"), C::And, 1, QStringLiteral("ab")));
    EXPECT_FALSE(BooleanMatches(abc, 1, QStringLiteral("ab"), C::And, 1, QStringLiteral("cd")));
    EXPECT_FALSE(BooleanMatches(abc, 1, QStringLiteral("AB"), C::Or, 1, QStringLiteral("BC")));
}

}  // namespace
