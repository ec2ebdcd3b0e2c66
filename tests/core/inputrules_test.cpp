// The field input rules: line breaks, typing limits.
#include "inputrules.h"
#include "support/qtprinters.h"

#include <gtest/gtest.h>

TEST(InputRules, EveryFormOfLineBreakIsOne)
{
    for (const QChar c : {QChar(u'\r'), QChar(u'\n'), QChar(0x2028), QChar(0x2029)}) {
        SCOPED_TRACE(int(c.unicode()));
        EXPECT_TRUE(IsLineBreak(c));
        EXPECT_TRUE(HasLineBreak(QStringLiteral("a") + c + QStringLiteral("b")));
    }
    for (const QChar c : {QChar(u' '), QChar(u'\t'), QChar(0x0B), QChar(0x0C), QChar(0x85), QChar(u'a')})
        EXPECT_FALSE(IsLineBreak(c)) << int(c.unicode());
    EXPECT_FALSE(HasLineBreak(QString()));
}

TEST(InputRules, AnEditBringsInALineBreakOnlyWhereItInsertedOne)
{
    struct Case {
        const char16_t* before;
        const char16_t* after;
        bool adds;
    };
    const Case cases[] = {
        {u"before", u"beforex\ny", true},  // a pasted break
        {u"ab", u"a\r\nb", true},  // CR LF in the middle
        {u"ab", u"a\u2029b", true},  // what a Linux clipboard brings
        {u"a\u2028b", u"a\u2028bc", false},  // a break already there stays editable
        {u"a\u2028b", u"xa\u2028b", false},
        {u"a\u2028b", u"ab", false},  // taking one out is fine
        {u"title", u"title", false},
    };
    for (const Case& c : cases) {
        const QString before = QString::fromUtf16(c.before);
        const QString after = QString::fromUtf16(c.after);
        SCOPED_TRACE(after.toStdString());
        EXPECT_EQ(AddsLineBreak(after, DiffTexts(before, after)), c.adds);
    }
}

TEST(InputRules, TypingKeepsWithinTheLimitButAShownTextIsNeverCut)
{
    struct Case {
        const char* what;
        QString before;
        QString after;
        int max;
        qsizetype cut;
    };
    const Case cases[] = {
        {"typing within the limit", QStringLiteral("abc"), QStringLiteral("abcd"), 4, 0},
        {"typing past the limit", QStringLiteral("abcd"), QStringLiteral("abcde"), 4, 1},
        {"a paste cut to the room left", QStringLiteral("ab"), QStringLiteral("ab12345"), 4, 3},
        {"a paste in the middle", QStringLiteral("ab"), QStringLiteral("a123b"), 4, 1},
        {"an already long text takes nothing more", QStringLiteral("abcdef"), QStringLiteral("abcdefg"), 4, 1},
        {"deleting from a long text", QStringLiteral("abcdef"), QStringLiteral("abcde"), 4, 0},
        {"no limit", QStringLiteral("x"), QString(1000, u'y'), 0, 0},
        {"replacing a selection", QStringLiteral("abcd"), QStringLiteral("aXYZd"), 4, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(TypedExcess(c.after, DiffTexts(c.before, c.after), c.max), c.cut);
    }
}
