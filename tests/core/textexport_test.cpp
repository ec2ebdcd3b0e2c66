#include "filenames.h"
#include "textexport.h"

#include <QBuffer>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>

namespace {

// Bytes are compared as std::string, which GoogleTest prints readably.
std::string Bytes(const QByteArray& b)
{
    return b.toStdString();
}

// Lines joined, each ended by CR LF.
std::string Lines(std::initializer_list<const char*> lines)
{
    std::string out;
    for (const char* l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

const std::string Bom = "\xEF\xBB\xBF";
const std::string Banner = "== Cardomo 0.5 beta (v.0.5.1.0.2) Note Card Software ==";

TextExportOptions Options(TextExportKind kind = TextExportKind::AllCards, bool pageFeeds = false)
{
    TextExportOptions o;
    o.kind = kind;
    o.pageFeedPerCard = pageFeeds;
    o.date = QStringLiteral("7.3.2021");
    o.time = QStringLiteral("9.05.02");
    o.cardFileName = QStringLiteral("/home/lea/kortit/Kirjat.kqk");
    return o;
}

std::string Export(const CardRows& cards, const TextExportOptions& options)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(WriteTextExport(buffer, cards, options));
    return Bytes(buffer.data());
}

Card FullCard()
{
    return Card{
        QStringLiteral("Sota ja rauha"),
        QStringLiteral("Война и мир"),
        QStringLiteral("Osa 1"),
        QStringLiteral("7"),
        QStringLiteral("3"),
        QStringLiteral("1869"),
        QStringLiteral("12"),
        QStringLiteral("Romaanit"),
        QStringLiteral("Venäjä; sota"),
        QStringLiteral("/home/lea/sota.pdf"),
        QStringLiteral("C1"),
        QStringLiteral("C2"),
        QStringLiteral("C3"),
        QStringLiteral("2021"),
        QStringLiteral("03"),
        QStringLiteral("07"),
        QStringLiteral("09:05"),
        QStringLiteral("Ensimmäinen rivi\r\nToinen rivi 😀\r\nKolmas"),
        QStringLiteral("y2021m03d07h09mn05s02ms045"),
    };
}

// The block of a card whose every field is empty.
std::string EmptyBlock(int n)
{
    return "===============================================" + std::to_string(n) + "\r\n"
        + Lines(
            {"           , ", "", "   Topic:          ", "   Keywords:  ", "   File link:      ", "   Code1:        ",
                "   Code2:        ", "   Code3:        ", "   Action date:     ", "", "", "", " ", ""});
}

// A card's block as the export writes it, from the end of its number on.
std::string BlockAfterNumber(const Card& card)
{
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    EXPECT_TRUE(WriteTextExport(b, CardRows{card}, Options()));
    const std::string all = Bytes(b.data());
    const size_t from = all.find("===============================================1\r\n") + 48;
    const size_t footer = all.rfind("\r\n\r\n/home/lea/kortit/Kirjat.kqk\r\n");
    return all.substr(from, footer - from);
}

// A device that takes limit bytes and refuses the rest, as a full disk does.
class FailingDevice : public QIODevice {
public:
    explicit FailingDevice(qint64 limit) : limit_(limit) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    QByteArray written;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        const qint64 room = limit_ - written.size();
        if (room < size)
            setErrorString(QStringLiteral("No space left on device"));
        if (room <= 0)
            return -1;
        const qint64 take = std::min(room, size);
        written.append(data, take);
        return take;  // a short write, when the room ran out
    }

private:
    qint64 limit_;
};

}  // namespace

TEST(TextExport, CardWithEveryFieldEmpty)
{
    EXPECT_EQ(Export({Card{}}, Options()),
        Bom + Lines({"Cardomo 0.5 beta - Text listing   7.3.2021 9.05.02", "", "Number of the cards 1", ""})
            + EmptyBlock(1) + Lines({"", "", "/home/lea/kortit/Kirjat.kqk", "", Banner.c_str(), ""}));
}

TEST(TextExport, PickedCardsWithEveryFieldAndAThreeLineMemoNameTheCardFile)
{
    Card second;
    second[0] = QStringLiteral("Kalevala");
    second[6] = QStringLiteral("5");
    second[MemoCell] = QStringLiteral("Runo\r\n");
    second[CardIdCell] = QStringLiteral("y2022m01d02h03mn04s05ms006");
    EXPECT_EQ(Export({FullCard(), second}, Options(TextExportKind::PickedCards)),
        Bom
            + Lines({
                "Cardomo 0.5 beta - Saving of the picked cards  7.3.2021 9.05.02",
                "",
                "Number of the cards 2",
                "",
                "===============================================1",
                "Sota ja rauha   Война и мир   Osa 1   7 3 1869, 12",
                "",
                "   Topic:          Romaanit",
                "   Keywords:  Venäjä; sota",
                "   File link:      /home/lea/sota.pdf",
                "   Code1:        C1",
                "   Code2:        C2",
                "   Code3:        C3",
                "   Action date:  2021 03 07 09:05",
                "",
                "Ensimmäinen rivi",
                "Toinen rivi 😀",
                "Kolmas",
                "",
                " y2021m03d07h09mn05s02ms045",
                "",
                "===============================================2",
                "Kalevala           , 5",
                "",
                "   Topic:          ",
                "   Keywords:  ",
                "   File link:      ",
                "   Code1:        ",
                "   Code2:        ",
                "   Code3:        ",
                "   Action date:     ",
                "",
                "Runo",
                "",
                "",
                " y2022m01d02h03mn04s05ms006",
                "",
                "",
                "",
                "/home/lea/kortit/Kirjat.kqk",
                "",
                "== Cardomo 0.5 beta (v.0.5.1.0.2) Note Card Software ==",
                "",
            }));
}

