#include "card.h"
#include "generalerror.h"
#include "replacing.h"

#include <gtest/gtest.h>

namespace {

QString U(const char16_t* s)
{
    return QString::fromUtf16(s);
}

}  // namespace

TEST(ReplaceEveryOccurrence, LeftToRightWithoutOverlapsAndNeverInsideAReplacement)
{
    struct Case {
        const char* name;
        QString text;
        QString find;
        QString replacement;
        QString expected;
        qsizetype replacements;
    };
    const Case cases[] = {
        {"b by nothing", U(u"abcabc"), U(u"b"), QString(), U(u"acac"), 2},
        {"a by aa doubles every old a once", U(u"aaa"), U(u"a"), U(u"aa"), U(u"aaaaaa"), 3},
        {"aa by x does not overlap", U(u"aaa"), U(u"aa"), U(u"x"), U(u"xa"), 1},
        {"case-sensitive", U(u"AB"), U(u"ab"), U(u"x"), U(u"AB"), 0},
        {"find equal to replacement counts", U(u"abab"), U(u"ab"), U(u"ab"), U(u"abab"), 2},
        {"replacement that holds the find string", U(u"xaxa"), U(u"a"), U(u"bab"), U(u"xbabxbab"), 2},
        {"replacement that makes a new occurrence behind the caret", U(u"aab"), U(u"ab"), U(u"a"), U(u"aa"), 1},
        {"whole text", U(u"abc"), U(u"abc"), QString(), QString(), 1},
        {"empty text", QString(), U(u"a"), U(u"b"), QString(), 0},
        {"find longer than the text", U(u"ab"), U(u"abc"), U(u"x"), U(u"ab"), 0},
        {"empty find replaces nothing", U(u"abc"), QString(), U(u"x"), U(u"abc"), 0},
        {"Memo line breaks are characters", U(u"a\r\nb\r\nc"), U(u"\r\n"), U(u" "), U(u"a b c"), 2},
        {"across a Memo line break", U(u"one\r\ntwo\r\n"), U(u"e\r\nt"), U(u"E T"), U(u"onE Two\r\n"), 1},
        {"CR alone does not match CR LF", U(u"a\rb\r\nc"), U(u"\r\n"), U(u"|"), U(u"a\rb|c"), 1},
        {"accented letters are exact units", U(u"\u00e4a\u0308\u00e4"), U(u"\u00e4"), U(u"ae"), U(u"aea\u0308ae"), 2},
        {"surrogate pair replaced whole", U(u"a\U0001F600b\U0001F600"), U(u"\U0001F600"), U(u"x"), U(u"axbx"), 2},
        {"pair sharing only its high half is no match", U(u"\U0001F601"), U(u"\U0001F600"), U(u"x"), U(u"\U0001F601"),
            0},
        {"pair inserted for a letter", U(u"a-a"), U(u"a"), U(u"\U0001F600"), U(u"\U0001F600-\U0001F600"), 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TextReplaceResult r = ReplaceEveryOccurrence(c.text, c.find, c.replacement);
        EXPECT_EQ(r.text, c.expected);
        EXPECT_EQ(r.replacements, c.replacements);
    }
}

TEST(ReplaceNextOccurrence, FindsFromTheCaretOnAndPutsTheCaretBehindTheInsertedText)
{
    struct Case {
        const char* name;
        QString text;
        qsizetype from;
        QString find;
        QString replacement;
        bool found;
        qsizetype start;
        QString text2;
        qsizetype caret;
    };
    const Case cases[] = {
        {"from the start", U(u"abcabc"), 0, U(u"bc"), U(u"XYZ"), true, 1, U(u"aXYZabc"), 4},
        {"occurrence starting right at the caret", U(u"abcabc"), 1, U(u"bc"), U(u"X"), true, 1, U(u"aXabc"), 2},
        {"occurrence before the caret is passed by", U(u"abcabc"), 2, U(u"bc"), U(u"X"), true, 4, U(u"abcaX"), 5},
        {"occurrence straddling the caret is passed by", U(u"abcabc"), 3, U(u"ca"), U(u"X"), false, 0, QString(), 0},
        {"empty replacement leaves the caret where the occurrence was", U(u"abcabc"), 3, U(u"b"), QString(), true, 4,
            U(u"abcac"), 4},
        {"find equal to replacement moves the caret past it", U(u"aa"), 0, U(u"a"), U(u"a"), true, 0, U(u"aa"), 1},
        {"caret at the end", U(u"abc"), 3, U(u"c"), U(u"x"), false, 0, QString(), 0},
        {"caret beyond the end", U(u"abc"), 9, U(u"c"), U(u"x"), false, 0, QString(), 0},
        {"negative caret counts as the start", U(u"abc"), -4, U(u"a"), U(u"x"), true, 0, U(u"xbc"), 1},
        {"empty find", U(u"abc"), 0, QString(), U(u"x"), false, 0, QString(), 0},
        {"Memo caret counts CR LF as two", U(u"a\r\nb\r\nb"), 4, U(u"b"), U(u"c"), true, 6, U(u"a\r\nb\r\nc"), 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<TextReplacement> r = ReplaceNextOccurrence(c.text, c.from, c.find, c.replacement);
        ASSERT_EQ(r.has_value(), c.found);
        if (!r)
            continue;
        EXPECT_EQ(r->start, c.start);
        EXPECT_EQ(r->text, c.text2);
        EXPECT_EQ(r->caret, c.caret);
    }
}

TEST(ReplaceNextOccurrence, KeepsALongReplacementWhole)
{
    // Longer than any field's typing limit: nothing is cut.
    const QString longText(1000, u'z');
    const auto r = ReplaceNextOccurrence(u"4", 0, u"4", longText);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->text, longText);
    EXPECT_EQ(r->caret, 1000);
}

TEST(CheckReplaceAll, ChecksInOrderWithTheirMessages)
{
    const QString empty = QStringLiteral("One of the text fields is empty");
    const QString noFind = QStringLiteral("The field for the word to find is empty");
    const QString below1 = QStringLiteral("The index number of the first index can not be smaller than 1");
    const QString crossed = QStringLiteral("The first index number can not be greater than the last index number");
    const QString beyond = QStringLiteral("The last index can not be greater than the number of the cards in whole 20");
    struct Case {
        const char* name;
        const char* find;
        const char* first;
        const char* last;
        QString message;
        int first2;
        int last2;
    };
    const Case cases[] = {
        {"all right", "a", "1", "20", QString(), 1, 20},
        {"one card", "a", "7", "7", QString(), 7, 7},
        {"first box empty", "a", "", "5", empty, 0, 0},
        {"last box empty", "a", "1", "", empty, 0, 0},
        {"empty boxes come before the empty find", "", "", "", empty, 0, 0},
        {"empty find", "", "1", "5", noFind, 0, 0},
        {"empty find comes before the range", "", "0", "99", noFind, 0, 0},
        {"first 0", "a", "0", "5", below1, 0, 0},
        {"first negative", "a", "-3", "5", below1, 0, 0},
        {"first below 1 comes before crossing", "a", "0", "-1", below1, 0, 0},
        {"last below first", "a", "6", "5", crossed, 0, 0},
        {"crossing comes before beyond", "a", "30", "25", crossed, 0, 0},
        {"last beyond the cards", "a", "1", "21", beyond, 0, 0},
        {"first and last beyond the cards", "a", "21", "21", beyond, 0, 0},
        {"find of blanks is not empty", " ", "1", "20", QString(), 1, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReplaceAllBoxes boxes;
        boxes.find = QString::fromUtf8(c.find);
        boxes.firstIndex = QString::fromUtf8(c.first);
        boxes.lastIndex = QString::fromUtf8(c.last);
        const ReplaceAllCheck r = CheckReplaceAll(boxes, 20);
        EXPECT_EQ(r.message, c.message);
        EXPECT_EQ(r.passed(), c.message.isEmpty());
        if (r.passed()) {
            EXPECT_EQ(r.first, c.first2);
            EXPECT_EQ(r.last, c.last2);
        }
    }
}

TEST(CheckReplaceAll, IndexThatIsNoNumberIsAConversionErrorAfterTheEmptyChecks)
{
    struct Case {
        const char* name;
        const char* find;
        const char* first;
        const char* last;
        const char* error;  // nullptr: a message instead of an error
        const char* message;
    };
    const Case cases[] = {
        {"first not a number", "a", "x1", "5", "'x1' is not a valid integer value", nullptr},
        {"last not a number", "a", "5", "5 ", "'5 ' is not a valid integer value", nullptr},
        {"both not numbers: the first is converted first", "a", "a", "b", "'a' is not a valid integer value", nullptr},
        {"empty find is found before converting", "", "x", "y", nullptr, "The field for the word to find is empty"},
        {"empty box is found before converting", "a", "x", "", nullptr, "One of the text fields is empty"},
        {"first below 1 is found before converting the last", "a", "0", "y", nullptr,
            "The index number of the first index can not be smaller than 1"},
        {"beyond 32 bits", "a", "1", "99999999999", "'99999999999' is not a valid integer value", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReplaceAllBoxes boxes;
        boxes.find = QString::fromUtf8(c.find);
        boxes.firstIndex = QString::fromUtf8(c.first);
        boxes.lastIndex = QString::fromUtf8(c.last);
        if (c.error) {
            try {
                CheckReplaceAll(boxes, 20);
                ADD_FAILURE() << "no error";
            } catch (const GeneralError& e) {
                EXPECT_EQ(e.text(), QString::fromUtf8(c.error));
            }
        } else {
            EXPECT_EQ(CheckReplaceAll(boxes, 20).message, QString::fromUtf8(c.message));
        }
    }
}

TEST(ReplaceConfirmationText, QuotesTheBoxesAsTyped)
{
    ReplaceAllBoxes boxes;
    boxes.find = QStringLiteral("old");
    boxes.replacement = QStringLiteral("new");
    boxes.firstIndex = QStringLiteral("007");
    boxes.lastIndex = QStringLiteral("20");
    boxes.field = QStringLiteral("18 Memo");
    EXPECT_EQ(ReplaceConfirmationText(boxes),
        QStringLiteral("Finding in cards  007 - 20  from the field 18 Memo string \"old\" and replacing "
                       "it with \"new\", do you want to proceed?"));

    boxes.replacement.clear();
    boxes.field = QStringLiteral("typed text");
    boxes.find = QString::fromUtf16(u"\u00e4 \"q\"");
    EXPECT_EQ(ReplaceConfirmationText(boxes),
        QString::fromUtf16(u"Finding in cards  007 - 20  from the field typed text string \"\u00e4 \"q\"\" "
                           u"and replacing it with \"\", do you want to proceed?"));
}

TEST(ReplaceFieldCell, ChooserEntriesUpTo18NameTheirCellAndEverythingElseSkips)
{
    const char* entries[] = {"1 Title1", "2 Title2", "3 Title3", "4 Day", "5 Month", "6 Year", "7 Page", "8 Topic",
        "9 Keywords", "10 File link", "11 Code1", "12 Code2", "13 Code3", "14 aYear", "15 aMonth", "16 aDay",
        "17 aHour:min", "18 Memo"};
    for (int cell = 0; cell < 18; ++cell) {
        SCOPED_TRACE(entries[cell]);
        EXPECT_EQ(ReplaceFieldCell(QString::fromLatin1(entries[cell])), std::optional<int>(cell));
    }
    for (const char* text : {"19 Card ID", "", "18", "18 memo", "18 Memo ", " 18 Memo", "Memo", "0 Title"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ReplaceFieldCell(QString::fromLatin1(text)), std::nullopt);
    }
}

TEST(ReplaceMessages, FinalTexts)
{
    EXPECT_EQ(ReplaceNotFoundMessage, QStringLiteral("Strings to replace not found "));
    EXPECT_EQ(ReplaceCompletedMessage, QStringLiteral("Find-replace action completed"));
}
