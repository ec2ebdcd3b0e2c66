#include "cardfile.h"
#include "generalerror.h"
#include "safesave.h"
#include "support/testfiles.h"

#include <QDir>
#include <QRandomGenerator>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

const QByteArray Bom("\xEF\xBB\xBF");
const QByteArray MainHeader(
    "IF YOU SEE THIS TEXT, YOU ARE IN WRONG PLACE!! THIS IS CARDOMO DATA FILE. THIS TEXT FILE IS ONLY "
    "FOR THE USE OF CARDOMO SOFTWARE! PLEASE ABORT WITHOUT MAKING A N Y CHANGES IN THIS FILE!");
const QByteArray PickedHeader(
    "IF YOU SEE THIS TEXT, YOU ARE IN WRONG PLACE!! THIS IS CARDOMO DATA FILE. THIS TEXT FILE IS ONLY "
    "FOR THE USE OF CARDOMO SOFTWARE! PLEASE ABORT WITHOUT MAKING ANY CHANGES IN THIS FILE!");
const QByteArray Tag("KQa0b5c1d0e2f1g0h0i1");
const QByteArray Start1("\xC2\xA4#<&%\xC2\xA4#<&%KQ==1");
const QByteArray End1("\xC2\xA4#>&%\xC2\xA4#>&%KQ==1");
const QByteArray SeventeenEmpty = QByteArray("\r\n").repeated(17);

QByteArray FileStart(int count, const QByteArray& header = MainHeader)
{
    return Bom + header + "\r\n" + Tag + "\r\n" + QByteArray::number(count) + "\r\n";
}

// One card's lines with empty fields 1 to 17; memoLines already end in CR LF.
QByteArray CardBytes(int k, const QByteArray& memoLines, const QByteArray& id)
{
    const QByteArray n = QByteArray::number(k);
    return SeventeenEmpty + "\xC2\xA4#<&%\xC2\xA4#<&%KQ==" + n + "\r\n" + memoLines + "\xC2\xA4#>&%\xC2\xA4#>&%KQ==" + n
        + "\r\n" + id + "\r\n";
}

Card MemoCard(const QString& memo, const QString& id = QStringLiteral("ID"))
{
    Card c;
    c[MemoCell] = memo;
    c[CardIdCell] = id;
    return c;
}

class CardFileTest : public ::testing::Test {
protected:
    QString Path(const char* name = "cards.kqk") const { return dir.filePath(QString::fromLatin1(name)); }

    CardFileWriteResult Write(const CardRows& rows, const QString& header = MainFileHeaderText)
    {
        return WriteCardFile(Path(), rows, static_cast<int>(rows.size()), header);
    }
    CardFileReadOutcome Read(CardRows& rows, int capacity = 32000, CardEncoding enc = CardEncoding::Utf8)
    {
        return ReadCardFile(Path(), enc, capacity, rows);
    }

    QTemporaryDir dir;
};

}  // namespace

TEST_F(CardFileTest, AllEmptyCardWritesSeventeenEmptyLinesAndReadsBack)
{
    const CardRows rows{MemoCard(QString(), QStringLiteral("y2021m03d07h09mn05s02ms045"))};
    ASSERT_EQ(Write(rows).status, CardFileWriteResult::Ok);
    EXPECT_EQ(ReadBytes(Path()),
        FileStart(1) + SeventeenEmpty + Start1 + "\r\n" + "\r\n" + End1 + "\r\n" + "y2021m03d07h09mn05s02ms045\r\n");
    CardRows back;
    const auto r = Read(back);
    EXPECT_EQ(r.result, CardFileReadResult::Ok);
    EXPECT_EQ(r.count, 1);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0], rows[0]);
}

TEST_F(CardFileTest, FieldsAndMemoLinesAreWrittenInOrder)
{
    Card c;
    for (int i = 0; i < MemoCell; ++i)
        c[i] = QString::number(i + 1);
    c[MemoCell] = QStringLiteral("a\r\nb");
    c[CardIdCell] = QStringLiteral("id");
    Card second = MemoCard(QStringLiteral("a\r\n"), QStringLiteral("id2"));
    ASSERT_EQ(WriteCardFile(Path(), {c, second}, 2, PickedFileHeaderText).status, CardFileWriteResult::Ok);
    EXPECT_EQ(ReadBytes(Path()),
        FileStart(2, PickedHeader)
            + CrLfLines({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "16", "17"})
            + Start1 + "\r\na\r\nb\r\n" + End1 + "\r\nid\r\n" + CardBytes(2, "a\r\n\r\n", "id2"));
    CardRows back;
    ASSERT_EQ(Read(back).result, CardFileReadResult::Ok);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0], c);
    EXPECT_EQ(back[1][MemoCell], QStringLiteral("a\r\n"));  // keeps its final line break
}