TEST(TextExport, PageFeedFollowsEveryCardAndPrecedesTheFooter)
{
    EXPECT_EQ(Export({Card{}, Card{}, Card{}}, Options(TextExportKind::AllCards, true)),
        Bom + Lines({"Cardomo 0.5 beta - Text listing   7.3.2021 9.05.02", "", "Number of the cards 3", ""})
            + EmptyBlock(1) + "\f\r\n" + EmptyBlock(2) + "\f\r\n" + EmptyBlock(3) + "\f\r\n"
            + Lines({"", "", "/home/lea/kortit/Kirjat.kqk", "", Banner.c_str(), ""}));
}

TEST(TextExport, NoCardsAndOddTexts)
{
    // No cards: header and footer only.
    EXPECT_EQ(Export({}, Options(TextExportKind::PickedCards, true)),
        Bom
            + Lines({"Cardomo 0.5 beta - Saving of the picked cards  7.3.2021 9.05.02", "", "Number of the cards 0", "",
                "", "", "/home/lea/kortit/Kirjat.kqk", "", Banner.c_str(), ""}));

    // Unpaired surrogates become U+FFFD; a pair across the Memo's lines stays whole.
    Card odd;
    odd[0] = QString(QChar(0xD800)) + QLatin1Char('x');
    odd[MemoCell] = QString(QChar(0xDC00)) + QStringLiteral("\r\n") + QChar(0xD83D) + QChar(0xDE00);
    TextExportOptions o = Options();
    o.cardFileName = QString(QChar(0xDFFF));
    o.date.clear();
    o.time.clear();
    EXPECT_EQ(Export({odd}, o),
        Bom
            + Lines({"Cardomo 0.5 beta - Text listing    ", "", "Number of the cards 1", "",
                "===============================================1", "\xEF\xBF\xBDx           , ", "",
                "   Topic:          ", "   Keywords:  ", "   File link:      ", "   Code1:        ",
                "   Code2:        ", "   Code3:        ", "   Action date:     ", "", "\xEF\xBF\xBD",
                "\xF0\x9F\x98\x80", "", " ", "", "", "", "\xEF\xBF\xBD", "", Banner.c_str(), ""}));
}

// Many cards go out in several pieces; the bytes are those of one piece.
TEST(TextExport, ManyCardsWrittenInPiecesAndFailuresReported)
{
    CardRows cards(10000, FullCard());
    for (size_t i = 0; i < cards.size(); i += 7)
        cards[i][MemoCell] = QString(200, u'ä');
    QBuffer whole;
    whole.open(QIODevice::WriteOnly);
    ASSERT_TRUE(WriteTextExport(whole, cards, Options()));
    const QByteArray all = whole.data();
    ASSERT_GT(all.size(), 3 * (qsizetype(1) << 20));  // several pieces of 1 MiB

    std::string expected =
        Bom + Lines({"Cardomo 0.5 beta - Text listing   7.3.2021 9.05.02", "", "Number of the cards 10000", ""});
    const std::string plain = BlockAfterNumber(FullCard());
    const std::string longMemo = BlockAfterNumber(cards[0]);
    for (int n = 1; n <= 10000; ++n)
        expected += std::string(47, '=') + std::to_string(n) + ((n - 1) % 7 == 0 ? longMemo : plain);
    expected += Lines({"", "", "/home/lea/kortit/Kirjat.kqk", "", Banner.c_str(), ""});
    EXPECT_EQ(Bytes(all), expected);

    // A device that refuses bytes at any point makes the writer report failure.
    for (qint64 limit : {qint64(0), qint64(2), qint64(3), qint64(100), qint64(1) << 20, (qint64(1) << 20) + 1,
             all.size() / 2, all.size() - 1}) {
        SCOPED_TRACE(limit);
        FailingDevice device(limit);
        EXPECT_FALSE(WriteTextExport(device, cards, Options()));
        EXPECT_EQ(device.written, all.left(limit));
        EXPECT_EQ(device.errorString(), QStringLiteral("No space left on device"));
    }
    FailingDevice roomy(all.size());
    EXPECT_TRUE(WriteTextExport(roomy, cards, Options()));
    EXPECT_EQ(roomy.written, all);

    // The last write failing (the footer) is a failure too.
    FailingDevice small(10);
    EXPECT_FALSE(WriteTextExport(small, CardRows{}, Options()));
}

