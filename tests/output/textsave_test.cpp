// Saving every card, or every picked card, as text: the four commands, the
// file's bytes, PageFeedPerCard on every way out, the dialogs and messages.
#include "listing_fixture.h"

#include "cardtextsave.h"
#include "generalerror.h"
#include "support/filesystems.h"

namespace {

const QString LowSpace = QStringLiteral(
    "The recording disk may be out of space. The file may not have been saved correctly. Check the issue and "
    "save to another disk before closing the job file.");

// The bytes of a text export: the byte-order mark and the lines in UTF-8.
QByteArray Export(const QString& lines)
{
    return QByteArray("\xEF\xBB\xBF") + lines.toUtf8();
}

// The block of a card made by MakeFile (Title1 "Card k", Memo "Memo k",
// Card ID "idk") or by Pick ("Pk", Code1 "Ck", "PMk", "pidk").
QString Block(int n, const QString& title, const QString& code1, const QString& memo, const QString& id, bool pageFeed)
{
    QString block = Lines({Separator + QString::number(n), title + QString(11, u' ') + QStringLiteral(", "), QString(),
        QStringLiteral("   Topic:          "), QStringLiteral("   Keywords:  "), QStringLiteral("   File link:      "),
        QStringLiteral("   Code1:        ") + code1, QStringLiteral("   Code2:        "),
        QStringLiteral("   Code3:        "), QStringLiteral("   Action date:     "), QString(), memo, QString(),
        u' ' + id, QString()});
    if (pageFeed)
        block += Lines({QStringLiteral("\f")});
    return block;
}

class TextSaveTest : public ListingTest {
protected:
    void SetUp() override
    {
        path = MakeFile(2, QStringLiteral("Books.kqk"));
        Start({path});
        // PageFeedPerCard as each dialog saw it.
        platform.onDialog = [this](const ScriptedPlatform::Dialog&) {
            pageFeedsAtDialog.push_back(store().PageFeedPerCard);
        };
    }
    QString MainFile(bool pageFeeds) const
    {
        return Lines({QStringLiteral("Cardomo 0.5 beta - Text listing   ") + Date() + u' ' + Time(), QString(),
                   QStringLiteral("Number of the cards 2"), QString()})
            + Block(1, QStringLiteral("Card 1"), QString(), QStringLiteral("Memo 1"), QStringLiteral("id1"), pageFeeds)
            + Block(2, QStringLiteral("Card 2"), QString(), QStringLiteral("Memo 2"), QStringLiteral("id2"), pageFeeds)
            + Lines({QString(), QString(), path, QString(), Banner, QString()});
    }
    void Pick(int n)
    {
        store().PickedTable.assign(static_cast<size_t>(n), Card{});
        for (int k = 1; k <= n; ++k) {
            Card& c = store().PickedTable[static_cast<size_t>(k - 1)];
            c[0] = QStringLiteral("P%1").arg(k);
            c[10] = QStringLiteral("C%1").arg(k);
            c[MemoCell] = QStringLiteral("PM%1").arg(k);
            c[CardIdCell] = QStringLiteral("pid%1").arg(k);
        }
        store().PickedCount = n;
        store().CurrentPicked = n - 1;
        store().PickedWindowActive = true;
    }
    void PlainKey() { QTest::keyClick(form, Qt::Key_K, Qt::ControlModifier); }
    void PageFeedKey() { QTest::keyClick(form, Qt::Key_U, Qt::ControlModifier); }

    QString path;
    std::vector<bool> pageFeedsAtDialog;
};

}  // namespace

TEST_F(TextSaveTest, SaveAsTextWritesEveryCardInTheFixedLayoutAfterStoringTheCard)
{
    form->memoTUNNISTE->setFocus();
    form->memoTUNNISTE->moveCursor(QTextCursor::End);
    QTest::keyClicks(form->memoTUNNISTE, QStringLiteral(" typed"));
    platform.fileAnswers = {Path(QStringLiteral("out"))};
    PlainKey();
    ASSERT_EQ(platform.dialogs.size(), 1u);
    const FileDialogRequest& r = platform.dialogs[0].request;
    EXPECT_TRUE(platform.dialogs[0].save);
    EXPECT_EQ(r.title, QStringLiteral("Save as text (*.txt) (UTF-8)"));
    EXPECT_EQ(r.filter, QStringLiteral("Text file (*.txt)|*.TXT"));
    EXPECT_EQ(r.initialName, QStringLiteral("Books"));
    QString expected = MainFile(false);
    expected.replace(QStringLiteral("\r\nCard 2   "), QStringLiteral("\r\nCard 2 typed   "));
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("out.txt"))), Export(expected));
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_FALSE(store().PageFeedPerCard);
    EXPECT_EQ(pageFeedsAtDialog, std::vector<bool>{false});
}

