#include "piilomemo.h"
#include "qtprinters.h"

#include <QFontMetrics>
#include <QTextLayout>
#include <gtest/gtest.h>

namespace {

int Width(const QString& text)
{
    return QFontMetrics(Piilomemo::Font()).horizontalAdvance(text);
}

QString Repeated(const QString& piece, int times)
{
    QString out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

TEST(Piilomemo, BoxIsArialSixteenPixelsAndSixHundredFiveWideInside)
{
    EXPECT_EQ(Piilomemo::InnerWidth, 605);
    const QFont font = Piilomemo::Font();
    EXPECT_EQ(font.family(), QStringLiteral("Arial"));
    EXPECT_EQ(font.pixelSize(), 16);
    EXPECT_FALSE(font.italic());
    EXPECT_FALSE(font.bold());
}

// Paragraphs are separated by CR LF; the empty rest after a final break is
// no line, an empty paragraph inside is one.
TEST(Piilomemo, CountsParagraphsAsDisplayLines)
{
    struct Case {
        const char* name;
        QString text;
        QStringList lines;
    };
    const Case cases[] = {
        {"empty text", QString(), {}},
        {"one line without a break", QStringLiteral("a"), {QStringLiteral("a")}},
        {"one line with its break", QStringLiteral("a\r\n"), {QStringLiteral("a")}},
        {"two lines, last with its break", QStringLiteral("a\r\nb\r\n"), {QStringLiteral("a"), QStringLiteral("b")}},
        {"two lines, last without", QStringLiteral("a\r\nb"), {QStringLiteral("a"), QStringLiteral("b")}},
        {"a lone break", QStringLiteral("\r\n"), {QString()}},
        {"empty lines inside and at the end", QStringLiteral("\r\na\r\n\r\n\r\nb\r\n\r\n"),
            {QString(), QStringLiteral("a"), QString(), QString(), QStringLiteral("b"), QString()}},
        {"lone LF and lone CR break too", QStringLiteral("a\nb\rc"),
            {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}},
        {"LF CR is two breaks", QStringLiteral("a\n\rb"), {QStringLiteral("a"), QString(), QStringLiteral("b")}},
        {"paragraph and line separators", QStringLiteral("a\u2029b\u2028c"),
            {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}},
        {"spaces are kept", QStringLiteral("  x  \r\n   "), {QStringLiteral("  x  "), QStringLiteral("   ")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Piilomemo box;
        box.SetText(c.text);
        EXPECT_EQ(box.Lines(), c.lines);
        EXPECT_EQ(box.LineCount(), c.lines.size());
    }
}

TEST(Piilomemo, AddPutsEachParagraphOnLinesOfItsOwn)
{
    Piilomemo box;
    box.Add(QStringLiteral("first"));
    box.Add(QString());
    box.Add(QStringLiteral("memo 1\r\nmemo 2"));
    box.Add(QString());
    EXPECT_EQ(box.Text(), QStringLiteral("first\r\n\r\nmemo 1\r\nmemo 2\r\n\r\n"));
    EXPECT_EQ(box.Lines(),
        (QStringList{
            QStringLiteral("first"), QString(), QStringLiteral("memo 1"), QStringLiteral("memo 2"), QString()}));
    box.Add(QStringLiteral("later"));
    EXPECT_EQ(box.LineCount(), 6);
    EXPECT_EQ(box.Lines().last(), QStringLiteral("later"));

    box.Clear();
    EXPECT_EQ(box.Text(), QString());
    EXPECT_EQ(box.LineCount(), 0);
    box.Add(QStringLiteral("again"));
    EXPECT_EQ(box.Lines(), QStringList{QStringLiteral("again")});
}

// A long paragraph of words breaks between words: every line fits the inner
// width without its trailing spaces, keeps whole words, and could not have
// taken the next word too.
TEST(Piilomemo, WrapsAtWordBoundaries)
{
    const QStringList words =
        QStringLiteral("The quick brown fox jumps over the lazy dog while seventeen grey elephants "
                       "wander slowly across the dusty savanna; Äiti söi mansikoita ja kävi saunassa, "
                       "and nobody minded the weather at all because the tea was hot and strong.")
            .split(u' ');
    const QString paragraph = words.join(u' ');
    ASSERT_GT(Width(paragraph), 2 * Piilomemo::InnerWidth);

    Piilomemo box;
    box.SetText(paragraph + QStringLiteral("\r\nshort"));
    const QStringList lines = box.Lines();
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines.last(), QStringLiteral("short"));
    const QStringList wrapped = lines.mid(0, lines.size() - 1);
    EXPECT_EQ(wrapped.join(QString()), paragraph);

    qsizetype word = 0;
    for (qsizetype i = 0; i < wrapped.size(); ++i) {
        SCOPED_TRACE(wrapped[i].toStdString());
        const QString shown = wrapped[i].trimmed();
        EXPECT_LE(Width(shown), Piilomemo::InnerWidth);
        const QStringList lineWords = shown.split(u' ');
        for (const QString& w : lineWords)
            EXPECT_EQ(w, words[word++]);
        if (i + 1 < wrapped.size()) {
            EXPECT_TRUE(wrapped[i].endsWith(u' '));
            EXPECT_GT(Width(shown + u' ' + words[word]), Piilomemo::InnerWidth);
        }
    }
    EXPECT_EQ(word, words.size());
}

// A word wider than a whole line is broken inside; the lines before it still
// break at its start.
TEST(Piilomemo, BreaksInsideAnOverLongWord)
{
    const QString longWord = Repeated(QStringLiteral("abcdefghij"), 20);
    ASSERT_GT(Width(longWord), 2 * Piilomemo::InnerWidth);

    Piilomemo box;
    box.SetText(longWord);
    const QStringList lines = box.Lines();
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines.join(QString()), longWord);
    for (const QString& line : lines)
        EXPECT_LE(Width(line), Piilomemo::InnerWidth);
    // Every line but the last is filled: one more letter would not fit.
    for (qsizetype i = 0; i + 1 < lines.size(); ++i)
        EXPECT_GT(Width(lines[i] + lines[i + 1].left(1)), Piilomemo::InnerWidth);

    box.SetText(QStringLiteral("Title: ") + longWord);
    const QStringList after = box.Lines();
    ASSERT_GE(after.size(), 3);
    EXPECT_EQ(after.first(), QStringLiteral("Title: "));
    EXPECT_EQ(after.join(QString()), QStringLiteral("Title: ") + longWord);
    for (const QString& line : after)
        EXPECT_LE(Width(line), Piilomemo::InnerWidth);
}

// The lines a text layout of the inner width makes of one paragraph.
QStringList LaidOut(const QString& paragraph)
{
    QTextLayout layout(paragraph, Piilomemo::Font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(Piilomemo::InnerWidth);
        lines << paragraph.mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    return lines;
}

// Short paragraphs are taken whole without a layout; the lines must be those
// the layout makes, also for paragraphs just under and just over the width,
// with kerning pairs, accents, tabs and other scripts.
TEST(Piilomemo, ParagraphsThatFitAreTheLinesTheLayoutMakes)
{
    const QStringList pieces = {
        QStringLiteral("AVAWATAY"),
        QStringLiteral("To"),
        QStringLiteral("Wa."),
        QStringLiteral("Äiti"),
        QStringLiteral("söi"),
        QStringLiteral("iiii"),
        QStringLiteral("MMMMMM"),
        QStringLiteral("1869,"),
        QStringLiteral("fi"),
        QStringLiteral("ﬁne"),
        QStringLiteral("Война"),
        QStringLiteral("\tTab"),
        QStringLiteral("  "),
        QStringLiteral("Ŧŧ"),
        QStringLiteral("y̆es"),
        QStringLiteral("LT"),
    };
    // Paragraphs grow piece by piece, so that their widths pass the inner
    // width in small steps.
    int near = 0;
    for (int seed = 0; seed < 40; ++seed) {
        QString paragraph;
        for (int k = 0; k < 60; ++k) {
            paragraph += pieces[(seed * 7 + k * (seed % 5 + 1)) % pieces.size()];
            if ((seed + k) % 3 != 0)
                paragraph += u' ';
            const int width = Width(paragraph);
            near += width > Piilomemo::InnerWidth - 40 && width < Piilomemo::InnerWidth + 40;
            SCOPED_TRACE(paragraph.toStdString());
            Piilomemo box;
            box.SetText(paragraph);
            EXPECT_EQ(box.Lines(), LaidOut(paragraph));
        }
    }
    EXPECT_GT(near, 50);
}

TEST(Piilomemo, ANewTextReplacesTheLinesOfTheOld)
{
    Piilomemo box;
    box.SetText(Repeated(QStringLiteral("word "), 400));
    EXPECT_GT(box.LineCount(), 3);
    box.SetText(QStringLiteral("one\r\ntwo"));
    EXPECT_EQ(box.Lines(), (QStringList{QStringLiteral("one"), QStringLiteral("two")}));
}

}  // namespace

TEST(Piilomemo, ALongTextHasTheLinesOfItsParagraphsEachWrappedAlone)
{
    // A text long enough to be wrapped in stretches on several cores: its
    // lines are those of its paragraphs, in order, whatever the line breaks
    // (CR LF, lone CR and LF, U+2028, U+2029) and however long a paragraph.
    const QString sentence = QStringLiteral("Päivä, jona kortit kirjoitettiin uudelleen, oli pitkä ja sateinen. ");
    QStringList paragraphs;
    // (A lone CR is never followed by an LF here, even after an empty paragraph.)
    const QString breaks[] = {QStringLiteral("\r\n"), QStringLiteral("\n"), QStringLiteral("\r"),
        QString(QChar::LineSeparator), QString(QChar::ParagraphSeparator), QStringLiteral("\r\n")};
    QString text;
    for (int i = 0; i < 6000; ++i) {
        const QString p = i % 97 == 0 ? Repeated(sentence, 40) + QString(900, u'x') : Repeated(sentence, i % 5);
        paragraphs << p;
        text += p;
        text += breaks[i % 6];
    }
    ASSERT_GT(text.size(), 300000);
    QStringList expected;
    for (const QString& p : paragraphs) {
        Piilomemo one;
        one.SetText(p);
        if (p.isEmpty())
            expected << QString();
        else
            expected << one.Lines();
    }
    Piilomemo box;
    box.SetText(text);
    EXPECT_EQ(box.LineCount(), expected.size());
    EXPECT_EQ(box.Lines(), expected);
    // The same text again gives the same lines.
    box.SetText(text + QString());
    EXPECT_EQ(box.Lines(), expected);
}