TEST(ListingTextFile, BomThenTheTextWithCrLfLineBreaks)
{
    struct Case {
        const char* name;
        QString text;
        std::string bytes;
    };
    const Case cases[] = {
        {"CR LF stays", QStringLiteral("a\r\nb\r\n"), Bom + "a\r\nb\r\n"},
        {"a line feed alone gets its carriage return", QStringLiteral("a\nb\n\n"), Bom + "a\r\nb\r\n\r\n"},
        {"a line feed first", QStringLiteral("\nä"), Bom + "\r\n\xC3\xA4"},
        {"a carriage return alone stays", QStringLiteral("a\rb"), Bom + "a\rb"},
        {"no break added at the end", QStringLiteral("end"), Bom + "end"},
        {"empty text: the mark alone", QString(), Bom},
        {"unpaired surrogate", QString(QChar(0xDC00)) + QStringLiteral("\n"), Bom + "\xEF\xBF\xBD\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QBuffer b;
        b.open(QIODevice::WriteOnly);
        EXPECT_TRUE(WriteListingText(b, c.text));
        EXPECT_EQ(Bytes(b.data()), c.bytes);
    }

    // A long line is written in pieces that never part a surrogate pair.
    for (qsizetype at : {qsizetype(65534), qsizetype(65535), qsizetype(65536), qsizetype(131071)}) {
        SCOPED_TRACE(at);
        QString text(at, u'x');
        text += QChar(0xD83D);
        text += QChar(0xDE00);
        text += QStringLiteral("y\nz");
        text += QString(70000, u'\r');
        text += u'\n';
        QBuffer b;
        b.open(QIODevice::WriteOnly);
        EXPECT_TRUE(WriteListingText(b, text));
        EXPECT_EQ(Bytes(b.data()),
            Bom + std::string(static_cast<size_t>(at), 'x') + "\xF0\x9F\x98\x80y\r\nz" + std::string(70000, '\r')
                + "\n");
    }

    FailingDevice full(5);
    EXPECT_FALSE(WriteListingText(full, QStringLiteral("abcdef\r\n")));
    EXPECT_EQ(full.written,
        QByteArray("\xEF\xBB\xBF"
                   "ab"));
}

TEST(TextExport, DialogTitlesAndMessages)
{
    EXPECT_EQ(TextExportDialogTitle(false), QStringLiteral("Save as text (*.txt) (UTF-8)"));
    EXPECT_EQ(TextExportDialogTitle(true), QStringLiteral("Save as text with page feeds (*.txt) (UTF-8)"));
    EXPECT_EQ(ListingSaveDialogTitle, QStringLiteral("Save the content of the form as UTF-8 text (*.txt)"));
    EXPECT_EQ(ReplaceFileQuestion(QStringLiteral("Kirjat.txt")),
        QStringLiteral("The file Kirjat.txt already exists. Do you want to replace it?"));
    EXPECT_EQ(ListingSaveFailedMessage(QStringLiteral("No space left on device")),
        QStringLiteral("Exception Message: No space left on device. The recording disk may be out of space. "
                       "The file may not have been saved correctly. Check the issue and save to another disk "
                       "before closing the job file."));
}

TEST(FileNames, PartsAndTheTxtRule)
{
    struct Case {
        const char* path;
        const char* part;
        const char* withoutExtension;
    };
    const Case names[] = {
        {"/home/lea/Books.kqk", "Books.kqk", "Books"},
        {"Books.kqk", "Books.kqk", "Books"},
        {"New.kqk", "New.kqk", "New"},
        {"/home/lea/my.books.kqk", "my.books.kqk", "my.books"},
        {"/home/lea.d/notes", "notes", "notes"},
        {"/home/lea/.notes", ".notes", ".notes"},
        {"/home/lea/Kirjat.", "Kirjat.", "Kirjat"},
        {"/home/lea/", "", ""},
        {"", "", ""},
    };
    for (const Case& c : names) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(FileNamePart(QString::fromUtf8(c.path)), QString::fromUtf8(c.part));
        EXPECT_EQ(FileNameWithoutExtension(QString::fromUtf8(c.path)), QString::fromUtf8(c.withoutExtension));
    }

    const std::pair<const char*, const char*> txt[] = {
        {"/home/lea/notes", "/home/lea/notes.txt"},
        {"/home/lea/notes.TXT", "/home/lea/notes.TXT"},
        {"/home/lea/notes.txt", "/home/lea/notes.txt"},
        {"/home/lea/notes.Txt", "/home/lea/notes.Txt.txt"},
        {"/home/lea/old.txt/notes", "/home/lea/old.txt/notes"},
        {"/home/lea/notes.kqk", "/home/lea/notes.kqk.txt"},
    };
    for (const auto& [path, result] : txt) {
        SCOPED_TRACE(path);
        EXPECT_EQ(WithTxtExtension(QString::fromUtf8(path)), QString::fromUtf8(result));
    }
}
