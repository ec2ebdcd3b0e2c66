#include "rtfparse.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <iterator>
#include <ostream>

// Readable failures: a run prints as its text and format.
void PrintTo(const RtfCharFormat& f, std::ostream* os)
{
    *os << (f.bold ? "b" : "") << (f.italic ? "i" : "") << (f.underline ? "u" : "") << f.pointSize << "pt";
}
void PrintTo(const RtfRun& r, std::ostream* os)
{
    *os << '"' << r.text.toStdString() << "\" ";
    PrintTo(r.format, os);
}

namespace {

RtfCharFormat Format(bool bold, bool italic, bool underline, double size = 12.0)
{
    return RtfCharFormat{bold, italic, underline, size};
}
const RtfCharFormat Plain = Format(false, false, false);
const RtfCharFormat Bold = Format(true, false, false);

RtfRun R(const char16_t* text, RtfCharFormat format = Plain)
{
    return RtfRun{QString::fromUtf16(text), format};
}

using Runs = std::vector<RtfRun>;

// The runs of each paragraph.
std::vector<Runs> Paragraphs(const RtfDocument& d)
{
    std::vector<Runs> result;
    for (const RtfParagraph& p : d.paragraphs)
        result.push_back(p.runs);
    return result;
}

RtfDocument Parse(const char* rtf)
{
    return ParseRtf(QByteArrayView(rtf));
}

TEST(ParseRtf, ParagraphsEndAtParAndTheLastOneOnlyWhenItHoldsText)
{
    struct Case {
        const char* rtf;
        std::vector<Runs> paragraphs;
    };
    const Case cases[] = {
        {R"({\rtf1\ansi Hello\par World})", {{R(u"Hello")}, {R(u"World")}}},
        {R"({\rtf1\ansi Hello\par World\par})", {{R(u"Hello")}, {R(u"World")}}},
        {R"({\rtf1 a\par\par b\par})", {{R(u"a")}, {}, {R(u"b")}}},
        {"{\\rtf1 a\\\r\nb}", {{R(u"a")}, {R(u"b")}}},  // a backslash before a line end is \par
        {"{\\rtf1 line\r\none\n}", {{R(u"lineone")}}},  // line ends of the file are not text
        {R"({\rtf1 a\sect b\page c\row d})", {{R(u"a")}, {R(u"b")}, {R(u"c")}, {R(u"d")}}},
        {R"({\rtf1 })", {}},
        {"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rtf);
        const RtfDocument d = Parse(c.rtf);
        EXPECT_EQ(Paragraphs(d), c.paragraphs);
    }
}

TEST(ParseRtf, CharacterFormattingFollowsControlWordsAndGroups)
{
    const RtfDocument d =
        Parse(R"({\rtf1\ansi a{\b b\i c}d\b e\b0 f\i g\i0\ul h\ulnone i\ul1 j\ul0 k\fs30 l\fs25 m\b\i\ul n\plain o})");
    ASSERT_EQ(d.paragraphs.size(), 1u);
    EXPECT_EQ(d.paragraphs[0].runs,
        (Runs{R(u"a"), R(u"b", Bold), R(u"c", Format(true, true, false)), R(u"d"), R(u"e", Bold), R(u"f"),
            R(u"g", Format(false, true, false)), R(u"h", Format(false, false, true)), R(u"i"),
            R(u"j", Format(false, false, true)), R(u"k"), R(u"l", Format(false, false, false, 15.0)),
            R(u"m", Format(false, false, false, 12.5)), R(u"n", Format(true, true, true, 12.5)), R(u"o")}));
    EXPECT_TRUE(d.problems.isEmpty());
}

TEST(ParseRtf, NeighbouringRunsOfOneFormatMerge)
{
    const RtfDocument d = Parse(R"({\rtf1 {\b a}{\b b}\b c\b0\b0 d{}e})");
    ASSERT_EQ(d.paragraphs.size(), 1u);
    EXPECT_EQ(d.paragraphs[0].runs, (Runs{R(u"abc", Bold), R(u"de")}));
}

TEST(ParseRtf, ControlWordDelimitersAndParameters)
{
    struct Case {
        const char* rtf;
        Runs runs;
    };
    const Case cases[] = {
        // one space ends a control word and is dropped; a second one is text
        {R"({\rtf1\b  x})", {R(u" x", Bold)}},
        // digits end the parameter; the next letter is text
        {R"({\rtf1\fs40x})", {R(u"x", Format(false, false, false, 20.0))}},
        // a hyphen before digits is the parameter's sign, otherwise it is text
        {R"({\rtf1\fs-8x\b-y})", {R(u"x"), R(u"-y", Bold)}},
        // \fs without a parameter is the default size
        {R"({\rtf1\fs40\fs x})", {R(u"x")}},
        // a non-letter ends the word and is read as usual
        {R"({\rtf1\b;\b0,})", {R(u";", Bold), R(u",")}},
        // unknown control words are ignored together with their parameter and delimiter
        {R"({\rtf1\ansi\ansicpg1252\deff0\f1\cf2\highlight3\expndtw-20 x\noSuchWord42 y})", {R(u"xy")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rtf);
        const RtfDocument d = Parse(c.rtf);
        ASSERT_EQ(d.paragraphs.size(), 1u);
        EXPECT_EQ(d.paragraphs[0].runs, c.runs);
    }
}

TEST(ParseRtf, ControlSymbolsLineBreaksTabsAndNamedCharacters)
{
    const RtfDocument d = Parse(
        R"({\rtf1 a\\b\{c\}d\~e\-f\_g\line h\tab i\emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote\|\:j})");
    ASSERT_EQ(d.paragraphs.size(), 1u);
    EXPECT_EQ(d.paragraphs[0].runs,
        (Runs{R(u"a\\b{c}d\u00A0e\u00ADf\u2011g\u2028h\ti\u2014\u2013\u2022\u2018\u2019\u201C\u201Dj")}));
    EXPECT_EQ(RtfPlainText(d),
        QString::fromUtf16(u"a\\b{c}d\u00A0e\u00ADf\u2011g\nh\ti\u2014\u2013\u2022"
                           u"\u2018\u2019\u201C\u201Dj\n"));
}

TEST(ParseRtf, HexEscapesAndRawBytesAreWindows1252)
{
    const RtfDocument d = Parse("{\\rtf1 \\'e4\\'C4\\'80\\'96\\'a4 \xe4\xa4\x80}");
    ASSERT_EQ(d.paragraphs.size(), 1u);
    EXPECT_EQ(d.paragraphs[0].runs, (Runs{R(u"\u00E4\u00C4\u20AC\u2013\u00A4 \u00E4\u00A4\u20AC")}));
}

TEST(ParseRtf, UnicodeCharactersSkipTheirFallbacks)
{
    struct Case {
        const char* rtf;
        const char16_t* text;
    };
    const Case cases[] = {
        {R"({\rtf1 \u228?x})", u"\u00E4x"}, {R"({\rtf1 \u228 ?x})", u"\u00E4x"},  // the space is the delimiter
        {R"({\rtf1 \u-30050?})", u"\u8A9E"},  // negative N is N + 65536
        {R"({\rtf1 \u-10179?\u-8704?})", u"\U0001F600"},  // a surrogate pair
        {R"({\rtf1 \u228\'e4x})", u"\u00E4x"},  // a fallback written as \'hh
        {R"({\rtf1 \uc2\u228??x})", u"\u00E4x"},
        {R"({\rtf1 {\uc2\u228??}\u228?x})", u"\u00E4\u00E4x"},  // \uc ends with its group
        {R"({\rtf1 \uc0\u228 x})", u"\u00E4x"},
        {R"({\rtf1 \uc3\u228 a}b)", u"\u00E4b"},  // a group's end ends the fallback
        {"{\\rtf1 \\u228\r\n?x}", u"\u00E4x"},  // line ends are not fallbacks
        {R"({\rtf1 \u-10179?x})", u"\uFFFDx"},  // a lone surrogate
        {R"({\rtf1 \u99999?x})", u"\uFFFDx"},  // out of range
        {R"({\rtf1 \u?x})", u"?x"},  // no number: nothing to skip
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rtf);
        EXPECT_EQ(RtfPlainText(Parse(c.rtf)), QString::fromUtf16(c.text) + u'\n');
    }
}

TEST(ParseRtf, DestinationsThatAreNotTextAreSkipped)
{
    const RtfDocument d = Parse(R"({\rtf1\ansi\deff0{\fonttbl{\f0\fswiss Arial;}{\f1\fmodern Courier New;}})"
                                R"({\colortbl;\red255\green0\blue0;}{\stylesheet{\s1\b heading;}})"
                                R"({\info{\title The title}{\author Someone}})"
                                R"({\*\generator Writer 1.0;}{\*\unknownDestination hidden {\b nested} text})"
                                R"({\pict\pngblip\picw10 89504e47\bin4 {}}}x})"
                                R"({\header page header}{\*\fldinst HYPERLINK "x"}{\fldrslt shown\par})"
                                R"(visible})");
    EXPECT_EQ(RtfPlainText(d), QStringLiteral("shown\nvisible\n"));
    EXPECT_TRUE(d.problems.isEmpty()) << d.problems.join(u'\n').toStdString();
}

TEST(ParseRtf, ParagraphLayoutIsTakenAtTheParagraphsEndAndResetByPard)
{
    const RtfDocument d = Parse(R"({\rtf1\qc\li720\ri360\fi-360\sb120\sa240\tx2880\tx1440 one\par)"
                                R"(\pard\qr two\par)"
                                R"({\qj three\par}\pard four\par)"
                                R"(\fs40\par})");
    ASSERT_EQ(d.paragraphs.size(), 5u);
    const RtfParagraph& one = d.paragraphs[0];
    EXPECT_EQ(one.alignment, RtfAlignment::Center);
    EXPECT_EQ(one.leftIndent, 36.0);
    EXPECT_EQ(one.rightIndent, 18.0);
    EXPECT_EQ(one.firstLineIndent, -18.0);
    EXPECT_EQ(one.spaceBefore, 6.0);
    EXPECT_EQ(one.spaceAfter, 12.0);
    EXPECT_EQ(one.tabStops, (std::vector<double>{144.0, 72.0}));
    const RtfParagraph& two = d.paragraphs[1];
    EXPECT_EQ(two.alignment, RtfAlignment::Right);
    EXPECT_EQ(two.leftIndent, 0.0);
    EXPECT_EQ(two.spaceAfter, 0.0);
    EXPECT_TRUE(two.tabStops.empty());
    EXPECT_EQ(d.paragraphs[2].alignment, RtfAlignment::Justify);
    EXPECT_EQ(d.paragraphs[3].alignment, RtfAlignment::Left);
    // an empty paragraph keeps the format of its mark, which gives its height
    EXPECT_TRUE(d.paragraphs[4].runs.empty());
    EXPECT_EQ(d.paragraphs[4].markFormat.pointSize, 20.0);
}

// Malformed input is read as far as it makes sense, and the fault is listed.
TEST(ParseRtf, MalformedInputGivesTextAndAProblem)
{
    struct Case {
        const char* name;
        QByteArray rtf;
        QString text;
    };
    const Case cases[] = {
        {"not rtf", "plain words", QStringLiteral("plain words\n")},
        {"extra closing brace", "{\\rtf1 a}}b", QStringLiteral("ab\n")},
        {"missing closing brace", "{\\rtf1 a{\\b b", QStringLiteral("ab\n")},
        {"escape cut at the end", "{\\rtf1 a\\'4", QStringLiteral("a\n")},
        {"escape at the end", "{\\rtf1 a\\'", QStringLiteral("a\n")},
        {"escape with one hex digit", "{\\rtf1 a\\'4g}", QStringLiteral("ag\n")},
        {"escape without hex digits", "{\\rtf1 a\\'zz}", QStringLiteral("azz\n")},
        {"backslash at the end", "{\\rtf1 a\\", QStringLiteral("a\n")},
        {"binary data past the end", "{\\rtf1 a\\bin999999999999 b}", QStringLiteral("a\n")},
        {"deep nesting", QByteArray("{\\rtf1 a") + QByteArray(100000, '{') + "hidden" + QByteArray(100000, '}') + "b}",
            QStringLiteral("ab\n")},
        {"deep nesting never closed", QByteArray("{\\rtf1 a") + QByteArray(100000, '{') + "hidden",
            QStringLiteral("a\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RtfDocument d = ParseRtf(c.rtf);
        EXPECT_EQ(RtfPlainText(d), c.text);
        EXPECT_FALSE(d.problems.isEmpty());
    }
}

TEST(ParseRtf, HugeNumbersAreHeldWithinBounds)
{
    struct Case {
        const char* rtf;
        QString text;
        double size;
    };
    const Case cases[] = {
        {R"({\rtf1\fs99999999999999999999999 x})", QStringLiteral("x"), 1000.0},
        {R"({\rtf1\fs1 x})", QStringLiteral("x"), 1.0},
        {R"({\rtf1\u99999999999999999999 x})", QStringLiteral("\uFFFD"), 12.0},  // x is its fallback
        {R"({\rtf1\uc99999999999\u65 abc})", QStringLiteral("A"), 12.0},
        {R"({\rtf1\uc-5\u65 x})", QStringLiteral("Ax"), 12.0},
        {R"({\rtf1\b99999999999999999999 x})", QStringLiteral("x"), 12.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rtf);
        const RtfDocument d = Parse(c.rtf);
        ASSERT_EQ(d.paragraphs.size(), 1u);
        ASSERT_EQ(d.paragraphs[0].runs.size(), 1u);
        EXPECT_EQ(d.paragraphs[0].runs[0].text, c.text);
        EXPECT_EQ(d.paragraphs[0].runs[0].format.pointSize, c.size);
        EXPECT_TRUE(d.problems.isEmpty());
    }
    const RtfDocument indented = Parse(R"({\rtf1\li99999999999\fi-99999999999 x\par})");
    EXPECT_EQ(indented.paragraphs.at(0).leftIndent, 1584.0);  // 22 inches
    EXPECT_EQ(indented.paragraphs.at(0).firstLineIndent, -1584.0);
    QByteArray manyTabs = "{\\rtf1 ";
    for (int k = 1; k <= 100000; ++k)
        manyTabs += "\\tx" + QByteArray::number(k);
    const RtfDocument tabbed = ParseRtf(manyTabs + " x\\par}");
    EXPECT_EQ(tabbed.paragraphs.at(0).tabStops.size(), 64u);
    EXPECT_EQ(tabbed.paragraphs.at(0).tabStops.back(), 3.2);
}

// Any mixture of the pieces of RTF gives a result whose runs keep their promises.
TEST(ParseRtf, RandomMixturesOfTokensKeepTheRunRules)
{
    const char* pieces[] = {"{", "}", "\\", "\\'", "\\'4", "e4", "\\par", "\\line", "\\b", "\\b0", "\\i", "\\ul",
        "\\fs", "31", "-", " ", "\\u", "\\uc2", "\\*", "text", "\\bin3", "\\fonttbl", "\\plain", "\\pard", "\\qc",
        "\r\n", "\xe4", "\\~", "\\{", "?"};
    QRandomGenerator random(20210521);
    for (int round = 0; round < 3000; ++round) {
        QByteArray rtf = "{\\rtf1 ";
        const int count = random.bounded(1, 60);
        for (int k = 0; k < count; ++k)
            rtf += pieces[random.bounded(static_cast<int>(std::size(pieces)))];
        SCOPED_TRACE(rtf.toStdString());
        const RtfDocument d = ParseRtf(rtf);
        for (const RtfParagraph& p : d.paragraphs) {
            for (std::size_t k = 0; k < p.runs.size(); ++k) {
                ASSERT_FALSE(p.runs[k].text.isEmpty());
                if (k > 0) {
                    ASSERT_NE(p.runs[k].format, p.runs[k - 1].format);
                }
                for (QChar ch : p.runs[k].text)
                    ASSERT_FALSE(ch.isSurrogate());
            }
        }
    }
}

}  // namespace
