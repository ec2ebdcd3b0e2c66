#include "textfind.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// What an editor's raw text holds after loading text: U+2029 where a
// paragraph ends, U+2028 for a line break inside one.
QString RawAfterLoading(const QString& editorText)
{
    QString raw = editorText;
    raw.replace(u'\n', QChar::ParagraphSeparator);
    return raw;
}

}  // namespace

TEST(TextFind, ForwardFromAPositionCaseSensitiveEmptyNeverFound)
{
    const QString text = QStringLiteral("abc Abc abc");
    EXPECT_EQ(FindForward(text, 0, QStringLiteral("abc")), 0);
    EXPECT_EQ(FindForward(text, 1, QStringLiteral("abc")), 8);
    EXPECT_EQ(FindForward(text, 9, QStringLiteral("abc")), -1);
    EXPECT_EQ(FindForward(text, 0, QStringLiteral("Abc")), 4);
    EXPECT_EQ(FindForward(text, 0, QString()), -1);
    EXPECT_EQ(FindForward(text, 12, QStringLiteral("c")), -1);
}

TEST(TextFind, PositionsCountEachLineBreakAsTwoInTheCrLfText)
{
    // "ab" break "cd" break break "e": raw positions 0..7, CR LF positions 0..10.
    const QString raw = QStringLiteral("ab\u2029cd\u2028\u2029e");
    EXPECT_EQ(RawToCrLf(raw), QStringLiteral("ab\r\ncd\r\n\r\ne"));
    struct Case {
        qsizetype raw;
        qsizetype crlf;
    };
    for (const Case c : {Case{0, 0}, Case{2, 2}, Case{3, 4}, Case{5, 6}, Case{6, 8}, Case{7, 10}, Case{8, 11}}) {
        SCOPED_TRACE(c.raw);
        EXPECT_EQ(CrLfPosition(raw, c.raw), c.crlf);
        EXPECT_EQ(RawPosition(raw, c.crlf), c.raw);
    }
}

