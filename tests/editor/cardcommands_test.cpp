// New, delete, restore, copy and paste of cards, time stamps and file links.
#include "support/mainwindow_fixture.h"

#include <QClipboard>

namespace {

const QString DeleteQuestion = QStringLiteral("Do you want to delete the card?");
const QString Overwrite =
    QStringLiteral("Päällekirjoitettava kortti ei ole tyhjä. Kirjoitetaanko silti? Päällekirjoitusta ei voi peruuttaa");

class CardCommandsTest : public MainWindowTest {
protected:
    QStringList Titles() const
    {
        QStringList t;
        for (int i = 0; i < store().CardCount; ++i)
            t << store().CardTable[i][0];
        return t;
    }
    void GoTo(int card)
    {
        store().CurrentCard = card - 1;
        form->btnPaivitaClick();
    }
    void Delete(MsgAnswer answer = MsgAnswer::Yes)
    {
        platform.answers = {answer};
        form->Poistakortti1->trigger();
    }
    // Fills the table to 32000 cards without a file.
    void Fill()
    {
        for (int i = store().CardCount; i < 32000; ++i)
            store().CardTable[i][0] = QStringLiteral("Card %1").arg(i + 1);
        store().CardCount = 32000;
    }
};

}  // namespace

TEST_F(CardCommandsTest, NewCardGoesToTheEndWithItsOwnId)
{
    Start({MakeFile(2)});
    platform.now = QDateTime(QDate(2022, 1, 2), QTime(3, 4, 5, 6));
    form->memoTUNNISTE->SetText(QStringLiteral("typed"));
    form->Liskortti1->trigger();
    EXPECT_EQ(store().CardCount, 3);
    EXPECT_EQ(store().CurrentCard, 2);
    EXPECT_EQ(store().CardTable[1][0], QStringLiteral("typed"));
    EXPECT_EQ(store().CardTable[2][CardIdCell], QStringLiteral("y2022m01d02h03mn04s05ms006"));
    EXPECT_TRUE(Title1().isEmpty());
    EXPECT_EQ(form->Label23->text(), QStringLiteral(" / 3"));
    EXPECT_TRUE(store().CardFileChanged);
    form->btnLisaa->click();
    EXPECT_EQ(store().CardCount, 4);
}

TEST_F(CardCommandsTest, LimitsAtThirtyTwoThousandCards)
{
    Start({MakeFile(2)});
    for (int i = 2; i < 31999; ++i)
        store().CardTable[i][0] = QStringLiteral("c");
    store().CardCount = 31999;
    form->btnLisaa->click();
    EXPECT_EQ(store().CardCount, 32000);
    EXPECT_TRUE(platform.messages.empty());
    store().CardFileChanged = false;
    form->btnLisaa->click();
    form->Kopioikortti1->trigger();
    form->Liitkorttiuutena->trigger();
    EXPECT_EQ(platform.Texts(),
        (QStringList{"The maximun count of the cards is 32000",
            "The maximum number of the cards is reached, no more cards can be added"}));
    EXPECT_EQ(store().CardCount, 32000);

    // Restore into a full card file keeps the deleted card held.
    GoTo(1);
    Delete();
    form->btnLisaa->click();
    platform.Clear();
    form->Palautapoistettukortti1->trigger();
    EXPECT_EQ(platform.Texts(), QStringList{QStringLiteral("The maximum number of cards is 32000")});
    EXPECT_TRUE(store().DeletedCardHeld);
    EXPECT_TRUE(form->Palautapoistettukortti1->isEnabled());
}

TEST_F(CardCommandsTest, DeleteInItsThreeCases)
{
    Start({MakeFile(4)});
    GoTo(2);
    Delete(MsgAnswer::No);
    EXPECT_EQ(platform.Texts(), QStringList{DeleteQuestion});
    EXPECT_EQ(platform.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::None);
    EXPECT_EQ(store().CardCount, 4);
    EXPECT_FALSE(form->Palautapoistettukortti1->isEnabled());

    Delete();  // a middle card: the next one takes its number
    EXPECT_EQ(Titles(), (QStringList{"Card 1", "Card 3", "Card 4"}));
    EXPECT_EQ(store().CurrentCard, 1);
    EXPECT_EQ(Title1(), QStringLiteral("Card 3"));
    EXPECT_TRUE(store().CardTable[3][0].isEmpty() && store().CardTable[3][CardIdCell].isEmpty());
    EXPECT_EQ(store().DeletedCard[0], QStringLiteral("Card 2"));
    EXPECT_TRUE(form->Palautapoistettukortti1->isEnabled());

    GoTo(3);
    Delete();  // the last card: the one before becomes current
    EXPECT_EQ(Titles(), (QStringList{"Card 1", "Card 3"}));
    EXPECT_EQ(store().CurrentCard, 1);
    EXPECT_TRUE(store().CardTable[2][CardIdCell].isEmpty());

    Delete();
    Delete();  // the only card: emptied, its Card ID kept
    EXPECT_EQ(store().CardCount, 1);
    EXPECT_TRUE(store().CardTable[0][0].isEmpty());
    EXPECT_TRUE(store().CardTable[0][MemoCell].isEmpty());
    EXPECT_EQ(store().CardTable[0][CardIdCell], QStringLiteral("id1"));
    EXPECT_EQ(store().DeletedCard[0], QStringLiteral("Card 1"));

    form->Palautapoistettukortti1->trigger();  // two cards with the same Card ID
    EXPECT_EQ(store().CardCount, 2);
    EXPECT_EQ(store().CurrentCard, 1);
    EXPECT_EQ(store().CardTable[1][0], QStringLiteral("Card 1"));
    EXPECT_EQ(store().CardTable[1][CardIdCell], QStringLiteral("id1"));
    EXPECT_FALSE(form->Palautapoistettukortti1->isEnabled());
    EXPECT_FALSE(store().DeletedCardHeld);
}

