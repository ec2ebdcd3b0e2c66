#include "cardfile.h"
#include "cardstore.h"
#include "generalerror.h"
#include "importing.h"
#include "support/testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QByteArray Bom("\xEF\xBB\xBF");
const QByteArray Header("IF YOU SEE THIS TEXT, YOU ARE IN WRONG PLACE!!");
const QByteArray Tag("KQa0b5c1d0e2f1g0h0i1");

const QString Utf8Refused = QStringLiteral(
    "You are trying to input ANSI file in UTF-8 mode. Please select instead: Edit --> Input external ANSI card "
    "file to the current card file (old format)");
const QString AnsiRefused = QStringLiteral("This an UTF-8 file, not an ANSI file.");
const QString NoSuchFile = QStringLiteral("The file with this name does not exist in this directory");
const QString NotCardFile = QStringLiteral(
    "The file you are trying to open might not be saved with the current version or the file is corrupted. "
    "Please update the software");
const QString TooMany = QStringLiteral(
    "The file you are trying to open contains more cards than is the allowed number of the cards in current "
    "softwareversion: 32000 cards.");

// A card with every field filled: "<tag> f1" ... "<tag> f17", a two-line
// Memo and the Card ID "<tag> id".
Card FullCard(const QString& tag)
{
    Card c;
    for (int i = 0; i < MemoCell; ++i)
        c[static_cast<size_t>(i)] = tag + QStringLiteral(" f") + QString::number(i + 1);
    c[MemoCell] = tag + QStringLiteral(" memo\r\nline 2");
    c[CardIdCell] = tag + QStringLiteral(" id");
    return c;
}

CardRows Cards(int count, const QString& prefix)
{
    CardRows rows(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        rows[static_cast<size_t>(i)][CardIdCell] = prefix + QString::number(i + 1);
    return rows;
}

// Everything an import may touch, to tell that a refusal changed nothing.
struct Snapshot {
    CardRows table;
    int count, current;
    QString name;
    bool open, changed;
    CardRows picked;
    int pickedCount;
    Card deleted;
    bool deletedHeld;

    explicit Snapshot(const CardStore& s)
        : table(s.CardTable),
          count(s.CardCount),
          current(s.CurrentCard),
          name(s.CardFileName),
          open(s.FileOpen),
          changed(s.CardFileChanged),
          picked(s.PickedTable),
          pickedCount(s.PickedCount),
          deleted(s.DeletedCard),
          deletedHeld(s.DeletedCardHeld)
    {
    }
    bool operator==(const Snapshot&) const = default;
};

class ImportTest : public ::testing::Test {
protected:
    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    // An open card file of count cards with the Card IDs old1, old2, ...,
    // showing its first card, unchanged, with a picked set and a deleted card.
    void Open(int count)
    {
        store.RenewTables();
        for (int i = 0; i < count; ++i)
            store.CardTable[static_cast<size_t>(i)] = FullCard(QStringLiteral("old") + QString::number(i + 1));
        store.CardCount = count;
        store.CurrentCard = 0;
        store.FileOpen = true;
        store.CardFileChanged = false;
        store.CardFileName = QStringLiteral("main.kqk");
        store.PickedTable = {FullCard(QStringLiteral("picked"))};
        store.PickedCount = 1;
        store.DeletedCard = FullCard(QStringLiteral("deleted"));
        store.DeletedCardHeld = true;
    }

    QString WriteCards(const char* name, const CardRows& rows)
    {
        const QString p = Path(name);
        EXPECT_EQ(
            WriteCardFile(p, rows, static_cast<int>(rows.size()), MainFileHeaderText).status, CardFileWriteResult::Ok);
        return p;
    }

    QString WriteRaw(const char* name, const QByteArray& bytes)
    {
        const QString p = Path(name);
        WriteBytes(p, bytes);
        return p;
    }

    QTemporaryDir dir;
    CardStore store;
};

}  // namespace