TEST(TextFind, EditorTextGroupsLinesIntoParagraphsAndComesBackAsCrLf)
{
    struct Case {
        const char* name;
        QString text;
        int linesPerParagraph;
        QString editor;
        QString back;  // RawToCrLf of what the editor holds
    };
    const QChar ls = QChar::LineSeparator;
    const Case cases[] = {
        {"empty", QString(), 3, QString(), QString()},
        {"no break", QStringLiteral("abc"), 3, QStringLiteral("abc"), QStringLiteral("abc")},
        {"two lines, last break kept", QStringLiteral("a\r\nb\r\n"), 3, QStringLiteral("a") + ls + u'b' + ls,
            QStringLiteral("a\r\nb\r\n")},
        {"a paragraph every third line", QStringLiteral("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7"), 3,
            QStringLiteral("1") + ls + u'2' + ls + QStringLiteral("3\n4") + ls + u'5' + ls + QStringLiteral("6\n7"),
            QStringLiteral("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7")},
        {"empty lines count", QStringLiteral("\r\n\r\n\r\nx"), 2, ls + QStringLiteral("\n") + ls + u'x',
            QStringLiteral("\r\n\r\n\r\nx")},
        {"lone CR and LF are breaks", QStringLiteral("a\rb\nc\n\rd"), 10,
            QStringLiteral("a") + ls + u'b' + ls + u'c' + ls + ls + u'd', QStringLiteral("a\r\nb\r\nc\r\n\r\nd")},
        {"one line per paragraph", QStringLiteral("a\r\nb\u2028c"), 1, QStringLiteral("a\nb\nc"),
            QStringLiteral("a\r\nb\r\nc")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString editor = EditorText(c.text, c.linesPerParagraph);
        EXPECT_EQ(editor, c.editor);
        EXPECT_EQ(RawToCrLf(RawAfterLoading(editor)), c.back);
    }
}

TEST(TextFind, EditorTextOfALongListingKeepsEveryCharacter)
{
    QString text;
    for (int i = 0; i < 1000; ++i)
        text += QStringLiteral("line ") + QString::number(i) + QStringLiteral(" äö\r\n");
    const QString editor = EditorText(text, 32);
    EXPECT_EQ(editor.count(u'\n'), 1000 / 32);
    EXPECT_EQ(RawToCrLf(RawAfterLoading(editor)), text);
}

// Long lines are searched for their breaks many characters a step: a break
// of each form is found wherever it stands in the line, and comes back in
// its form.
TEST(TextFind, EveryBreakIsFoundWhereverItStandsInALongLine)
{
    const QString forms[] = {QStringLiteral("\r\n"), QStringLiteral("\r"), QStringLiteral("\n"),
        QStringLiteral("\u2028"), QStringLiteral("\u2029")};
    for (const QString& form : forms) {
        for (int at = 0; at <= 40; ++at) {
            SCOPED_TRACE(at);
            QString text = QString(40, u'x');
            text.insert(at, form);
            text += QStringLiteral("\r\n") + QString(17, u'y');
            const QString editor = EditorText(text, 32);
            EXPECT_EQ(editor.size(), 40 + 1 + 1 + 17);
            EXPECT_EQ(editor.indexOf(QChar::LineSeparator), at);
            EXPECT_EQ(editor.count(QChar::LineSeparator), 2);
            KeptLineBreaks kept;
            kept.Reset(text);
            EXPECT_EQ(kept.IsEmpty(), form == QStringLiteral("\r\n"));
            EXPECT_EQ(kept.Text(RawAfterLoading(editor)), text);
        }
    }
}

TEST(TextFind, KeptLineBreaksKeepEveryBreakTheEditsLeftAlone)
{
    struct Edit {
        qsizetype position;
        qsizetype removed;
        qsizetype added;
    };
    struct Case {
        const char* name;
        QString shown;
        std::vector<Edit> edits;
        QString raw;  // the editor's text after the edits
        QString text;
    };
    const Case cases[] = {
        {"untouched", QStringLiteral("one\u2028two\u2029three two"), {}, QStringLiteral("one\u2028two\u2029three two"),
            QStringLiteral("one\u2028two\u2029three two")},
        {"every form", QStringLiteral("a\r\nb\rc\nd\u2028e\u2029f\r\n"), {},
            QStringLiteral("a\u2029b\u2029c\u2029d\u2028e\u2029f\u2029"),
            QStringLiteral("a\r\nb\rc\nd\u2028e\u2029f\r\n")},
        {"a word replaced between two breaks", QStringLiteral("one\u2028two\u2029three two"), {{4, 3, 1}, {14, 3, 1}},
            QStringLiteral("one\u20282\u2029three 2"), QStringLiteral("one\u20282\u2029three 2")},
        {"text typed in front moves the breaks", QStringLiteral("a\rb\nc"), {{0, 0, 3}},
            QStringLiteral("xyza\u2029b\u2029c"), QStringLiteral("xyza\rb\nc")},
        {"a break taken out and a new one typed", QStringLiteral("a\u2028b\u2029c"), {{1, 1, 0}, {1, 0, 1}},
            QStringLiteral("a\u2029b\u2029c"), QStringLiteral("a\r\nb\u2029c")},
        {"a selection over breaks typed over", QStringLiteral("a\u2028b\u2029c\u2028d"), {{1, 2, 1}},
            QStringLiteral("ax\u2029c\u2028d"), QStringLiteral("ax\u2029c\u2028d")},
        {"a break pasted in comes as CR LF", QStringLiteral("a\u2028b"), {{3, 0, 2}}, QStringLiteral("a\u2028b\u2029c"),
            QStringLiteral("a\u2028b\r\nc")},
        {"a position that holds no break any more", QStringLiteral("a\u2028b"), {}, QStringLiteral("axb"),
            QStringLiteral("axb")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        KeptLineBreaks kept;
        kept.Reset(c.shown);
        for (const Edit& e : c.edits)
            kept.Changed(e.position, e.removed, e.added);
        EXPECT_EQ(kept.Text(c.raw), c.text);
    }
    KeptLineBreaks plain;
    plain.Reset(u"a\r\nb\r\n");
    EXPECT_TRUE(plain.IsEmpty());
    EXPECT_EQ(plain.Text(u"a\u2029b\u2028"), QStringLiteral("a\r\nb\r\n"));
}
