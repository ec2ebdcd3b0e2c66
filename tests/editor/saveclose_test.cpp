// Save, Save As, Close, Exit and the close box of the main window.
#include "support/mainwindow_fixture.h"

#include <QSignalSpy>
#include <csignal>
#include <sys/resource.h>

namespace {

const QString Changed = QStringLiteral(" The card file is changed. Do you want save the changes before closing?");
const QString ReallyClose = QStringLiteral("Do you really want to close the file?");
const QString SaveError = QStringLiteral("There was an error in saving");
const QString LowSpace = QStringLiteral(
    "The recording disk may be out of space. The file may not have been saved correctly. Check the issue and "
    "save to another disk before closing the job file.");

void MakeReadOnly(const QString& path)
{
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
}

// Runs f while no file may grow past 4 KiB.
template <typename F>
void WithSmallFileLimit(F f)
{
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    f();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, handler);
}

class SaveCloseTest : public MainWindowTest {
protected:
    void TypeIntoTitle1(const QString& text)
    {
        form->memoTUNNISTE->setFocus();
        QTest::keyClicks(form->memoTUNNISTE, text);
    }
    bool IsClosed() const
    {
        return !store.FileOpen && form->windowTitle() == QStringLiteral("CARDOMO 0.5. beta");
    }
};

}  // namespace

TEST_F(SaveCloseTest, SaveOfNewWritesNewKqkIntoTheCurrentFolder)
{
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    Start();
    TypeIntoTitle1(QStringLiteral("hello"));
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
    QDir::setCurrent(old);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_FALSE(store.CardFileChanged);
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("New.kqk"))),
              "\xEF\xBB\xBFIF YOU SEE THIS TEXT, YOU ARE IN WRONG PLACE!! THIS IS CARDOMO DATA FILE. THIS TEXT FILE "
              "IS ONLY FOR THE USE OF CARDOMO SOFTWARE! PLEASE ABORT WITHOUT MAKING A N Y CHANGES IN THIS FILE!\r\n"
              "KQa0b5c1d0e2f1g0h0i1\r\n1\r\nhello\r\n"
                  + QByteArray("\r\n").repeated(16) + "\xC2\xA4#<&%\xC2\xA4#<&%KQ==1\r\n\r\n"
                  + "\xC2\xA4#>&%\xC2\xA4#>&%KQ==1\r\ny2021m03d07h09mn05s02ms045\r\n");
}

TEST_F(SaveCloseTest, SaveFailures)
{
    const QString path = MakeFile(2);
    Start({path});

    // Read-only: refused, file untouched.
    TypeIntoTitle1(QStringLiteral("x"));
    MakeReadOnly(path);
    const QByteArray before = ReadBytes(path);
    form->Tallenna1Click();
    EXPECT_EQ(platform.Texts(), QStringList{path + QStringLiteral(" on kirjoitussuojattu. Ei voi tallentaa")});
    EXPECT_TRUE(form->SaveRefused);
    EXPECT_TRUE(store.CardFileChanged);
    EXPECT_EQ(ReadBytes(path), before);

    // A card that would not read back: the save failure path, nothing written.
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    platform.Clear();
    store.CardTable[0][MemoCell] = QStringLiteral("bad \u00A4#>&% line");
    form->Tallenna1Click();
    EXPECT_EQ(platform.Texts(),
              QStringList{QStringLiteral("File handling error occurred. Details: \r\nCardNotWritable/Card 1 cannot "
                                         "be saved: a line of its Memo holds \"\u00A4#>&%\". Nothing was written.")});
    EXPECT_TRUE(form->SaveFailed);
    EXPECT_TRUE(store.CardFileChanged);
    EXPECT_EQ(ReadBytes(path), before);
    store.CardTable[0][MemoCell] = QStringLiteral("fine");

    // A write that fails part-way keeps the old file whole.
    form->SaveFailed = false;
    platform.Clear();
    store.CardTable[0][MemoCell] = QString(20000, u'm');
    WithSmallFileLimit([&] { form->Tallenna1Click(); });
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(platform.messages[0].text.startsWith(QStringLiteral("File handling error occurred. Details: \r\n")));
    EXPECT_TRUE(form->SaveFailed);
    EXPECT_TRUE(store.CardFileChanged);
    EXPECT_EQ(ReadBytes(path), before);

    // Low free space: written, warned, and no longer marked changed.
    form->SaveFailed = false;
    platform.Clear();
    platform.freeSpace = 1;
    form->Tallenna1Click();
    EXPECT_EQ(platform.Texts(), QStringList{LowSpace});
    EXPECT_TRUE(form->SaveFailed);
    EXPECT_FALSE(store.CardFileChanged);
    EXPECT_NE(ReadBytes(path), before);

    // A file that cannot be created: the general error report.
    platform.Clear();
    store.CardFileName = Path(QStringLiteral("no/such/folder/x.kqk"));
    store.CardFileChanged = true;
    form->Tallenna1->trigger();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(platform.messages[0].text.startsWith(QStringLiteral("Cannot create file")));
    EXPECT_TRUE(store.CardFileChanged);
}

