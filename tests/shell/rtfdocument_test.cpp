// RTF text in a QTextDocument: the text, its formats and its paragraph layout.
#include "rtfdocument.h"

#include "generalerror.h"

#include <QFile>
#include <QFont>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <gtest/gtest.h>

namespace {

struct Fragment {
    QString text;
    bool bold;
    bool italic;
    bool underline;
    double pointSize;
    bool operator==(const Fragment&) const = default;
};

void PrintTo(const Fragment& f, std::ostream* os)
{
    *os << '"' << f.text.toStdString() << "\" " << (f.bold ? "b" : "") << (f.italic ? "i" : "")
        << (f.underline ? "u" : "") << f.pointSize << "pt";
}

// The fragments of one block as the document holds them.
std::vector<Fragment> Fragments(const QTextBlock& block)
{
    std::vector<Fragment> result;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        const QTextCharFormat c = f.charFormat();
        result.push_back(
            {f.text(), c.fontWeight() == QFont::Bold, c.fontItalic(), c.fontUnderline(), c.fontPointSize()});
    }
    return result;
}

RtfDocument Parse(const char* rtf)
{
    return ParseRtf(QByteArrayView(rtf));
}

TEST(FillTextDocument, TextAndCharacterFormatsOfEachParagraph)
{
    QTextDocument document;
    FillTextDocument(document,
        Parse(R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}\fs20 Plain {\b bold} {\i italic} )"
              R"({\ul under}\par\fs32\b\i\ul All\b0\i0\ulnone  big\par})"));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("Plain bold italic under\nAll big"));
    ASSERT_EQ(document.blockCount(), 2);
    EXPECT_EQ(Fragments(document.firstBlock()),
        (std::vector<Fragment>{{QStringLiteral("Plain "), false, false, false, 10.0},
            {QStringLiteral("bold"), true, false, false, 10.0}, {QStringLiteral(" "), false, false, false, 10.0},
            {QStringLiteral("italic"), false, true, false, 10.0}, {QStringLiteral(" "), false, false, false, 10.0},
            {QStringLiteral("under"), false, false, true, 10.0}}));
    EXPECT_EQ(Fragments(document.lastBlock()),
        (std::vector<Fragment>{
            {QStringLiteral("All"), true, true, true, 16.0}, {QStringLiteral(" big"), false, false, false, 16.0}}));
    EXPECT_FALSE(document.isUndoAvailable());
    EXPECT_FALSE(document.isModified());
}

TEST(FillTextDocument, LineBreaksTabsAndSpecialCharactersStayInTheirParagraph)
{
    QTextDocument document;
    FillTextDocument(document, Parse(R"({\rtf1 one\line two\tab three \'e4\u8364?\par})"));
    ASSERT_EQ(document.blockCount(), 1);
    EXPECT_EQ(document.firstBlock().text(), QString::fromUtf16(u"one\u2028two\tthree \u00E4\u20AC"));
    EXPECT_EQ(document.toPlainText(), QString::fromUtf16(u"one\ntwo\tthree \u00E4\u20AC"));
}

TEST(FillTextDocument, ParagraphLayoutAndTheHeightOfEmptyParagraphs)
{
    QTextDocument document;
    FillTextDocument(document,
        Parse(R"({\rtf1\qc\sb240\sa120 Title\par)"
              R"(\pard\li720\ri360\fi-360\tx2880\tx180 Indented\tab x\par)"
              R"(\pard\qj\fs48\par\qr\fs24 Right\par})"));
    ASSERT_EQ(document.blockCount(), 4);
    const QTextBlock title = document.firstBlock();
    EXPECT_EQ(title.blockFormat().alignment(), Qt::AlignHCenter);
    EXPECT_DOUBLE_EQ(title.blockFormat().topMargin(), 16.0);  // 12 points
    EXPECT_DOUBLE_EQ(title.blockFormat().bottomMargin(), 8.0);
    const QTextBlock indented = title.next();
    EXPECT_EQ(indented.blockFormat().alignment(), Qt::AlignLeft);
    EXPECT_DOUBLE_EQ(indented.blockFormat().leftMargin(), 48.0);  // half an inch
    EXPECT_DOUBLE_EQ(indented.blockFormat().rightMargin(), 24.0);
    EXPECT_DOUBLE_EQ(indented.blockFormat().textIndent(), -24.0);
    EXPECT_DOUBLE_EQ(indented.blockFormat().topMargin(), 0.0);
    // tab stops from the left margin become stops from where the first line
    // starts (a quarter inch in); one left of that is dropped
    const QList<QTextOption::Tab> tabs = indented.blockFormat().tabPositions();
    ASSERT_EQ(tabs.size(), 1);
    EXPECT_DOUBLE_EQ(tabs[0].position, 168.0);
    EXPECT_EQ(tabs[0].type, QTextOption::LeftTab);
    EXPECT_TRUE(title.blockFormat().tabPositions().isEmpty());
    const QTextBlock empty = indented.next();
    EXPECT_TRUE(empty.text().isEmpty());
    EXPECT_EQ(empty.blockFormat().alignment(), Qt::AlignJustify);
    EXPECT_EQ(empty.charFormat().fontPointSize(), 24.0);
    EXPECT_EQ(document.lastBlock().blockFormat().alignment(), Qt::AlignRight);
}

TEST(FillTextDocument, ReplacesWhatTheDocumentHeld)
{
    QTextDocument document;
    FillTextDocument(document, Parse(R"({\rtf1{\b First}\par second\par})"));
    FillTextDocument(document, Parse(R"({\rtf1 Third})"));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("Third"));
    EXPECT_EQ(Fragments(document.firstBlock()),
        (std::vector<Fragment>{{QStringLiteral("Third"), false, false, false, 12.0}}));
    FillTextDocument(document, Parse(""));
    EXPECT_TRUE(document.isEmpty());
}

class LoadRtfFileTest : public ::testing::Test {
protected:
    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QTemporaryDir dir;
    QTextDocument document;
};

TEST_F(LoadRtfFileTest, ASoundFileLoadsWithoutProblems)
{
    const QString path = Write(QStringLiteral("manual.rtf"), R"({\rtf1\ansi {\b Heading}\par Body text.\par})");
    EXPECT_TRUE(LoadRtfFile(document, path).isEmpty());
    EXPECT_EQ(document.toPlainText(), QStringLiteral("Heading\nBody text."));
    EXPECT_TRUE(document.firstBlock().begin().fragment().charFormat().fontWeight() == QFont::Bold);
}

TEST_F(LoadRtfFileTest, AMalformedFileLoadsAsFarAsItGoesAndTellsWhatIsWrong)
{
    const QString path = Write(QStringLiteral("broken.rtf"), R"({\rtf1 Cut {\b short)");
    EXPECT_FALSE(LoadRtfFile(document, path).isEmpty());
    EXPECT_EQ(document.toPlainText(), QStringLiteral("Cut short"));
}

TEST_F(LoadRtfFileTest, AFileThatCannotBeReadThrowsAndLeavesTheDocument)
{
    FillTextDocument(document, Parse(R"({\rtf1 Earlier text})"));
    const QString missing = dir.filePath(QStringLiteral("missing.rtf"));
    try {
        LoadRtfFile(document, missing);
        FAIL() << "no error";
    } catch (const GeneralError& e) {
        EXPECT_TRUE(e.text().startsWith(QStringLiteral("Cannot open file \"") + missing + u'"')) << e.what();
    }
    EXPECT_EQ(document.toPlainText(), QStringLiteral("Earlier text"));
}

}  // namespace
