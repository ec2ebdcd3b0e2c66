// Saving the picked cards as a card file of their own, from the picked
// cards window's menu entry "Save As Card file" (Ctrl+R).
#include "search_fixture.h"

#include "support/filesystems.h"

#include <QDir>
#include <QFile>
#include <cstring>

namespace {

QString Reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

class SavePickedTest : public SearchTest {
protected:
    // Cards 5, 9 and 12 of 12 hold "pick" in Code1; card 9 has two Memo lines.
    void SetUp() override
    {
        QStringList code1(12);
        for (int k : {5, 9, 12})
            code1[k - 1] = QStringLiteral("pick");
        CardRows rows = Rows(12, 11, code1);
        rows[8][MemoCell] = QStringLiteral("Memo 9\r\nsecond line");
        StartWith(rows);
        form->fieldSearch->ComboBox1->setCurrentIndex(10);
        Type(form->fieldSearch->Edit1, QStringLiteral("pick"));
    }

    // Picks the three cards and runs act in the picked cards window.
    void WhilePicked(const std::function<void()>& act)
    {
        acts[QStringLiteral("Form3")] = act;
        form->fieldSearch->btnPoimi->click();
        ASSERT_EQ(opened.size(), 1u);
        opened.clear();
    }

    // Ctrl+R in the picked cards window.
    void SaveKey() { Key(form3, Qt::Key_R, Qt::ControlModifier); }
};

// The card file of the three picked cards, byte for byte.
QByteArray ExpectedFile()
{
    QByteArray bytes = "\xEF\xBB\xBF";
    bytes += CrLfLines({"IF YOU SEE THIS TEXT, YOU ARE IN WRONG PLACE!! THIS IS CARDOMO DATA FILE. THIS TEXT FILE IS "
                        "ONLY FOR THE USE OF CARDOMO SOFTWARE! PLEASE ABORT WITHOUT MAKING ANY CHANGES IN THIS FILE!",
        "KQa0b5c1d0e2f1g0h0i1", "3"});
    struct Picked {
        const char* title;
        std::initializer_list<const char*> memo;
        const char* id;
    };
    const Picked picked[] = {
        {"Card 5", {"Memo 5"}, "id5"},
        {"Card 9", {"Memo 9", "second line"}, "id9"},
        {"Card 12", {"Memo 12"}, "id12"},
    };
    int marker = 0;
    for (const Picked& p : picked) {
        ++marker;
        bytes += CrLfLines({p.title, "", "", "", "", "", "", "", "", "", "pick", "", "", "", "", "", ""});
        bytes += "\xC2\xA4#<&%\xC2\xA4#<&%KQ==" + QByteArray::number(marker) + "\r\n";
        for (const char* line : p.memo)
            bytes += QByteArray(line) + "\r\n";
        bytes += "\xC2\xA4#>&%\xC2\xA4#>&%KQ==" + QByteArray::number(marker) + "\r\n";
        bytes += QByteArray(p.id) + "\r\n";
    }
    return bytes;
}

}  // namespace

TEST_F(SavePickedTest, WritesThePickedSetWithItsOwnHeaderAndNumbers)
{
    platform.fileAnswers = {Path(QStringLiteral("picked"))};
    WhilePicked([this] { SaveKey(); });
    ASSERT_EQ(platform.dialogs.size(), 1u);
    EXPECT_TRUE(platform.dialogs[0].save);
    EXPECT_EQ(platform.dialogs[0].request.title, QStringLiteral("Save Cardomo card file as (.kqk) UTF-8"));
    EXPECT_EQ(platform.dialogs[0].request.filter, QStringLiteral("Cardomo data file (*.kqk)|*.kqk;*.kqd"));
    EXPECT_TRUE(platform.dialogs[0].request.initialName.isEmpty());
    EXPECT_TRUE(platform.messages.empty());
    // ".kqk" was added to the name.
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("picked"))));
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("picked.kqk"))), ExpectedFile());
    // It opens as a card file of three cards that keep their Card IDs.
    CardRows back;
    const CardFileReadOutcome read = ReadCardFile(Path(QStringLiteral("picked.kqk")), CardEncoding::Utf8, 10, back);
    ASSERT_EQ(read.result, CardFileReadResult::Ok);
    ASSERT_EQ(read.count, 3);
    EXPECT_EQ(back[0][CardIdCell], QStringLiteral("id5"));
    EXPECT_EQ(back[1][CardIdCell], QStringLiteral("id9"));
    EXPECT_EQ(back[1][MemoCell], QStringLiteral("Memo 9\r\nsecond line"));
    EXPECT_EQ(back[2][CardIdCell], QStringLiteral("id12"));
    // The open card file is left alone.
    EXPECT_EQ(store().CardFileName, Path(QStringLiteral("cards.kqk")));
    EXPECT_FALSE(store().CardFileChanged);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("cards.kqk - CARDOMO 0.5 beta"));
    EXPECT_EQ(store().PickedCount, 3);
}