TEST_F(SaveCloseTest, SaveAsNamesAndQuestions)
{
    const QString path = MakeFile(2);
    Start({path});
    struct Case {
        QString chosen;
        QString written;
    };
    const Case cases[] = {
        {Path(QStringLiteral("notes")), Path(QStringLiteral("notes.kqk"))},
        {Path(QStringLiteral("upper.KQK")), Path(QStringLiteral("upper.KQK"))},
        {Path(QStringLiteral("notes.kqk.old")), Path(QStringLiteral("notes.kqk.old"))},
        {Path(QStringLiteral("mixed.Kqk")), Path(QStringLiteral("mixed.Kqk.kqk"))},
    };
    for (const Case& c : cases) {
        platform.Clear();
        store.CardFileChanged = true;
        platform.fileAnswers = {c.chosen};
        form->Tallennanimell1->trigger();
        EXPECT_TRUE(platform.messages.empty());
        EXPECT_EQ(store.CardFileName, c.written);
        EXPECT_EQ(form->windowTitle(), QFileInfo(c.written).fileName() + QStringLiteral(" - CARDOMO 0.5 beta"));
        EXPECT_FALSE(store.CardFileChanged);
        CardRows back;
        EXPECT_EQ(ReadCardFile(c.written, CardEncoding::Utf8, 10, back).count, 2);
    }
    ASSERT_EQ(platform.dialogs.size(), 1u);
    EXPECT_TRUE(platform.dialogs[0].save);
    EXPECT_EQ(platform.dialogs[0].request.title, QStringLiteral("Save Cardomo card file as (.kqk) UTF-8"));
    EXPECT_EQ(platform.dialogs[0].request.filter, QStringLiteral("CARDOMO data file (*.KQK)|*.KQK;*.KQD"));
    EXPECT_EQ(platform.dialogs[0].request.initialName, QStringLiteral("notes.kqk.old"));  // the name before

    // Cancelled, then an empty name: nothing changes.
    platform.Clear();
    platform.fileAnswers = {std::nullopt, QString()};
    store.CardFileChanged = true;
    form->Tallennanimell1Click();
    form->Tallennanimell1Click();
    EXPECT_EQ(platform.Texts(), QStringList{QStringLiteral("Please give a name for the file!")});
    EXPECT_TRUE(store.CardFileChanged);

    // An existing file: No and Cancel keep the name; Yes replaces it.
    for (MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Cancel, MsgAnswer::Yes}) {
        platform.Clear();
        platform.fileAnswers = {path};
        platform.answers = {answer};
        form->Tallennanimell1Click();
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].text,
                  QStringLiteral("The file cards.kqk already exists. Do you want to replace it?"));
        EXPECT_EQ(platform.messages[0].icon, MsgIcon::None);
        EXPECT_EQ(platform.messages[0].buttons, MsgButtons::YesNoCancel);
        EXPECT_EQ(store.CardFileName, answer == MsgAnswer::Yes ? path : Path(QStringLiteral("mixed.Kqk.kqk")));
    }
    EXPECT_EQ(form->windowTitle(), QStringLiteral("cards.kqk - CARDOMO 0.5 beta"));
    EXPECT_FALSE(store.CardFileChanged);

    // Low free space: only the message; the save counts as done.
    platform.Clear();
    platform.freeSpace = std::nullopt;
    store.CardFileChanged = true;
    platform.fileAnswers = {Path(QStringLiteral("low"))};
    form->Tallennanimell1Click();
    EXPECT_EQ(platform.Texts(), QStringList{LowSpace});
    EXPECT_EQ(form->windowTitle(), QStringLiteral("low.kqk - CARDOMO 0.5 beta"));
    EXPECT_FALSE(store.CardFileChanged);
    EXPECT_FALSE(form->SaveFailed);
}