TEST_F(ImportTest, AppendsEveryCardInFileOrderWithItsCardIdAndShowsTheLast)
{
    Open(3);
    const Card a = FullCard(QStringLiteral("new1")), b = FullCard(QStringLiteral("new2"));
    const QString path = WriteCards("import.kqk", {a, b});
    const Snapshot before(store);

    const ImportOutcome out = AppendCardFile(store, path, CardEncoding::Utf8);

    EXPECT_EQ(out.result, ImportResult::Imported);
    EXPECT_TRUE(out.imported());
    EXPECT_EQ(out.message, QString());
    EXPECT_EQ(out.cardsAdded, 2);
    EXPECT_EQ(store.CardCount, 5);
    EXPECT_EQ(store.CurrentCard, 4);
    EXPECT_TRUE(store.CardFileChanged);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(store.CardTable[static_cast<size_t>(i)], before.table[static_cast<size_t>(i)]) << "row " << i;
    EXPECT_EQ(store.CardTable[3], a);
    EXPECT_EQ(store.CardTable[4], b);
    EXPECT_EQ(store.CardTable[4][CardIdCell], QStringLiteral("new2 id"));
    // Nothing else changes.
    EXPECT_EQ(store.CardFileName, before.name);
    EXPECT_TRUE(store.FileOpen);
    EXPECT_EQ(store.PickedTable, before.picked);
    EXPECT_EQ(store.PickedCount, 1);
    EXPECT_EQ(store.DeletedCard, before.deleted);
    EXPECT_TRUE(store.DeletedCardHeld);
    EXPECT_EQ(store.CardTable.size(), before.table.size());

    // The same file again adds its cards again; Card IDs are not compared.
    ASSERT_TRUE(AppendCardFile(store, path, CardEncoding::Utf8).imported());
    EXPECT_EQ(store.CardCount, 7);
    EXPECT_EQ(store.CurrentCard, 6);
    EXPECT_EQ(store.CardTable[5], a);
    EXPECT_EQ(store.CardTable[6], b);
}