TEST_F(CardFileTest, LoneLineFeedOrCarriageReturnInMemoComesBackAsCrLf)
{
    for (const QString& memo : {QStringLiteral("a\nb"), QStringLiteral("a\rb")}) {
        ASSERT_EQ(Write({MemoCard(memo)}).status, CardFileWriteResult::Ok);
        EXPECT_EQ(ReadBytes(Path()), FileStart(1) + CardBytes(1, memo.toUtf8() + "\r\n", "ID"));
        CardRows back;
        ASSERT_EQ(Read(back).result, CardFileReadResult::Ok);
        EXPECT_EQ(back[0][MemoCell], QStringLiteral("a\r\nb"));
    }
}

TEST_F(CardFileTest, FormatTagTestLooksOnlyForItsLastLetters)
{
    struct Case {
        const char* tag;
        CardFileReadResult result;
    };
    for (const Case& c :
        {Case{"XXa9b9c9d9e9f1g0h0i1", CardFileReadResult::Ok}, Case{"f1g0h0i1 and more", CardFileReadResult::Ok},
            Case{"KQa0b5c1d0e2f1g0h0i2", CardFileReadResult::NotCardFile},
            Case{"KQa0b5c1d0e2F1G0H0I1", CardFileReadResult::NotCardFile}, Case{"", CardFileReadResult::NotCardFile}}) {
        WriteBytes(Path(), Bom + "header\r\n" + c.tag + "\r\n1\r\n" + CardBytes(1, "m\r\n", "ID"));
        CardRows rows(3);
        EXPECT_EQ(Read(rows).result, c.result) << c.tag;
        EXPECT_EQ(rows[0][MemoCell], c.result == CardFileReadResult::Ok ? QStringLiteral("m") : QString());
    }
}

TEST_F(CardFileTest, FileOfNoCardsIsThreeLinesAndFillsNoRow)
{
    ASSERT_EQ(Write({}).status, CardFileWriteResult::Ok);
    EXPECT_EQ(ReadBytes(Path()), FileStart(0));
    for (const char* count : {"0", "-3"}) {
        WriteBytes(Path(), Bom + "h\r\n" + Tag + "\r\n" + count + "\r\n");
        CardRows rows(2);
        rows[0][0] = QStringLiteral("kept");
        const auto r = Read(rows);
        EXPECT_EQ(r.result, CardFileReadResult::Ok);
        EXPECT_EQ(r.count, QByteArray(count).toInt());
        EXPECT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[0][0], QStringLiteral("kept"));
    }
}

TEST_F(CardFileTest, CountLineThatIsNoNumberIsAGeneralErrorBeforeAnyRow)
{
    for (const char* count : {"", "12a", " 3", "3 ", "99999999999", "x", "abc"}) {
        SCOPED_TRACE(count);
        WriteBytes(Path(), Bom + "h\r\n" + Tag + "\r\n" + count + "\r\n" + CardBytes(1, "m\r\n", "I"));
        CardRows rows(1);
        try {
            Read(rows);
            ADD_FAILURE() << "a count line that is no number was taken";
        } catch (const GeneralError& e) {
            EXPECT_EQ(e.text(),
                QStringLiteral("'") + QString::fromLatin1(count) + QStringLiteral("' is not a valid integer value"));
        }
        EXPECT_TRUE(rows[0][MemoCell].isEmpty());
    }
}