TEST_F(SaveCloseTest, SaveAsFailuresKeepTheCaptionButTakeTheName)
{
    const QString path = MakeFile(2);
    Start({path});
    const QString target = Path(QStringLiteral("locked.kqk"));
    WriteBytes(target, "locked");
    MakeReadOnly(target);
    store.CardFileChanged = true;
    platform.fileAnswers = {target};
    platform.answers = {MsgAnswer::Yes};
    form->Tallennanimell1->trigger();
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[1].text,
              QStringLiteral("Cannot create file \"%1\". Permission denied").arg(target));
    EXPECT_EQ(ReadBytes(target), "locked");
    EXPECT_EQ(store.CardFileName, target);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("cards.kqk - CARDOMO 0.5 beta"));
    EXPECT_TRUE(store.CardFileChanged);

    // A write failing part-way: two messages, kind then text.
    platform.Clear();
    store.CardTable[0][MemoCell] = QString(20000, u'm');
    platform.fileAnswers = {Path(QStringLiteral("big.kqk"))};
    WithSmallFileLimit([&] { form->Tallennanimell1Click(); });
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_TRUE(platform.messages[0].text.startsWith(QStringLiteral("Exception Class name: ")));
    EXPECT_TRUE(platform.messages[1].text.startsWith(QStringLiteral("Exception Message: ")));
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("big.kqk"))));
    EXPECT_EQ(store.CardFileName, Path(QStringLiteral("big.kqk")));
    EXPECT_TRUE(store.CardFileChanged);
}

TEST_F(SaveCloseTest, CloseRightAfterStartAsksAboutChanges)
{
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    Start();
    platform.answers = {MsgAnswer::Cancel, MsgAnswer::Yes};
    form->Sulje1->trigger();
    EXPECT_TRUE(store.FileOpen);
    form->Sulje1->trigger();
    QDir::setCurrent(old);
    EXPECT_EQ(platform.Texts(), (QStringList{Changed, Changed}));
    EXPECT_TRUE(IsClosed());
    EXPECT_TRUE(QFile::exists(Path(QStringLiteral("New.kqk"))));
    // The no-card-file state.
    EXPECT_FALSE(store.CardTablePresent());
    EXPECT_TRUE(store.CardFileName.isEmpty());
    EXPECT_FALSE(store.CardFileChanged);
    EXPECT_TRUE(form->Uusi1->isEnabled());
    EXPECT_TRUE(form->Avaa1->isEnabled());
    EXPECT_FALSE(form->Sulje1->isEnabled());
    EXPECT_FALSE(form->memoMUISTIINPANO->isEnabled());
    for (int cell = 0; cell <= MemoCell; ++cell)
        EXPECT_TRUE(form->memoMUISTIINPANO->Text().isEmpty() && form->memoTUNNISTE->Text().isEmpty());
    EXPECT_TRUE(form->lblKorttitunnistenro->text().isEmpty());
    EXPECT_TRUE(form->editKORTTINRO->text().isEmpty());
    EXPECT_TRUE(form->Label23->text().isEmpty());
    EXPECT_TRUE(form->Label22->text().isEmpty());
}