TEST_F(ImportTest, RoomForCardsEndsAt32000)
{
    struct Case {
        const char* name;
        int present;
        int imported;
        bool accepted;
    };
    const Case cases[] = {
        {"2 into 31998 fills the table", 31998, 2, true},
        {"3 into 31998 is one too many", 31998, 3, false},
        {"1 into 31999", 31999, 1, true},
        {"31999 into 1", 1, 31999, true},
        {"32000 into 1", 1, 32000, false},
        {"none into a full table", 32000, 0, true},
        {"1 into a full table", 32000, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        store = CardStore();
        Open(1);
        store.CardCount = c.present;
        store.CurrentCard = c.present - 1;
        const QString path = WriteCards("import.kqk", Cards(c.imported, QStringLiteral("in")));
        const Snapshot before(store);

        const ImportOutcome out = AppendCardFile(store, path, CardEncoding::Utf8);

        if (c.accepted) {
            EXPECT_EQ(out.result, ImportResult::Imported);
            EXPECT_EQ(out.message, QString());
            EXPECT_EQ(store.CardCount, c.present + c.imported);
            EXPECT_EQ(store.CurrentCard, c.present + c.imported - 1);
            EXPECT_TRUE(store.CardFileChanged);
            if (c.imported > 0) {
                EXPECT_EQ(store.CardTable[static_cast<size_t>(c.present)][CardIdCell], QStringLiteral("in1"));
                EXPECT_EQ(store.CardTable[static_cast<size_t>(store.CardCount - 1)][CardIdCell],
                    QStringLiteral("in") + QString::number(c.imported));
            }
            EXPECT_EQ(store.CardTable[0], before.table[0]);
        } else {
            EXPECT_EQ(out.result, ImportResult::TooManyCards);
            EXPECT_EQ(out.message, TooMany);
            EXPECT_TRUE(Snapshot(store) == before);
        }
    }
}

TEST_F(ImportTest, CountOfNoneOrBelowAddsNothingButMovesToTheLastCardAndMarksTheChange)
{
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const QByteArray start = Bom + Header + "\r\n" + Tag + "\r\n";
    // Card lines after a count of 0 or less are never read.
    const QByteArray strayCard = QByteArray("\r\n").repeated(17) + "\xC2\xA4#<&%\xC2\xA4#<&%KQ==1\r\nmemo\r\n"
        + "\xC2\xA4#>&%\xC2\xA4#>&%KQ==1\r\nstray\r\n";
    const Case cases[] = {
        {"0", start + "0\r\n"},
        {"negative", start + "-5\r\n" + strayCard},
        {"minus zero", start + "-0\r\n" + strayCard},
        {"most negative", start + "-2147483648\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        store = CardStore();
        Open(3);
        const Snapshot before(store);
        const QString path = WriteRaw("none.kqk", c.bytes);

        const ImportOutcome out = AppendCardFile(store, path, CardEncoding::Utf8);

        EXPECT_EQ(out.result, ImportResult::Imported);
        EXPECT_EQ(out.message, QString());
        EXPECT_EQ(out.cardsAdded, 0);
        EXPECT_EQ(store.CardCount, 3);
        EXPECT_EQ(store.CurrentCard, 2);
        EXPECT_TRUE(store.CardFileChanged);
        EXPECT_EQ(store.CardTable, before.table);
    }
}

TEST_F(ImportTest, RefusalsGiveTheirMessageAndLeaveTheStoreAsItWas)
{
    const QByteArray ansiCard =
        QByteArray("\r\n").repeated(17) + "\xA4#<&%\xA4#<&%KQ==1\r\nm\r\n" + "\xA4#>&%\xA4#>&%KQ==1\r\nid\r\n";
    const QByteArray ansiFile = Header + "\r\n" + Tag + "\r\n1\r\n" + ansiCard;
    const QByteArray utf8Card = QByteArray("\r\n").repeated(17) + "\xC2\xA4#<&%\xC2\xA4#<&%KQ==1\r\nm\r\n"
        + "\xC2\xA4#>&%\xC2\xA4#>&%KQ==1\r\nid\r\n";
    const QByteArray utf8File = Bom + Header + "\r\n" + Tag + "\r\n1\r\n" + utf8Card;
    // The first card is whole; the second is cut after its start marker, so
    // its Memo runs into the end of the file.
    const QByteArray cutFile = Bom + Header + "\r\n" + Tag + "\r\n2\r\n" + utf8Card + QByteArray("\r\n").repeated(17)
        + "\xC2\xA4#<&%\xC2\xA4#<&%KQ==2\r\n" + "memo\r\n";
    const QString memoTooLong = QStringLiteral(
        "Error in opening the file! The Memo field of some card may exeed allowed mount of lines 32000\r\n"
        " or the file is corrupted: 32001 Error in card index: 1");

    struct Case {
        const char* name;
        std::optional<QByteArray> bytes;  // none: the file does not exist
        CardEncoding encoding;
        ImportResult result;
        QString message;
        int present = 3;
    };
    const Case cases[] = {
        {"missing file", std::nullopt, CardEncoding::Utf8, ImportResult::NoSuchFile, NoSuchFile},
        {"missing file, old format", std::nullopt, CardEncoding::Ansi, ImportResult::NoSuchFile, NoSuchFile},
        {"old-format file to the UTF-8 import", ansiFile, CardEncoding::Utf8, ImportResult::WrongEncoding, Utf8Refused},
        {"UTF-8 file to the old-format import", utf8File, CardEncoding::Ansi, ImportResult::WrongEncoding, AnsiRefused},
        {"empty file to the UTF-8 import", QByteArray(), CardEncoding::Utf8, ImportResult::WrongEncoding, Utf8Refused},
        {"empty file to the old-format import", QByteArray(), CardEncoding::Ansi, ImportResult::NotCardFile,
            NotCardFile},
        {"other format tag", Bom + Header + "\r\nKQa0b5c1d0e2f1g0h0i2\r\n1\r\n" + utf8Card, CardEncoding::Utf8,
            ImportResult::NotCardFile, NotCardFile},
        {"other format tag, old format", Header + "\r\nKQf1g0h0\r\n1\r\n" + ansiCard, CardEncoding::Ansi,
            ImportResult::NotCardFile, NotCardFile},
        {"more cards than room", Bom + Header + "\r\n" + Tag + "\r\n2\r\n" + utf8Card + utf8Card, CardEncoding::Utf8,
            ImportResult::TooManyCards, TooMany, 31999},
        {"Memo too long drops the cards read before it", cutFile, CardEncoding::Utf8, ImportResult::MemoTooLong,
            memoTooLong},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        store = CardStore();
        Open(3);
        store.CardCount = c.present;
        store.CurrentCard = 1;
        const QString path = Path("refused.kqk");
        QFile::remove(path);
        if (c.bytes)
            WriteRaw("refused.kqk", *c.bytes);
        const Snapshot before(store);

        const ImportOutcome out = AppendCardFile(store, path, c.encoding);

        EXPECT_EQ(out.result, c.result);
        EXPECT_FALSE(out.imported());
        EXPECT_EQ(out.message, c.message);
        EXPECT_EQ(out.cardsAdded, 0);
        EXPECT_TRUE(Snapshot(store) == before);
    }
}

TEST_F(ImportTest, UnreadableFileOrCountThatIsNoNumberIsAGeneralErrorThatChangesNothing)
{
    struct Case {
        const char* name;
        QString path;
        CardEncoding encoding;
        QString error;  // empty: any text
    };
    const QString notNumber =
        WriteRaw("nan.kqk", Bom + Header + "\r\n" + Tag + "\r\n12a\r\n" + QByteArray("\r\n").repeated(40));
    const QString notNumberAnsi = WriteRaw("nan-ansi.kqk", Header + "\r\n" + Tag + "\r\n\r\n");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.kqk")));
    const Case cases[] = {
        {"count line not a number", notNumber, CardEncoding::Utf8,
            QStringLiteral("'12a' is not a valid integer value")},
        {"empty count line, old format", notNumberAnsi, CardEncoding::Ansi,
            QStringLiteral("'' is not a valid integer value")},
        {"a folder", Path("folder.kqk"), CardEncoding::Utf8, QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        store = CardStore();
        Open(2);
        const Snapshot before(store);
        try {
            AppendCardFile(store, c.path, c.encoding);
            ADD_FAILURE() << "no error";
        } catch (const GeneralError& e) {
            if (!c.error.isEmpty())
                EXPECT_EQ(e.text(), c.error);
            else
                EXPECT_FALSE(e.text().isEmpty());
        }
        EXPECT_TRUE(Snapshot(store) == before);
    }
}

TEST_F(ImportTest, OldFormatFileKeepsItsAccentedLetters)
{
    Open(1);
    // Windows-1252: E4 F6 FC are äöü, C5 is Å, 80 is the euro sign, A4 the ¤ of the markers.
    QByteArray card("\xE4\xF6\xFC\r\n\xC5land\r\n");
    card += QByteArray("\r\n").repeated(15);
    card += "\xA4#<&%\xA4#<&%KQ==1\r\n";
    card += "Hinta 5 \x80\r\nr\xE4ksi\r\n";
    card += "\xA4#>&%\xA4#>&%KQ==1\r\n";
    card += "y2003m01d02h03mn04s05ms006\r\n";
    const QString path = WriteRaw("old.kqk", Header + "\r\n" + Tag + "\r\n1\r\n" + card);

    const ImportOutcome out = AppendCardFile(store, path, CardEncoding::Ansi);

    ASSERT_EQ(out.result, ImportResult::Imported);
    EXPECT_EQ(store.CardCount, 2);
    EXPECT_EQ(store.CurrentCard, 1);
    const Card& c = store.CardTable[1];
    EXPECT_EQ(c[0], QString::fromUtf16(u"\u00e4\u00f6\u00fc"));
    EXPECT_EQ(c[1], QString::fromUtf16(u"\u00c5land"));
    EXPECT_EQ(c[2], QString());
    EXPECT_EQ(c[MemoCell], QString::fromUtf16(u"Hinta 5 \u20ac\r\nr\u00e4ksi"));
    EXPECT_EQ(c[CardIdCell], QStringLiteral("y2003m01d02h03mn04s05ms006"));
}

TEST_F(ImportTest, TableKeptOnlyAsLargeAsItsCardsGrowsToTakeTheImport)
{
    Open(2);
    store.CardTable.resize(2);
    const QString path = WriteCards("import.kqk", Cards(3, QStringLiteral("in")));

    ASSERT_TRUE(AppendCardFile(store, path, CardEncoding::Utf8).imported());

    ASSERT_GE(store.CardTable.size(), 5u);
    EXPECT_EQ(store.CardCount, 5);
    EXPECT_EQ(store.CardTable[1], FullCard(QStringLiteral("old2")));
    EXPECT_EQ(store.CardTable[2][CardIdCell], QStringLiteral("in1"));
    EXPECT_EQ(store.CardTable[4][CardIdCell], QStringLiteral("in3"));
}

TEST_F(ImportTest, WithoutAnOpenCardFileNothingHappens)
{
    const QString path = WriteCards("import.kqk", Cards(2, QStringLiteral("in")));
    const Snapshot before(store);

    const ImportOutcome out = AppendCardFile(store, path, CardEncoding::Utf8);

    EXPECT_EQ(out.result, ImportResult::NoCardFileOpen);
    EXPECT_EQ(out.message, QString());
    EXPECT_TRUE(Snapshot(store) == before);
}