TEST_F(SavePickedTest, TheDialogOffersTheNameOfTheLastSave)
{
    QDir().mkpath(Path(QStringLiteral("sub")));
    platform.fileAnswers = {Path(QStringLiteral("sub/first.KQK")), Path(QStringLiteral("second.kqk.old"))};
    WhilePicked([this] {
        SaveKey();
        form3->btnTaakse->click();  // the set and the window go on
        form3->Tallenna1->trigger();
    });
    ASSERT_EQ(platform.dialogs.size(), 2u);
    EXPECT_TRUE(platform.dialogs[0].request.initialName.isEmpty());
    EXPECT_EQ(platform.dialogs[1].request.initialName, QStringLiteral("first.KQK"));
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("sub/first.KQK"))), ExpectedFile());
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("second.kqk.old"))), ExpectedFile());
    // A later picked set: the name is still there.
    platform.fileAnswers = {std::nullopt};
    WhilePicked([this] { SaveKey(); });
    ASSERT_EQ(platform.dialogs.size(), 3u);
    EXPECT_EQ(platform.dialogs[2].request.initialName, QStringLiteral("second.kqk.old"));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(SavePickedTest, EmptyNameCancelAndTheReplaceQuestion)
{
    const QString path = Path(QStringLiteral("old.kqk"));
    WriteBytes(path, "old");
    platform.fileAnswers = {QString(), std::nullopt, path, path};
    platform.answers = {MsgAnswer::No, MsgAnswer::Yes};
    WhilePicked([this] {
        SaveKey();  // an empty name
        SaveKey();  // cancelled
        SaveKey();  // an existing file, not replaced
        SaveKey();  // replaced
    });
    ASSERT_EQ(platform.messages.size(), 3u);
    EXPECT_EQ(platform.messages[0].text, QStringLiteral("Please give correct name for the file!"));
    EXPECT_EQ(platform.messages[0].buttons, MsgButtons::Ok);
    const QString question = QStringLiteral("The file old.kqk already exists. Do you want to replace it?");
    for (size_t i : {1u, 2u}) {
        EXPECT_EQ(platform.messages[i].text, question);
        EXPECT_EQ(platform.messages[i].icon, MsgIcon::None);
        EXPECT_EQ(platform.messages[i].buttons, MsgButtons::YesNoCancel);
    }
    EXPECT_EQ(ReadBytes(path), ExpectedFile());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"cards.kqk", "old.kqk"}));
}

TEST_F(SavePickedTest, LowDiskSpaceIsReportedAfterTheWrite)
{
    platform.freeSpace = 1;
    platform.fileAnswers = {Path(QStringLiteral("low.kqk"))};
    WhilePicked([this] { SaveKey(); });
    EXPECT_EQ(platform.Texts(),
        QStringList{QStringLiteral("The recording disk may be out of space. The file may not have been saved "
                                   "correctly. Check the issue and save to another disk before closing the job "
                                   "file.")});
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("low.kqk"))), ExpectedFile());
}

TEST_F(SavePickedTest, AFileThatCannotBeWrittenEndsTheCommandWithItsReason)
{
    // A folder that does not exist: the file cannot be created.
    const QString missing = Path(QStringLiteral("no/such/picked.kqk"));
    platform.fileAnswers = {missing};
    bool stillOpen = false;
    WhilePicked([&] {
        SaveKey();
        stillOpen = form3->isVisible();
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(platform.Texts(),
        QStringList{QStringLiteral("Cannot create file \"") + missing + QStringLiteral("\". ") + Reason(ENOENT)});

    // A write that fails part-way: the reason, and the file there before stays whole.
    const QString path = Path(QStringLiteral("big.kqk"));
    WriteBytes(path, "before");
    platform.Clear();
    platform.fileAnswers = {path};
    platform.answers = {MsgAnswer::Yes};
    WhilePicked([this] {
        store().PickedTable[0][MemoCell] = QString(20000, u'm');
        WithFileSizeLimit(4096, [this] { SaveKey(); });
    });
    EXPECT_EQ(platform.Texts(),
        (QStringList{QStringLiteral("The file big.kqk already exists. Do you want to replace it?"), Reason(EFBIG)}));
    EXPECT_EQ(ReadBytes(path), QByteArray("before"));

    // A card that would not read back is not written.
    platform.Clear();
    platform.fileAnswers = {Path(QStringLiteral("bad.kqk"))};
    WhilePicked([this] {
        store().PickedTable[1][MemoCell] = QStringLiteral("bad \u00A4#>&% line");
        SaveKey();
    });
    EXPECT_EQ(platform.Texts(),
        QStringList{QStringLiteral("Card 2 cannot be saved: a line of its Memo holds \"\u00A4#>&%\". Nothing "
                                   "was written.")});
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("bad.kqk"))));
}
