#include "cardrows.h"
#include "importing.h"
#include "tabular.h"

#include <QBuffer>
#include <gtest/gtest.h>
#include <string>

namespace {

std::string Table(const CardRows& cards, TableFormat format)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(WriteCardTable(buffer, cards, format));
    return buffer.data().toStdString();
}

// The data rows only (the header row dropped).
std::string Rows(const CardRows& cards, TableFormat format)
{
    const std::string all = Table(cards, format);
    return all.substr(all.find('\n') + 1);
}

TEST(Tabular, AnUnpairedSurrogateIsWrittenAsReplacementCharacter)
{
    Card c;
    c[0] = QString(QChar(0xD800)) + u'x';
    c[CardIdCell] = QString(QChar(0xDC00));
    EXPECT_EQ(Rows({c}, TableFormat::Csv), "\xEF\xBF\xBDx,,,,,,,,,,,,,,,,,,\xEF\xBF\xBD\r\n");
    EXPECT_EQ(Rows({c}, TableFormat::Tsv), "\xEF\xBF\xBDx\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\xEF\xBF\xBD\n");
}

TEST(Tabular, CsvQuotesALoneCarriageReturnOrLineFeedToo)
{
    const Card c = CardWith({{0, "a\rb"}, {1, "c\nd"}, {2, "plain; text"}});
    EXPECT_EQ(Rows({c}, TableFormat::Csv), "\"a\rb\",\"c\nd\",plain; text,,,,,,,,,,,,,,,,\r\n");
}

TEST(Tabular, CsvReadsWhatRfc4180Allows)
{
    const TableReadResult r =
        ReadCsvCards(QByteArray("\xEF\xBB\xBFTitle1,Memo,Card ID\r"  // a byte-order mark, a lone CR ending the row
                                "\"a,\"\"b\"\"\",\"x\r\ny\",\n"  // a comma at the end: one more, empty field
                                "\r\n"  // an empty line is no row
                                "plain,,id"));  // no line end after the last row
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    ASSERT_EQ(r.cards.size(), 2u);
    EXPECT_EQ(r.cards[0][0], QStringLiteral("a,\"b\""));
    EXPECT_EQ(r.cards[0][MemoCell], QStringLiteral("x\r\ny"));
    EXPECT_EQ(r.cards[0][CardIdCell], QString());
    EXPECT_EQ(r.cards[1][0], QStringLiteral("plain"));
    EXPECT_EQ(r.cards[1][CardIdCell], QStringLiteral("id"));
    EXPECT_EQ(r.needsCardId, (std::vector<bool>{true, false}));
}

TEST(Tabular, CsvRefusals)
{
    const struct {
        const char* csv;
        const char* error;
    } cases[] = {
        {"", "The table has no header row"},
        {"Title1,Title1\r\n", "The column \"Title1\" comes twice"},
        {"title1\r\n", "The column \"title1\" is not a field name"},
        {"Title1\r\na\"b\r\n", "Line 2: a double quote inside a field that is not quoted"},
        {"Title1\r\n\"a\"b\r\n", "Line 2: a quoted field is followed by more text before the next comma"},
        {"Title1,Topic\r\na,b,c\r\n", "Row 2 has 3 fields, the header 2"},
    };
    for (const auto& c : cases) {
        const TableReadResult r = ReadCsvCards(QByteArray(c.csv));
        EXPECT_FALSE(r.ok) << c.csv;
        EXPECT_EQ(r.error.toStdString(), c.error);
    }
}

TEST(Tabular, WhatIsWrittenReadsBack)
{
    const CardRows cards = {CardWith({{0, "\xF0\x9F\x98\x80, \"q\""}, {MemoCell, "1\r\n\r\n2"}, {CardIdCell, "id"}}),
        CardWith({{7, "\\t"}})};
    QBuffer csv;
    csv.open(QIODevice::WriteOnly);
    ASSERT_TRUE(WriteCardTable(csv, cards, TableFormat::Csv));
    TableReadResult r = ReadCsvCards(csv.data());
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.cards, cards);
    QBuffer json;
    json.open(QIODevice::WriteOnly);
    ASSERT_TRUE(WriteCardTable(json, cards, TableFormat::Json));
    r = ReadJsonCards(json.data());
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.cards, cards);
}

TEST(Tabular, AMemoGetsCrLfLineBreaks)
{
    EXPECT_EQ(MemoLineBreaks(u"a\nb\rc\r\nd\n\r"), QStringLiteral("a\r\nb\r\nc\r\nd\r\n\r\n"));
}

TEST(Tabular, AppendCardsChecksTheRoomLeft)
{
    CardStore s = OpenStore({TitledCard("a", "1")});
    s.MaxCardCount = 3;
    ImportOutcome out = AppendCards(s, {TitledCard("b", "2"), TitledCard("c", "3"), TitledCard("d", "4")});
    EXPECT_FALSE(out.imported());
    EXPECT_EQ(out.message.toStdString(),
        "The file you are trying to open contains more cards than is the allowed number of the cards in "
        "current softwareversion: 3 cards.");
    EXPECT_EQ(s.CardCount, 1);
    EXPECT_FALSE(s.CardFileChanged);
    out = AppendCards(s, {TitledCard("b", "2"), TitledCard("c", "3")});
    EXPECT_TRUE(out.imported());
    EXPECT_EQ(out.cardsAdded, 2);
    EXPECT_EQ(IdsOf(s.CardTable, s.CardCount), QStringLiteral("1 2 3"));
    EXPECT_EQ(s.CurrentCard, 2);
    EXPECT_TRUE(s.CardFileChanged);
}

}  // namespace