TEST_F(TextSaveTest, WithPageFeedsAFormFeedLineFollowsEveryCard)
{
    platform.fileAnswers = {Path(QStringLiteral("feeds.TXT"))};
    PageFeedKey();
    ASSERT_EQ(platform.dialogs.size(), 1u);
    EXPECT_EQ(platform.dialogs[0].request.title, QStringLiteral("Save as text with page feeds (*.txt) (UTF-8)"));
    EXPECT_EQ(platform.dialogs[0].request.initialName, QStringLiteral("Books"));
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("feeds.TXT"))), Export(MainFile(true)));
    EXPECT_EQ(pageFeedsAtDialog, std::vector<bool>{true});
    EXPECT_FALSE(store().PageFeedPerCard);
    // The menu entries run the same commands.
    EXPECT_EQ(form->Tallennatekstiksi1->text(), QStringLiteral("Save As Te&xt"));
    EXPECT_EQ(form->Tallennatekstiksisivunvaihtojenkanssa1->text(),
        QStringLiteral("Save As Text (with page &feed per card)"));
    platform.fileAnswers = {Path(QStringLiteral("menu"))};
    form->Tallennatekstiksisivunvaihtojenkanssa1->trigger();
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("menu.txt"))), Export(MainFile(true)));
    platform.fileAnswers = {Path(QStringLiteral("menu plain"))};
    form->Tallennatekstiksi1->trigger();
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("menu plain.txt"))), Export(MainFile(false)));
}

TEST_F(TextSaveTest, PageFeedPerCardEndsClearedOnEveryWayOut)
{
    const QString existing = Path(QStringLiteral("there.txt"));
    struct Way {
        const char* name;
        std::function<void()> script;
        QStringList messages;
    };
    const QString question = QStringLiteral("The file there.txt already exists. Do you want to replace it?");
    const QString missing = Path(QStringLiteral("missing/x.txt"));
    const Way ways[] = {
        {"cancelled", [] {}, {}},
        {"empty name", [this] { platform.fileAnswers = {QString()}; },
            {QStringLiteral("Please give a name for the file!")}},
        {"replace refused with No",
            [&] {
                platform.fileAnswers = {Path(QStringLiteral("there"))};
                platform.answers = {MsgAnswer::No};
            },
            {question}},
        {"replace refused with Cancel",
            [&] {
                platform.fileAnswers = {existing};
                platform.answers = {MsgAnswer::Cancel};
            },
            {question}},
        {"cannot create", [&] { platform.fileAnswers = {missing}; },
            {QStringLiteral("Cannot create file \"") + missing + QStringLiteral("\". No such file or directory")}},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        WriteBytes(existing, "there");
        platform.Clear();
        pageFeedsAtDialog.clear();
        way.script();
        PageFeedKey();
        EXPECT_EQ(pageFeedsAtDialog, std::vector<bool>{true});
        EXPECT_FALSE(store().PageFeedPerCard);
        EXPECT_EQ(platform.Texts(), way.messages);
        EXPECT_EQ(ReadBytes(existing), QByteArray("there"));
        // The plain save that follows has no page feeds and the plain title.
        platform.Clear();
        pageFeedsAtDialog.clear();
        platform.fileAnswers = {Path(QStringLiteral("after"))};
        PlainKey();
        ASSERT_EQ(platform.dialogs.size(), 1u);
        EXPECT_EQ(platform.dialogs[0].request.title, QStringLiteral("Save as text (*.txt) (UTF-8)"));
        EXPECT_EQ(ReadBytes(Path(QStringLiteral("after.txt"))), Export(MainFile(false)));
    }
    // A question is asked without an icon, with Yes, No and Cancel; Yes replaces.
    platform.Clear();
    platform.fileAnswers = {existing};
    platform.answers = {MsgAnswer::Yes};
    PageFeedKey();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::None);
    EXPECT_EQ(platform.messages[0].buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(ReadBytes(existing), Export(MainFile(true)));
    EXPECT_FALSE(store().PageFeedPerCard);
}

TEST_F(TextSaveTest, AWriteFailureIsTheGeneralErrorAndTheOldFileStaysWhole)
{
    const QString target = Path(QStringLiteral("big.txt"));
    WriteBytes(target, "old");
    platform.fileAnswers = {target};
    platform.answers = {MsgAnswer::Yes};
    WithFileSizeLimit(200, [&] { PageFeedKey(); });
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[1].text, QStringLiteral("File too large"));
    EXPECT_EQ(platform.messages[1].icon, MsgIcon::Error);
    EXPECT_EQ(ReadBytes(target), QByteArray("old"));
    EXPECT_FALSE(store().PageFeedPerCard);
}

