// The documents that ship with the program: the two manuals read with the
// program's own RTF reader, and the desktop entry and card file type that
// must agree with each other and with the program.
#include "rtfparse.h"

#include <QFile>
#include <QMap>
#include <QSet>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

QByteArray ReadResource(const char* name)
{
    QFile f(QStringLiteral(CARDOMO_RESOURCES_DIR "/") + QString::fromUtf8(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    return f.readAll();
}

// The paragraphs set wholly in bold: the headings.
QSet<QString> BoldParagraphs(const RtfDocument& d)
{
    QSet<QString> headings;
    for (const RtfParagraph& p : d.paragraphs) {
        QString text;
        bool bold = !p.runs.empty();
        for (const RtfRun& run : p.runs) {
            text += run.text;
            bold = bold && (run.format.bold || run.text.trimmed().isEmpty());
        }
        if (bold)
            headings.insert(text);
    }
    return headings;
}

void ExpectContainsAll(const QString& text, const QStringList& parts)
{
    for (const QString& part : parts)
        EXPECT_TRUE(text.contains(part)) << "missing: " << part.toStdString();
}

// Every key of the main menu, the main window and the windows it opens.
const QStringList Keys = {
    QStringLiteral("Ctrl+N"),
    QStringLiteral("Ctrl+O"),
    QStringLiteral("Ctrl+S"),
    QStringLiteral("Ctrl+K"),
    QStringLiteral("Ctrl+U"),
    QStringLiteral("Ctrl+E"),
    QStringLiteral("Ctrl+P"),
    QStringLiteral("F5"),
    QStringLiteral("Ctrl+Alt+C"),
    QStringLiteral("Ctrl+Alt+V"),
    QStringLiteral("Ctrl+Alt+A"),
    QStringLiteral("Ctrl+Alt+Q"),
    QStringLiteral("Ctrl+F"),
    QStringLiteral("F3"),
    QStringLiteral("F8"),
    QStringLiteral("F7"),
    QStringLiteral("F9"),
    QStringLiteral("F10"),
    QStringLiteral("F11"),
    QStringLiteral("F2"),
    QStringLiteral("Ctrl+Alt+F"),
    QStringLiteral("F4"),
    QStringLiteral("Ctrl+Alt+N"),
    QStringLiteral("F1"),
    QStringLiteral("Ctrl+Alt+K"),
    QStringLiteral("Ctrl+Alt+W"),
    QStringLiteral("Ctrl+D"),
    QStringLiteral("Ctrl+PageUp"),
    QStringLiteral("Ctrl+PageDown"),
    QStringLiteral("Ctrl+Left"),
    QStringLiteral("Ctrl+Right"),
    QStringLiteral("Alt+PageUp"),
    QStringLiteral("Alt+PageDown"),
    QStringLiteral("Alt+Home"),
    QStringLiteral("Alt+End"),
    QStringLiteral("Alt+Left"),
    QStringLiteral("Alt+Right"),
    QStringLiteral("Ctrl+R"),
    QStringLiteral("Esc"),
};

TEST(Manual, ReadsWithoutProblemsAndHasItsSections)
{
    const RtfDocument d = ParseRtf(ReadResource("Cardomo_v05102_beta Manual.rtf"));
    EXPECT_TRUE(d.problems.isEmpty()) << d.problems.join(u'\n').toStdString();
    const QSet<QString> headings = BoldParagraphs(d);
    for (const char* heading :
        {"Note Card Software", "Contents", "1. What Note Card Software is", "2. Cards and their fields",
            "3. Starting the program and opening card files", "4. The main window", "5. Moving between cards",
            "6. Card commands", "7. Finding text in the Memo", "8. Searching for cards", "9. Picking cards",
            "10. The picked cards window", "11. Sorting", "12. Listing cards", "13. The listing window",
            "14. Saving cards as text", "15. Preview and printing", "16. Find and replace in cards",
            "17. Importing card files", "18. Saving and closing", "19. The screen saver", "20. Help and information",
            "21. Menus and keys at a glance", "22. The card file format", "23. Limits"}) {
        EXPECT_TRUE(headings.contains(QString::fromUtf8(heading))) << "no heading " << heading;
    }
}

TEST(Manual, NamesEveryMenuEntryAndKey)
{
    const QString text = RtfPlainText(ParseRtf(ReadResource("Cardomo_v05102_beta Manual.rtf")));
    ExpectContainsAll(text,
        {
            // File, Edit, Tools, Options and ? menus of the main window, as the entries read
            QStringLiteral("Save As Text (with page feed per card)"),
            QStringLiteral("Bring back deleted card as a new card"),
            QStringLiteral("Input an external card file to the current card file"),
            QStringLiteral("Add a new empty card"),
            QStringLiteral("Copy current card  to the clip board"),
            QStringLiteral("Paste the card from the clipboard as a new card"),
            QStringLiteral("Delete current card"),
            QStringLiteral("Add a time stamp to the Memo field"),
            QStringLiteral("Add a time stamp (+yyyy-mm-dd hh:mm:ss)"),
            QStringLiteral("Find from the Memo field"),
            QStringLiteral("Find next from the Memo field  (Ctrl+D)"),
            QStringLiteral("Input external ANSI card file to the current card file (old format)"),
            QStringLiteral("List Current Card"),
            QStringLiteral("Pick by Boolean Search"),
            QStringLiteral("Sorting"),
            QStringLiteral("Pick Cards in Order"),
            QStringLiteral("Find and Replace in Cards"),
            QStringLiteral("Field selection for listing"),
            QStringLiteral("Show Hints"),
            QStringLiteral("Screen Saver Options"),
            QStringLiteral("SCREEN SAVER"),
            QStringLiteral("Quick Manual"),
            QStringLiteral("RTF Manual"),
            QStringLiteral("License"),
            QStringLiteral("About"),
            // the picked cards window and the listing window
            QStringLiteral("Save As Card file"),
            QStringLiteral("Save As Text File"),
            QStringLiteral("Save As Text (With Page Feeds)"),
            QStringLiteral("Close The Form"),
            QStringLiteral("Filter cards in order"),
            QStringLiteral("Select fields for listing"),
            QStringLiteral("Save as text"),
            QStringLiteral("Find a word"),
            QStringLiteral("Form Close"),
            // the groups of the main window and the picked cards window
            QStringLiteral("SEARCH FROM ONE FIELD"),
            QStringLiteral("BOOLEAN SEARCH FROM TWO FIELDS"),
            QStringLiteral("SORTING ORDER"),
            QStringLiteral("FILTER FROM ONE FIELD"),
            QStringLiteral("BOOLEAN FILTERING FROM TWO FIELDS"),
        });
    ExpectContainsAll(text, Keys);
}

TEST(Manual, ExplainsTheCardFileFormat)
{
    const QString text = RtfPlainText(ParseRtf(ReadResource("Cardomo_v05102_beta Manual.rtf")));
    ExpectContainsAll(text,
        {
            QStringLiteral("UTF-8"),
            QStringLiteral("byte-order mark"),
            QStringLiteral("EF BB BF"),
            QStringLiteral("CR LF"),
            QStringLiteral("KQa0b5c1d0e2f1g0h0i1"),
            QStringLiteral("17 lines"),
            QString::fromUtf16(u"\u00A4#<&%\u00A4#<&%KQ==1"),
            QString::fromUtf16(u"\u00A4#>&%\u00A4#>&%KQ==1"),
            QStringLiteral("Card ID"),
            QStringLiteral("32000 cards"),
            QStringLiteral("32000 lines"),
            QStringLiteral("y2021m03d07h09mn05s02ms045"),
            QStringLiteral("Windows-1252"),
        });
}

TEST(QuickManual, ReadsWithoutProblemsAndGivesTheMainKeys)
{
    const RtfDocument d = ParseRtf(ReadResource("Cardomo_v05102_beta Quick Manual.rtf"));
    EXPECT_TRUE(d.problems.isEmpty()) << d.problems.join(u'\n').toStdString();
    const QSet<QString> headings = BoldParagraphs(d);
    EXPECT_TRUE(headings.contains(QString::fromUtf16(u"Note Card Software \u2014 Quick Manual")));
    EXPECT_TRUE(headings.contains(QStringLiteral("Main keys")));
    ExpectContainsAll(RtfPlainText(d),
        {QStringLiteral("Ctrl+N"), QStringLiteral("F5"), QStringLiteral("Ctrl+PageUp"), QStringLiteral("F9"),
            QStringLiteral("F10"), QStringLiteral("F11"), QStringLiteral("F8"), QStringLiteral("Ctrl+F"),
            QStringLiteral("Ctrl+E"), QStringLiteral("RTF Manual")});
}

// The desktop entry starts the program on card files of the type the MIME
// package declares, with the icon that is installed.
TEST(DesktopIntegration, EntryAndCardFileTypeAgree)
{
    QMap<QString, QString> entry;
    for (const QByteArray& line : ReadResource("cardomo.desktop").split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq > 0)
            entry.insert(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)));
    }
    EXPECT_EQ(entry.value(QStringLiteral("Name")), QStringLiteral("Note Card Software"));
    EXPECT_EQ(entry.value(QStringLiteral("Exec")), QStringLiteral("cardomo %f"));
    EXPECT_EQ(entry.value(QStringLiteral("Icon")), QStringLiteral("cardomo"));
    EXPECT_EQ(entry.value(QStringLiteral("Categories")), QStringLiteral("Office;"));

    QXmlStreamReader xml(ReadResource("cardomo-mime.xml"));
    QString type, comment, icon;
    QSet<QString> globs;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"mime-type")
            type = xml.attributes().value(QStringLiteral("type")).toString();
        else if (xml.name() == u"comment")
            comment = xml.readElementText();
        else if (xml.name() == u"glob")
            globs.insert(xml.attributes().value(QStringLiteral("pattern")).toString());
        else if (xml.name() == u"icon")
            icon = xml.attributes().value(QStringLiteral("name")).toString();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(type, QStringLiteral("application/x-cardomo-cardfile"));
    EXPECT_EQ(entry.value(QStringLiteral("MimeType")), type + u';');
    EXPECT_EQ(comment, QStringLiteral("Note Card Software card file"));
    EXPECT_EQ(globs,
        (QSet<QString>{
            QStringLiteral("*.kqk"), QStringLiteral("*.KQK"), QStringLiteral("*.kqd"), QStringLiteral("*.KQD")}));
    EXPECT_EQ(icon, entry.value(QStringLiteral("Icon")));

    QXmlStreamReader svg(ReadResource("cardomo.svg"));
    ASSERT_TRUE(svg.readNextStartElement());
    EXPECT_EQ(svg.name(), u"svg");
    while (!svg.atEnd())
        svg.readNext();
    EXPECT_FALSE(svg.hasError()) << svg.errorString().toStdString();

    EXPECT_TRUE(ReadResource("LICENSE.txt").contains("Copyright (c) 2021 the Note Card Software team"));
}

}  // namespace