TEST_F(CardFileTest, CardCountAgainstCapacity)
{
    // 32000 cards fit the table, 32001 do not; a smaller capacity is honoured too.
    QByteArray body;
    for (int k = 1; k <= 32001; ++k)
        body += CardBytes(k, "m\r\n", "I");
    WriteBytes(Path(), FileStart(32001) + body);
    CardRows rows(32000);
    auto r = Read(rows);
    EXPECT_EQ(r.result, CardFileReadResult::TooManyCards);
    EXPECT_EQ(r.count, 32001);
    EXPECT_TRUE(rows[0][MemoCell].isEmpty());

    QByteArray body32000 = body.left(body.size() - CardBytes(32001, "m\r\n", "I").size());
    WriteBytes(Path(), FileStart(32000) + body32000);
    int calls = 0, last = -1;
    bool ordered = true;
    r = ReadCardFile(Path(), CardEncoding::Utf8, 32000, rows, [&](int i) {
        ordered = ordered && i == last + 1;
        last = i;
        ++calls;
    });
    EXPECT_EQ(r.result, CardFileReadResult::Ok);
    EXPECT_EQ(r.count, 32000);
    EXPECT_EQ(calls, 32000);
    EXPECT_TRUE(ordered);
    EXPECT_EQ(rows[31999][MemoCell], QStringLiteral("m"));

    CardRows fresh;
    r = Read(fresh, 31999);
    EXPECT_EQ(r.result, CardFileReadResult::TooManyCards);
    EXPECT_EQ(r.count, 32000);
    EXPECT_TRUE(fresh.empty());
}

TEST_F(CardFileTest, MemoOf32000LinesReadsAnd32001Fails)
{
    const QByteArray lines32000 = QByteArray("x\r\n").repeated(32000);
    WriteBytes(Path(), FileStart(2) + CardBytes(1, "first\r\n", "A") + CardBytes(2, lines32000, "B"));
    CardRows rows;
    auto r = Read(rows);
    ASSERT_EQ(r.result, CardFileReadResult::Ok);
    EXPECT_EQ(rows[1][MemoCell].size(), 32000 * 3 - 2);
    EXPECT_EQ(rows[1][CardIdCell], QStringLiteral("B"));

    WriteBytes(Path(), FileStart(2) + CardBytes(1, "first\r\n", "A") + CardBytes(2, lines32000 + "x\r\n", "B"));
    rows.clear();
    r = Read(rows);
    EXPECT_EQ(r.result, CardFileReadResult::MemoTooLong);
    EXPECT_EQ(r.memoLines, 32001);
    EXPECT_EQ(r.cardIndex, 1);
    EXPECT_EQ(rows[0][MemoCell], QStringLiteral("first"));  // rows before it are filled
}

TEST_F(CardFileTest, FileCutBeforeOrAfterTheLastEndMarker)
{
    const QByteArray whole = FileStart(2) + CardBytes(1, "a\r\n", "A") + CardBytes(2, "b\r\n", "B");
    const qsizetype endMarker2 = whole.lastIndexOf("\xC2\xA4#>&%\xC2\xA4#>&%KQ==2");

    WriteBytes(Path(), whole.left(endMarker2));  // cut before the last end marker
    CardRows rows;
    auto r = Read(rows);
    EXPECT_EQ(r.result, CardFileReadResult::MemoTooLong);
    EXPECT_EQ(r.memoLines, 32001);
    EXPECT_EQ(r.cardIndex, 1);

    const qsizetype afterMarker = whole.indexOf("\r\n", endMarker2) + 2;
    for (const QByteArray& cut : {whole.left(afterMarker), whole.left(afterMarker - 2), whole.left(afterMarker + 1)}) {
        WriteBytes(Path(), cut);  // cut after the last end marker: the Card ID is short or empty
        rows.clear();
        r = Read(rows);
        ASSERT_EQ(r.result, CardFileReadResult::Ok);
        EXPECT_EQ(rows[1][MemoCell], QStringLiteral("b"));
        EXPECT_EQ(rows[1][CardIdCell], cut.size() > afterMarker ? QStringLiteral("B") : QString());
    }
}

TEST_F(CardFileTest, Utf8LinesEndAtCrLfLfOrLoneCrAndTheBomIsSkipped)
{
    WriteBytes(Path(),
        QByteArray("\xEF\xBB\xBFh\n") + Tag + "\r1\n" + "t1\rt2\r\n" + QByteArray("\n").repeated(15)
            + "\xC2\xA4#<&%x\r\n" + "m1\nm2\rm3\r\n" + "\xC2\xA4#>&% anything\n" + "\xF0\x9F\x98\x80 id");
    CardRows rows;
    ASSERT_EQ(Read(rows).result, CardFileReadResult::Ok);
    EXPECT_EQ(rows[0][0], QStringLiteral("t1"));
    EXPECT_EQ(rows[0][1], QStringLiteral("t2"));
    EXPECT_EQ(rows[0][MemoCell], QStringLiteral("m1\r\nm2\r\nm3"));
    EXPECT_EQ(rows[0][CardIdCell], QStringLiteral("\U0001F600 id"));
}