TEST_F(SaveCloseTest, CloseOfAnUnchangedFileAsksToBeSure)
{
    const QString path = MakeFile(1);
    Start({path});
    platform.answers = {MsgAnswer::No, MsgAnswer::Yes};
    form->Sulje1Click();
    EXPECT_TRUE(store.FileOpen);
    form->Sulje1Click();
    EXPECT_EQ(platform.Texts(), (QStringList{ReallyClose, ReallyClose}));
    EXPECT_EQ(platform.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_TRUE(IsClosed());
}

TEST_F(SaveCloseTest, CloseWhoseSaveFailsStaysOpenAndChanged)
{
    const QString path = MakeFile(1);
    Start({path});
    TypeIntoTitle1(QStringLiteral("x"));

    // Read-only: Save says why; Close stops; a second Close with No closes.
    MakeReadOnly(path);
    platform.answers = {MsgAnswer::Yes};
    form->Sulje1Click();
    EXPECT_EQ(platform.Texts(), (QStringList{Changed, path + QStringLiteral(" on kirjoitussuojattu. Ei voi tallentaa")}));
    EXPECT_TRUE(store.FileOpen);
    EXPECT_TRUE(store.CardFileChanged);
    EXPECT_FALSE(form->SaveRefused);

    // Low space: saved, but Close reports the error and keeps the file open.
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    platform.Clear();
    platform.freeSpace = 0;
    platform.answers = {MsgAnswer::Yes};
    form->Sulje1Click();
    EXPECT_EQ(platform.Texts(), (QStringList{Changed, LowSpace, SaveError}));
    EXPECT_TRUE(store.FileOpen);
    EXPECT_TRUE(store.CardFileChanged);
    EXPECT_FALSE(form->SaveFailed);

    // A file that cannot be created ends the Close too.
    platform.Clear();
    platform.freeSpace = 1 << 20;
    store.CardFileName = Path(QStringLiteral("gone/x.kqk"));
    platform.answers = {MsgAnswer::Yes};
    form->Sulje1->trigger();
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_TRUE(platform.messages[1].text.startsWith(QStringLiteral("Cannot create file")));
    EXPECT_TRUE(store.FileOpen);

    // No: closes without saving.
    platform.Clear();
    platform.answers = {MsgAnswer::No};
    form->Sulje1Click();
    EXPECT_TRUE(IsClosed());
}

TEST_F(SaveCloseTest, ReadOnlySaveFromTheMenuDoesNotBlockALaterClose)
{
    const QString path = MakeFile(1);
    Start({path});
    MakeReadOnly(path);
    form->Tallenna1->trigger();
    EXPECT_TRUE(form->SaveRefused);
    platform.Clear();
    platform.answers = {MsgAnswer::Yes};
    form->Sulje1->trigger();
    EXPECT_EQ(platform.Texts(), QStringList{ReallyClose});
    EXPECT_TRUE(IsClosed());
}

TEST_F(SaveCloseTest, ExitAndCloseBoxWaitForClose)
{
    const QString path = MakeFile(1);
    Start({path});
    QSignalSpy ended(form.get(), &TForm1::programEnded);
    form->Lopeta1->trigger();
    form->close();
    EXPECT_EQ(platform.Texts(),
              (QStringList{"You can not exit while the card file is still open. Please close the card file first",
                           "You can not terminate the program because the card file is still open. Please close "
                           "card file first!"}));
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(ended.count(), 0);

    platform.Clear();
    platform.answers = {MsgAnswer::Yes};
    form->Sulje1->trigger();
    form->Lopeta1->trigger();
    EXPECT_EQ(platform.Texts(), QStringList{ReallyClose});
    EXPECT_EQ(ended.count(), 1);
    EXPECT_FALSE(form->isVisible());
}