TEST_F(TextSaveTest, LowSpaceAfterWritingIsOnlyWarnedAbout)
{
    platform.freeSpace = 1;
    platform.fileAnswers = {Path(QStringLiteral("low"))};
    PlainKey();
    EXPECT_EQ(platform.Texts(), QStringList{LowSpace});
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("low.txt"))), Export(MainFile(false)));
    platform.Clear();
    platform.freeSpace = std::nullopt;  // cannot be told
    platform.fileAnswers = {Path(QStringLiteral("unknown"))};
    PageFeedKey();
    EXPECT_EQ(platform.Texts(), QStringList{LowSpace});
    EXPECT_FALSE(store().PageFeedPerCard);
}

// ---------------------------------------------------------------------------
// The picked cards window's two commands

TEST_F(TextSaveTest, PickedCardsSaveAsTextNamesTheCardFileInTheFooter)
{
    Pick(2);
    CardTextSaver picked(program->context, TextExportKind::PickedCards);
    auto pickedFile = [this](bool pageFeeds) {
        return Export(Lines({QStringLiteral("Cardomo 0.5 beta - Saving of the picked cards  ") + Date() + u' ' + Time(),
                          QString(), QStringLiteral("Number of the cards 2"), QString()})
            + Block(
                1, QStringLiteral("P1"), QStringLiteral("C1"), QStringLiteral("PM1"), QStringLiteral("pid1"), pageFeeds)
            + Block(
                2, QStringLiteral("P2"), QStringLiteral("C2"), QStringLiteral("PM2"), QStringLiteral("pid2"), pageFeeds)
            + Lines({QString(), QString(), path, QString(), Banner, QString()}));
    };
    platform.fileAnswers = {Path(QStringLiteral("sub.dir/picked"))};
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("sub.dir")));
    picked.Save();
    ASSERT_EQ(platform.dialogs.size(), 1u);
    EXPECT_EQ(platform.dialogs[0].request.title, QStringLiteral("Save as text (*.txt) (UTF-8)"));
    EXPECT_EQ(platform.dialogs[0].request.filter, QStringLiteral("Text file (*.TXT)|*.TXT"));
    EXPECT_EQ(platform.dialogs[0].request.initialName, QString());  // nothing chosen yet
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("sub.dir/picked.txt"))), pickedFile(false));

    // With page feeds; the dialog proposes the name chosen last, without its
    // folder and extension.
    platform.fileAnswers = {Path(QStringLiteral("feeds.txt"))};
    picked.SaveWithPageFeeds();
    ASSERT_EQ(platform.dialogs.size(), 2u);
    EXPECT_EQ(platform.dialogs[1].request.title, QStringLiteral("Save as text with page feeds (*.txt) (UTF-8)"));
    EXPECT_EQ(platform.dialogs[1].request.initialName, QStringLiteral("picked"));
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("feeds.txt"))), pickedFile(true));
    EXPECT_FALSE(store().PageFeedPerCard);
    EXPECT_EQ(pageFeedsAtDialog, (std::vector<bool>{false, true}));
    platform.Clear();
    picked.Save();  // cancelled
    ASSERT_EQ(platform.dialogs.size(), 1u);
    EXPECT_EQ(platform.dialogs[0].request.initialName, QStringLiteral("feeds"));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(TextSaveTest, PickedCardsMessagesAndTheirWaysOut)
{
    Pick(1);
    CardTextSaver picked(program->context, TextExportKind::PickedCards);
    // An empty name.
    platform.fileAnswers = {QString()};
    picked.SaveWithPageFeeds();
    EXPECT_EQ(platform.Texts(), QStringList{QStringLiteral("Please give the correct name for the file!")});
    EXPECT_FALSE(store().PageFeedPerCard);
    // The replace question names the file without its folder.
    WriteBytes(Path(QStringLiteral("p.txt")), "p");
    platform.Clear();
    platform.fileAnswers = {Path(QStringLiteral("p"))};
    platform.answers = {MsgAnswer::No};
    picked.SaveWithPageFeeds();
    EXPECT_EQ(
        platform.Texts(), QStringList{QStringLiteral("The file p.txt already exists. Do you want to replace it?")});
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("p.txt"))), QByteArray("p"));
    EXPECT_FALSE(store().PageFeedPerCard);
    // Without an open card file the command ends quietly after the dialog.
    store().FileOpen = false;
    platform.Clear();
    platform.fileAnswers = {Path(QStringLiteral("closed"))};
    picked.SaveWithPageFeeds();
    EXPECT_EQ(platform.dialogs.size(), 1u);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("closed.txt"))));
    EXPECT_FALSE(store().PageFeedPerCard);
    store().FileOpen = true;
    // A file that cannot be created is the general error report's.
    platform.Clear();
    const QString missing = Path(QStringLiteral("missing/x"));
    platform.fileAnswers = {missing};
    EXPECT_THROW(picked.SaveWithPageFeeds(), GeneralError);
    EXPECT_FALSE(store().PageFeedPerCard);
}