TEST_F(CardFileTest, LoneCarriageReturnAtTheVeryEndEndsTheLine)
{
    // The last byte of the file is a CR: line 2 is whole, line 3 lies past the end.
    WriteBytes(Path(), "h\nf1g0h0i1 and then a longer tail\r");
    CardRows rows;
    try {
        Read(rows);
        ADD_FAILURE() << "an empty count line was taken";
    } catch (const GeneralError& e) {
        EXPECT_EQ(e.text(), QStringLiteral("'' is not a valid integer value"));
    }
    WriteBytes(Path(),
        "\xEF\xBB\xBFh\r\nKQa0b5c1d0e2f1g0h0i1\r\n1\r" + QByteArray("\r").repeated(17) + "\xC2\xA4#<&%\r" + "memo\r"
            + "\xC2\xA4#>&%\r" + "id\r");
    ASSERT_EQ(Read(rows).result, CardFileReadResult::Ok);
    EXPECT_EQ(rows[0][MemoCell], QStringLiteral("memo"));
    EXPECT_EQ(rows[0][CardIdCell], QStringLiteral("id"));
}

TEST_F(CardFileTest, AnsiFilesDecodeWindows1252AndDropLoneCarriageReturns)
{
    // ä ö Å é € ‘ and the undefined 0x81, with the ANSI markers (¤ is A4).
    WriteBytes(Path(),
        QByteArray("h\r\nKQa0b5c1d0e2f1g0h0i1\r\n1\r\n") + "\xE4\xF6\xC5\xE9 \x80\x91\x81\r\n" + "a\rb\n"
            + QByteArray("\r\n").repeated(15) + "\xA4#<&%\xA4#<&%KQ==1\r\n" + "p\xE4iv\xE4\r\nline\nx\r\r\n"
            + "\xA4#>&%\xA4#>&%KQ==1\r\n" + "id\r\n");
    CardRows rows;
    ASSERT_EQ(Read(rows, 32000, CardEncoding::Ansi).result, CardFileReadResult::Ok);
    EXPECT_EQ(rows[0][0], QStringLiteral("\u00E4\u00F6\u00C5\u00E9 \u20AC\u2018\u0081"));
    EXPECT_EQ(rows[0][1], QStringLiteral("ab"));
    EXPECT_EQ(rows[0][MemoCell], QStringLiteral("p\u00E4iv\u00E4\r\nline\r\nx"));
    EXPECT_EQ(rows[0][CardIdCell], QStringLiteral("id"));
    // The same bytes as UTF-8 do not make a valid card: the ANSI ¤ is no marker there.
    rows.clear();
    EXPECT_EQ(Read(rows).result, CardFileReadResult::MemoTooLong);
}

