// Importing another card file, current or old ANSI format, at the end of the
// open one, through the Edit menu.
#include "support/mainwindow_fixture.h"

namespace {

class ImportTest : public MainWindowTest {
protected:
    void SetUp() override { Start({MakeFile(3)}); }

    // Edit > the import entry, choosing path in its dialog.
    void Import(QAction* entry, const QString& path)
    {
        platform.fileAnswers = {path};
        entry->trigger();
    }
    QStringList Titles() const
    {
        QStringList t;
        for (int i = 0; i < store().CardCount; ++i)
            t << store().CardTable[static_cast<size_t>(i)][0];
        return t;
    }
    static QByteArray AnsiFile(const QByteArray& title)
    {
        return "HEADER\r\nKQa0b5c1d0e2f1g0h0i1\r\n1\r\n" + title + "\r\n" + QByteArray("\r\n").repeated(16)
            + "\xA4#<&%\xA4#<&%KQ==1\r\nmemo\r\n\xA4#>&%\xA4#>&%KQ==1\r\nold-id\r\n";
    }
};

}  // namespace

TEST_F(ImportTest, AppendsTheCardsInFileOrderAndShowsTheLastOne)
{
    CardRows rows(2);
    rows[0][0] = QStringLiteral("Imported A");
    rows[0][CardIdCell] = QStringLiteral("idA");
    rows[1][0] = QStringLiteral("Imported B");
    rows[1][CardIdCell] = QStringLiteral("idB");
    WriteCardFile(Path(QStringLiteral("other.kqk")), rows, 2, MainFileHeaderText);
    Import(form->Tuokortisto, Path(QStringLiteral("other.kqk")));
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(Titles(), (QStringList{"Card 1", "Card 2", "Card 3", "Imported A", "Imported B"}));
    EXPECT_EQ(store().CardTable[4][CardIdCell], QStringLiteral("idB"));
    EXPECT_EQ(form->editKORTTINRO->text(), QStringLiteral("5"));
    EXPECT_EQ(form->Label23->text(), QStringLiteral(" / 5"));
    EXPECT_EQ(Title1(), QStringLiteral("Imported B"));
    EXPECT_TRUE(store().CardFileChanged);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("cards.kqk - CARDOMO 0.5 beta"));
    ASSERT_EQ(platform.dialogs.size(), 1u);
    EXPECT_FALSE(platform.dialogs[0].save);
    EXPECT_EQ(platform.dialogs[0].request.title, QStringLiteral("Input Cardomo card file (*.kqk)"));
    EXPECT_EQ(platform.dialogs[0].request.filter, QStringLiteral("Cardomo tiedosto (*.KQK)|*.kqk;*.kqd"));
    EXPECT_TRUE(platform.dialogs[0].request.initialName.isEmpty());
}

TEST_F(ImportTest, AnOldAnsiFileKeepsItsAccentedLetters)
{
    WriteBytes(Path(QStringLiteral("old.kqk")), AnsiFile("\xE4\xF6\xFC \x80"));
    Import(form->InputexternalANSIcardfiletothecurrentcardfile1, Path(QStringLiteral("old.kqk")));
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(Title1(), QStringLiteral("äöü €"));
    EXPECT_EQ(store().CardTable[3][CardIdCell], QStringLiteral("old-id"));
    EXPECT_EQ(store().CardCount, 4);
}

TEST_F(ImportTest, RefusalsChangeNothing)
{
    WriteBytes(Path(QStringLiteral("old.kqk")), AnsiFile("x"));
    WriteBytes(Path(QStringLiteral("tag.kqk")), "\xEF\xBB\xBFh\r\nKQa0b5c1d0e2f1g0h0i2\r\n1\r\n");
    WriteBytes(Path(QStringLiteral("count.kqk")), "\xEF\xBB\xBFh\r\nKQa0b5c1d0e2f1g0h0i1\r\nmany\r\n");
    const QString current = MakeFile(1, QStringLiteral("current.kqk"));
    struct Case {
        const char* what;
        QAction* entry;
        QString path;
        QString message;
    };
    const Case cases[] = {
        {"missing file", form->Tuokortisto, Path(QStringLiteral("nope.kqk")),
            QStringLiteral("The file with this name does not exist in this directory")},
        {"old file through the current import", form->Tuokortisto, Path(QStringLiteral("old.kqk")),
            QStringLiteral("You are trying to input ANSI file in UTF-8 mode. Please select instead: Edit --> Input "
                           "external ANSI card file to the current card file (old format)")},
        {"current file through the old import", form->InputexternalANSIcardfiletothecurrentcardfile1, current,
            QStringLiteral("This an UTF-8 file, not an ANSI file.")},
        {"not a card file", form->Tuokortisto, Path(QStringLiteral("tag.kqk")),
            QStringLiteral("The file you are trying to open might not be saved with the current version or the file "
                           "is corrupted. Please update the software")},
        {"count line no number", form->Tuokortisto, Path(QStringLiteral("count.kqk")),
            QStringLiteral("'many' is not a valid integer value")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        platform.Clear();
        store().CardFileChanged = false;
        Import(c.entry, c.path);
        EXPECT_EQ(platform.Texts(), QStringList{c.message});
        EXPECT_EQ(Titles(), (QStringList{"Card 1", "Card 2", "Card 3"}));
        EXPECT_EQ(form->editKORTTINRO->text(), QStringLiteral("3"));
        EXPECT_FALSE(store().CardFileChanged);
    }
    // Cancelling the dialog does nothing at all.
    platform.Clear();
    platform.fileAnswers = {std::nullopt};
    form->Tuokortisto->trigger();
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(store().CardCount, 3);
}

TEST_F(ImportTest, AFileOfNoCardsStillMovesToTheLastCard)
{
    WriteBytes(Path(QStringLiteral("none.kqk")), "\xEF\xBB\xBFh\r\nKQa0b5c1d0e2f1g0h0i1\r\n0\r\n");
    store().CurrentCard = 0;
    form->btnPaivitaClick();
    store().CardFileChanged = false;
    Import(form->Tuokortisto, Path(QStringLiteral("none.kqk")));
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(store().CardCount, 3);
    EXPECT_EQ(form->editKORTTINRO->text(), QStringLiteral("3"));
    EXPECT_TRUE(store().CardFileChanged);
}

TEST_F(ImportTest, TheCardFileMayNotGrowPast32000Cards)
{
    CardRows rows(31997);
    WriteCardFile(Path(QStringLiteral("big.kqk")), rows, 31997, MainFileHeaderText);
    Import(form->Tuokortisto, Path(QStringLiteral("big.kqk")));
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(store().CardCount, 32000);
    Import(form->Tuokortisto, MakeFile(1, QStringLiteral("one.kqk")));
    EXPECT_EQ(platform.Texts(),
        QStringList{QStringLiteral("The file you are trying to open contains more cards than is the allowed number "
                                   "of the cards in current softwareversion: 32000 cards.")});
    EXPECT_EQ(store().CardCount, 32000);
}