TEST_F(CardCommandsTest, OnlyTheLastDeletedCardComesBackAtTheEnd)
{
    Start({MakeFile(5)});
    GoTo(1);
    Delete();
    Delete();
    form->Palautapoistettukortti1->trigger();
    EXPECT_EQ(Titles(), (QStringList{"Card 3", "Card 4", "Card 5", "Card 2"}));
    EXPECT_EQ(store().CardTable[3][CardIdCell], QStringLiteral("id2"));
    EXPECT_FALSE(form->Palautapoistettukortti1->isEnabled());
    form->Palautapoistettukortti1->trigger();  // nothing is held any more
    EXPECT_EQ(store().CardCount, 4);

    // Close disables the restore; opening again does not enable it.
    Delete();
    platform.answers = {MsgAnswer::No};
    form->Sulje1->trigger();
    EXPECT_FALSE(form->Palautapoistettukortti1->isEnabled());
    platform.fileAnswers = {Path(QStringLiteral("cards.kqk"))};
    form->Avaa1->trigger();
    EXPECT_TRUE(store().FileOpen);
    EXPECT_FALSE(form->Palautapoistettukortti1->isEnabled());
}

TEST_F(CardCommandsTest, CopyAndPasteUseTheProgramsOwnBuffer)
{
    Start({MakeFile(3)});
    GoTo(2);
    form->memoMUISTIINPANO->SetText(QStringLiteral("copied\r\nmemo"));
    QApplication::clipboard()->setText(QStringLiteral("system clipboard"));
    form->memoTUNNISTE->setFocus();
    QTest::keyClick(form->memoTUNNISTE, Qt::Key_C, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(store().CopiedCard[0], QStringLiteral("Card 2"));
    EXPECT_EQ(store().CopiedCard[MemoCell], QStringLiteral("copied\r\nmemo"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("system clipboard"));

    platform.now = QDateTime(QDate(2023, 5, 6), QTime(7, 8, 9, 10));
    QTest::keyClick(form->memoTUNNISTE, Qt::Key_V, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(platform.Texts(),
        QStringList{QStringLiteral("The card from the clipboard is added to the end of the card file as a new card")});
    EXPECT_EQ(store().CardCount, 4);
    EXPECT_EQ(store().CardTable[3][0], QStringLiteral("Card 2"));
    EXPECT_EQ(store().CardTable[3][MemoCell], QStringLiteral("copied\r\nmemo"));
    EXPECT_EQ(store().CardTable[3][CardIdCell], QStringLiteral("y2023m05d06h07mn08s09ms010"));
    EXPECT_EQ(Title1(), QStringLiteral("Card 2"));

    // Over a card that is not empty: asked with a question icon; only Yes writes.
    GoTo(1);
    for (MsgAnswer a : {MsgAnswer::No, MsgAnswer::Cancel, MsgAnswer::Yes}) {
        platform.Clear();
        platform.answers = {a};
        QTest::keyClick(form->memoTUNNISTE, Qt::Key_W, Qt::ControlModifier | Qt::AltModifier);
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].text, Overwrite);
        EXPECT_EQ(platform.messages[0].icon, MsgIcon::Question);
        EXPECT_EQ(platform.messages[0].buttons, MsgButtons::YesNoCancel);
        EXPECT_EQ(store().CardTable[0][0], a == MsgAnswer::Yes ? QStringLiteral("Card 2") : QStringLiteral("Card 1"));
    }
    EXPECT_EQ(store().CardTable[0][CardIdCell], QStringLiteral("id1"));
    EXPECT_EQ(form->memoMUISTIINPANO->Text(), QStringLiteral("copied\r\nmemo"));

    // The buffer outlives the card file.
    platform.answers = {MsgAnswer::No};
    form->Sulje1->trigger();
    platform.Clear();
    form->Uusi1->trigger();
    form->Liitkorttiuutena->trigger();
    EXPECT_EQ(store().CardCount, 2);
    EXPECT_EQ(store().CardTable[1][0], QStringLiteral("Card 2"));
}

TEST_F(CardCommandsTest, PasteBeforeAnyCopyWritesEmptyFields)
{
    Start();
    platform.answers = {MsgAnswer::Yes};
    form->memoTUNNISTE->SetText(QStringLiteral("something"));
    QTest::keyClick(form, Qt::Key_W, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(platform.Texts(), QStringList{Overwrite});
    EXPECT_TRUE(CardFieldsEmpty(store().CardTable[0]));
    EXPECT_TRUE(Title1().isEmpty());
}

TEST_F(CardCommandsTest, TimeStampsGoOnlyIntoTheMemo)
{
    Start();
    platform.now = QDateTime(QDate(2024, 3, 7), QTime(9, 5, 2));
    platform.shortDateFormat = QStringLiteral("M/d/yy");
    platform.longTimeFormat = QStringLiteral("h:mm:ss AP");
    form->memoTUNNISTE->setFocus();
    QTest::keyClick(form->memoTUNNISTE, Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(platform.Texts(), QStringList{QStringLiteral("You can add the time stamp only to the Memo field")});
    EXPECT_TRUE(form->memoTUNNISTE->Text().isEmpty());
    EXPECT_TRUE(form->memoMUISTIINPANO->Text().isEmpty());

    form->memoMUISTIINPANO->setFocus();
    QTest::keyClicks(form->memoMUISTIINPANO, QStringLiteral("ab"));
    QTest::keyClick(form->memoMUISTIINPANO, Qt::Key_Left);
    store().CardFileChanged = false;
    QTest::keyClick(form->memoMUISTIINPANO, Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(form->memoMUISTIINPANO->Text(), QStringLiteral("a(+2024-03-07 09:05:02)b"));
    EXPECT_TRUE(store().CardFileChanged);

    form->memoMUISTIINPANO->selectAll();
    QTest::keyClick(form->memoMUISTIINPANO, Qt::Key_A, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(form->memoMUISTIINPANO->Text(), QStringLiteral("(+3/7/24 9:05:02 AM)"));
}

TEST_F(CardCommandsTest, FileLinkCreateAndOpen)
{
    Start();
    const QString linked = Path(QStringLiteral("linked.pdf"));
    WriteBytes(linked, "pdf");
    platform.fileAnswers = {std::nullopt, Path(QStringLiteral("absent.pdf")), linked};
    store().CardFileChanged = false;
    form->Button1->click();
    form->Button1->click();
    EXPECT_EQ(
        platform.Texts(), QStringList{QStringLiteral("The file with this name does not exist in this directory")});
    EXPECT_TRUE(form->Memo1->Text().isEmpty());
    EXPECT_FALSE(store().CardFileChanged);
    form->Button1->click();
    EXPECT_EQ(form->Memo1->Text(), linked);
    EXPECT_TRUE(store().CardFileChanged);
    ASSERT_EQ(platform.dialogs.size(), 3u);
    EXPECT_EQ(platform.dialogs[0].request.title, QStringLiteral("Open"));
    EXPECT_EQ(platform.dialogs[0].request.filter, QStringLiteral("Kaikki tiedostot (*.*)|*.*"));
    EXPECT_TRUE(store().CardTable[0][9].isEmpty());  // the card gets it at the next store

    // An address opens as that address; anything else is a local file, a
    // relative path taken from the program's current folder.
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    for (const QString& link : {QStringLiteral("https://example.invalid/page"), QStringLiteral("notes.pdf"),
             QStringLiteral("/home/someone/a b.pdf"), QString()}) {
        form->Memo1->SetText(link);
        form->Button2->click();
    }
    QDir::setCurrent(old);
    EXPECT_EQ(platform.shellOpened,
        (QStringList{QStringLiteral("https://example.invalid/page"),
            QUrl::fromLocalFile(QDir(dir.path()).absoluteFilePath(QStringLiteral("notes.pdf"))).toString(),
            QStringLiteral("file:///home/someone/a b.pdf"), QString()}));
}

TEST_F(CardCommandsTest, KeyCommandsDoNothingWithoutACardFile)
{
    Start();
    platform.answers = {MsgAnswer::No};
    form->Sulje1->trigger();
    platform.Clear();
    for (auto k : {Qt::Key_K, Qt::Key_W, Qt::Key_C, Qt::Key_V})
        QTest::keyClick(form, k, Qt::ControlModifier | Qt::AltModifier);
    QTest::keyClick(form, Qt::Key_D, Qt::ControlModifier);
    QTest::keyClick(form, Qt::Key_F3);
    QTest::keyClick(form, Qt::Key_F5);
    QTest::keyClick(form, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_FALSE(store().FileOpen);
    EXPECT_FALSE(store().CardTablePresent());
}

TEST_F(CardCommandsTest, CtrlAltKCopiesLikeCtrlAltC)
{
    Start({MakeFile(3)});
    GoTo(3);
    form->memoTUNNISTE->setFocus();
    QTest::keyClick(form->memoTUNNISTE, Qt::Key_K, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(store().CopiedCard[0], QStringLiteral("Card 3"));
    EXPECT_EQ(store().CopiedCard[MemoCell], QStringLiteral("Memo 3"));
    EXPECT_TRUE(platform.messages.empty());
}