TEST_F(CardFileTest, GeneratedCardsRoundTripExactly)
{
    QRandomGenerator rng(2024);
    const QStringList words{QStringLiteral("kissa"), QStringLiteral("p\u00E4iv\u00E4"), QStringLiteral("\u00C5land"),
        QStringLiteral("na\u00EFve"), QStringLiteral("\U0001F600"), QStringLiteral("\U00010348x"),
        QStringLiteral("\u20AC5"), QStringLiteral("#<&%"), QStringLiteral("\u00A4")};
    auto text = [&](int maxWords) {
        QStringList w;
        for (int i = rng.bounded(maxWords + 1); i > 0; --i)
            w << words[rng.bounded(words.size())];
        return w.join(u' ');
    };
    CardRows rows(600);
    for (Card& c : rows) {
        for (int f = 0; f < MemoCell; ++f)
            c[f] = rng.bounded(3) == 0 ? QString() : text(8);
        QStringList memo;
        for (int l = rng.bounded(rng.bounded(10) == 0 ? 2000 : 12); l > 0; --l)
            memo << text(20);
        c[MemoCell] = memo.join(QStringLiteral("\r\n"));
        c[CardIdCell] = text(2);
    }
    ASSERT_EQ(Write(rows).status, CardFileWriteResult::Ok);
    const QByteArray first = ReadBytes(Path());
    CardRows back;
    const auto r = Read(back);
    ASSERT_EQ(r.result, CardFileReadResult::Ok);
    ASSERT_EQ(back.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        ASSERT_EQ(back[i], rows[i]) << "card " << i;
    ASSERT_EQ(Write(back).status, CardFileWriteResult::Ok);
    EXPECT_EQ(ReadBytes(Path()), first);
}

TEST_F(CardFileTest, UnpairedSurrogatesAreWrittenAsReplacementCharacters)
{
    Card c = MemoCard(QString(QChar(0xD800)) + u'a' + QChar(0xDC00));
    c[0] = QString(QChar(0xDBFF));
    ASSERT_EQ(Write({c}).status, CardFileWriteResult::Ok);
    const QByteArray bytes = ReadBytes(Path());
    EXPECT_TRUE(bytes.contains("\r\n\xEF\xBF\xBD\r\n"));
    EXPECT_TRUE(bytes.contains("\r\n\xEF\xBF\xBD"
                               "a\xEF\xBF\xBD\r\n"));
    CardRows back;
    ASSERT_EQ(Read(back).result, CardFileReadResult::Ok);
    EXPECT_EQ(back[0][MemoCell], QStringLiteral("\uFFFDa\uFFFD"));
}

TEST_F(CardFileTest, CardsThatWouldNotReadBackAreRefusedBeforeWriting)
{
    struct Case {
        int field;  // cell to spoil in the third card
        QString text;
        QString message;
    };
    const QString lines32001 = QStringLiteral("x\r\n").repeated(32000) + u'x';
    const Case cases[] = {
        {MemoCell, QStringLiteral("ok\r\nbad \u00A4#>&% line"),
            QStringLiteral("Card 3 cannot be saved: a line of its Memo holds \"\u00A4#>&%\". Nothing was written.")},
        {2, QStringLiteral("two\r\nlines"),
            QStringLiteral("Card 3 cannot be saved: field 3 holds a line break. Nothing was written.")},
        {CardIdCell, QStringLiteral("id\n"),
            QStringLiteral("Card 3 cannot be saved: field 19 holds a line break. Nothing was written.")},
        {16, QStringLiteral("a\rb"),
            QStringLiteral("Card 3 cannot be saved: field 17 holds a line break. Nothing was written.")},
        {MemoCell, lines32001,
            QStringLiteral("Card 3 cannot be saved: its Memo has more than 32000 lines. Nothing was written.")},
    };
    WriteBytes(Path(), "previous");
    for (const Case& c : cases) {
        CardRows rows(4);
        rows[2][c.field] = c.text;
        const auto r = Write(rows);
        EXPECT_EQ(r.status, CardFileWriteResult::Refused);
        EXPECT_EQ(r.cardIndex, 2);
        EXPECT_EQ(r.errorText, c.message);
        EXPECT_EQ(ReadBytes(Path()), "previous");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("cards.kqk")});
    }
    // Exactly 32000 Memo lines, and a paragraph separator in a field, are fine.
    CardRows rows(1);
    rows[0][MemoCell] = QStringLiteral("x\r\n").repeated(31999) + u'x';
    rows[0][0] = QStringLiteral("a\u2029b");
    EXPECT_EQ(Write(rows).status, CardFileWriteResult::Ok);
}

TEST_F(CardFileTest, WriteFailingPartWayLeavesThePreviousFileWhole)
{
    CardRows rows(2000, MemoCard(QStringLiteral("line\r\n").repeated(100)));
    ASSERT_EQ(Write({MemoCard(QStringLiteral("old"))}).status, CardFileWriteResult::Ok);
    const QByteArray previous = ReadBytes(Path());

    // Let the file system refuse to grow any file past 64 KiB.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 64 * 1024;
    setrlimit(RLIMIT_FSIZE, &small);
    const auto r = Write(rows);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(r.status, CardFileWriteResult::WriteFailed);
    EXPECT_FALSE(r.errorKind.isEmpty());
    EXPECT_FALSE(r.errorText.isEmpty());
    EXPECT_EQ(ReadBytes(Path()), previous);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("cards.kqk")});
}

TEST_F(CardFileTest, ReadOnlyOrUncreatableTargetsThrowAndStayUntouched)
{
    WriteBytes(Path(), "previous");
    QFile::setPermissions(Path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    EXPECT_TRUE(IsReadOnlyFile(Path()));
    try {
        Write({MemoCard(QStringLiteral("new"))});
        ADD_FAILURE() << "a read-only file was written";
    } catch (const GeneralError& e) {
        EXPECT_EQ(e.text(), QStringLiteral("Cannot create file \"%1\". Permission denied").arg(Path()));
    }
    EXPECT_EQ(ReadBytes(Path()), "previous");
    EXPECT_FALSE(IsReadOnlyFile(Path("missing.kqk")));
    EXPECT_THROW(
        WriteCardFile(dir.filePath(QStringLiteral("no/such/dir.kqk")), {}, 0, MainFileHeaderText), GeneralError);
}

TEST_F(CardFileTest, ByteOrderMarkTest)
{
    struct Case {
        QByteArray bytes;
        bool bom;
    };
    for (const Case& c : {Case{Bom + "x", true}, Case{Bom, true}, Case{"\xEF\xBB", false}, Case{"", false},
             Case{"IF YOU", false}, Case{"\xBB\xBF\xEF", false}}) {
        WriteBytes(Path(), c.bytes);
        EXPECT_EQ(HasUtf8Bom(Path()), c.bom) << c.bytes.toHex().constData();
    }
    EXPECT_THROW(HasUtf8Bom(Path("missing.kqk")), GeneralError);
    CardRows rows;
    EXPECT_THROW(ReadCardFile(Path("missing.kqk"), CardEncoding::Utf8, 32000, rows), GeneralError);
}

TEST_F(CardFileTest, ZeroWidthNoBreakSpaceAtALineStartIsKept)
{
    // Only the byte-order mark at the very start of the file is skipped.
    const QString feff = QStringLiteral("\uFEFF");
    for (const QString& memo :
        {QStringLiteral("a\r\n") + feff + u'b', feff + QStringLiteral("a\nb"), QStringLiteral("a\n") + feff + u'b'}) {
        Card c = MemoCard(memo, feff + QStringLiteral("id"));
        c[0] = feff + QStringLiteral("title");
        ASSERT_EQ(Write({c}).status, CardFileWriteResult::Ok);
        CardRows back;
        ASSERT_EQ(Read(back).result, CardFileReadResult::Ok);
        EXPECT_EQ(back[0][0], c[0]);
        EXPECT_EQ(back[0][CardIdCell], c[CardIdCell]);
        QString expected = memo;
        expected.replace(QStringLiteral("a\nb"), QStringLiteral("a\r\nb"));
        expected.replace(QStringLiteral("a\n") + feff, QStringLiteral("a\r\n") + feff);
        EXPECT_EQ(back[0][MemoCell], expected);
    }
}

TEST_F(CardFileTest, ShortValuesThatRecurShareOneTextAndReadBackEqual)
{
    // Days, years and codes recur from card to card: the cards read hold one
    // text for each such value, and every field reads back as written.
    CardRows written(3);
    for (size_t i = 0; i < written.size(); ++i) {
        written[i][3] = QStringLiteral("12");  // the same Day
        written[i][5] = QStringLiteral("2018b");  // the same Year
        written[i][7] = QStringLiteral("Äänitteet");  // the same Topic, not ASCII
        written[i][10] = QStringLiteral("code %1").arg(i);  // different Code1
        written[i][0] = QString(30, u't');  // long: a text of its own
        written[i][MemoCell] = QStringLiteral("12");  // a Memo is never shared
        written[i][CardIdCell] = QStringLiteral("id");
    }
    ASSERT_EQ(Write(written).status, CardFileWriteResult::Ok);
    CardRows rows;
    ASSERT_EQ(Read(rows).result, CardFileReadResult::Ok);
    ASSERT_EQ(rows.size(), 3u);
    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i], written[i]) << i;
    for (int cell : {3, 5, 7}) {
        EXPECT_TRUE(rows[0][cell].isSharedWith(rows[1][cell])) << cell;
        EXPECT_TRUE(rows[0][cell].isSharedWith(rows[2][cell])) << cell;
    }
    EXPECT_FALSE(rows[0][0].isSharedWith(rows[1][0]));
    EXPECT_FALSE(rows[0][MemoCell].isSharedWith(rows[1][MemoCell]));
    EXPECT_FALSE(rows[0][3].isSharedWith(rows[0][MemoCell]));
    // Changing one card's value leaves the others as they were.
    rows[0][3] += u'!';
    EXPECT_EQ(rows[1][3], QStringLiteral("12"));
}
