// Save, Save As, Close, Exit and the close box of the main window.
#include "support/mainwindow_fixture.h"

#include "support/filesystems.h"

#include <QSignalSpy>
#include <cstring>
#include <sys/stat.h>
#include <utime.h>

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

template <typename F> void WithSmallFileLimit(F f)
{
    WithFileSizeLimit(4096, f);
}

QString Reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

class SaveCloseTest : public MainWindowTest {
protected:
    void TypeIntoTitle1(const QString& text)
    {
        form->memoTUNNISTE->setFocus();
        form->memoTUNNISTE->moveCursor(QTextCursor::End);
        QTest::keyClicks(form->memoTUNNISTE, text);
    }
    void Save() { QTest::keyClick(form, Qt::Key_S, Qt::ControlModifier); }
    void SaveAs(const QString& chosen)
    {
        platform.fileAnswers = {chosen};
        form->Tallennanimell1->trigger();
    }
    // Close, answering the question about changes with Yes.
    void CloseSaving()
    {
        platform.answers.push_back(MsgAnswer::Yes);
        form->Sulje1->trigger();
    }
    bool IsClosed() { return !store().FileOpen && form->windowTitle() == QStringLiteral("CARDOMO 0.5. beta"); }
};

}  // namespace

TEST_F(SaveCloseTest, SaveOfNewWritesNewKqkIntoTheCurrentFolder)
{
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    Start();
    TypeIntoTitle1(QStringLiteral("hello"));
    QTest::keyClick(form, Qt::Key_S, Qt::ControlModifier);
    QDir::setCurrent(old);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_FALSE(store().CardFileChanged);
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("New.kqk"))),
        "\xEF\xBB\xBFIF YOU SEE THIS TEXT, YOU ARE IN WRONG PLACE!! THIS IS CARDOMO DATA FILE. THIS TEXT FILE "
        "IS ONLY FOR THE USE OF CARDOMO SOFTWARE! PLEASE ABORT WITHOUT MAKING A N Y CHANGES IN THIS FILE!\r\n"
        "KQa0b5c1d0e2f1g0h0i1\r\n1\r\nhello\r\n"
            + QByteArray("\r\n").repeated(16) + "\xC2\xA4#<&%\xC2\xA4#<&%KQ==1\r\n\r\n"
            + "\xC2\xA4#>&%\xC2\xA4#>&%KQ==1\r\ny2021m03d07h09mn05s02ms045\r\n");
}

TEST_F(SaveCloseTest, SaveFailuresKeepTheFileOpenAndChanged)
{
    const QString path = MakeFile(2);
    Start({path});

    // Read-only: refused, file untouched, and a Close that asked stays open.
    TypeIntoTitle1(QStringLiteral("x"));
    MakeReadOnly(path);
    const QByteArray before = ReadBytes(path);
    CloseSaving();
    EXPECT_EQ(
        platform.Texts(), (QStringList{Changed, path + QStringLiteral(" on kirjoitussuojattu. Ei voi tallentaa")}));
    EXPECT_TRUE(store().FileOpen);
    EXPECT_TRUE(store().CardFileChanged);
    EXPECT_EQ(ReadBytes(path), before);

    // A card that would not read back: the save failure path, nothing written.
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    platform.Clear();
    store().CardTable[0][MemoCell] = QStringLiteral("bad \u00A4#>&% line");
    CloseSaving();
    EXPECT_EQ(platform.Texts(),
        (QStringList{Changed,
            QStringLiteral("File handling error occurred. Details: \r\nCardNotWritable/Card 1 cannot "
                           "be saved: a line of its Memo holds \"\u00A4#>&%\". Nothing was written."),
            SaveError}));
    EXPECT_TRUE(store().FileOpen);
    EXPECT_TRUE(store().CardFileChanged);
    EXPECT_EQ(ReadBytes(path), before);
    store().CardTable[0][MemoCell] = QStringLiteral("fine");

    // A write that fails part-way keeps the old file whole and names the
    // system's reason.
    platform.Clear();
    store().CardTable[0][MemoCell] = QString(20000, u'm');
    WithSmallFileLimit([&] { Save(); });
    EXPECT_EQ(platform.Texts(),
        QStringList{QStringLiteral("File handling error occurred. Details: \r\nResourceError/") + Reason(EFBIG)});
    EXPECT_TRUE(store().CardFileChanged);
    EXPECT_EQ(ReadBytes(path), before);

    // Low free space: written and warned; no longer marked changed, but a
    // Close that asked for the save stays open.
    platform.Clear();
    platform.freeSpace = 1;
    CloseSaving();
    EXPECT_EQ(platform.Texts(), (QStringList{Changed, LowSpace, SaveError}));
    EXPECT_NE(ReadBytes(path), before);
    EXPECT_TRUE(store().FileOpen);

    // A file that cannot be created: the general error report.
    platform.Clear();
    store().CardFileName = Path(QStringLiteral("no/such/folder/x.kqk"));
    store().CardFileChanged = true;
    form->Tallenna1->trigger();
    EXPECT_EQ(platform.Texts(),
        QStringList{
            QStringLiteral("Cannot create file \"") + store().CardFileName + QStringLiteral("\". ") + Reason(ENOENT)});
    EXPECT_TRUE(store().CardFileChanged);
}

TEST_F(SaveCloseTest, SaveOntoAFullDiskNamesTheReason)
{
    const QString folder = Path(QStringLiteral("small"));
    QDir().mkpath(folder);
    SmallVolume volume(folder, 64);
    if (!volume.mounted())
        GTEST_SKIP() << "no small volume here (mounting needs the superuser)";
    const QString path = folder + QStringLiteral("/cards.kqk");
    QFile::copy(MakeFile(2), path);
    Start({path});
    const QByteArray before = ReadBytes(path);
    store().CardTable[0][MemoCell] = QStringLiteral("line\r\n").repeated(30000);
    Save();
    EXPECT_EQ(platform.Texts(),
        QStringList{QStringLiteral("File handling error occurred. Details: \r\nResourceError/") + Reason(ENOSPC)});
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("cards.kqk")});
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
        SCOPED_TRACE(c.chosen.toStdString());
        platform.Clear();
        store().CardFileChanged = true;
        SaveAs(c.chosen);
        EXPECT_TRUE(platform.messages.empty());
        EXPECT_EQ(store().CardFileName, c.written);
        EXPECT_EQ(form->windowTitle(), QFileInfo(c.written).fileName() + QStringLiteral(" - CARDOMO 0.5 beta"));
        EXPECT_FALSE(store().CardFileChanged);
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
    store().CardFileChanged = true;
    form->Tallennanimell1->trigger();
    form->Tallennanimell1->trigger();
    EXPECT_EQ(platform.Texts(), QStringList{QStringLiteral("Please give a name for the file!")});
    EXPECT_TRUE(store().CardFileChanged);

    // An existing file: No and Cancel keep the name; Yes replaces it.
    for (MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Cancel, MsgAnswer::Yes}) {
        platform.Clear();
        platform.answers = {answer};
        SaveAs(path);
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(
            platform.messages[0].text, QStringLiteral("The file cards.kqk already exists. Do you want to replace it?"));
        EXPECT_EQ(platform.messages[0].icon, MsgIcon::None);
        EXPECT_EQ(platform.messages[0].buttons, MsgButtons::YesNoCancel);
        EXPECT_EQ(store().CardFileName, answer == MsgAnswer::Yes ? path : Path(QStringLiteral("mixed.Kqk.kqk")));
    }
    EXPECT_EQ(form->windowTitle(), QStringLiteral("cards.kqk - CARDOMO 0.5 beta"));
    EXPECT_FALSE(store().CardFileChanged);

    // Low free space: only the message; the save counts as done.
    platform.Clear();
    platform.freeSpace = std::nullopt;
    store().CardFileChanged = true;
    SaveAs(Path(QStringLiteral("low")));
    EXPECT_EQ(platform.Texts(), QStringList{LowSpace});
    EXPECT_EQ(form->windowTitle(), QStringLiteral("low.kqk - CARDOMO 0.5 beta"));
    EXPECT_FALSE(store().CardFileChanged);
}

TEST_F(SaveCloseTest, SaveAsFailuresKeepTheOpenFilesName)
{
    const QString path = MakeFile(2);
    Start({path});
    TypeIntoTitle1(QStringLiteral("edited"));
    const QByteArray before = ReadBytes(path);
    struct Case {
        const char* what;
        QString target;
        std::function<void(const std::function<void()>&)> around;
        QStringList messages;
    };
    const QString locked = Path(QStringLiteral("locked.kqk"));
    WriteBytes(locked, "locked");
    MakeReadOnly(locked);
    const QString big = Path(QStringLiteral("big.kqk"));
    const QString longName = Path(QString(300, u'n') + QStringLiteral(".kqk"));
    const auto plain = [](const std::function<void()>& f) { f(); };
    const Case cases[] = {
        {"read-only target", locked, plain,
            {QStringLiteral("The file locked.kqk already exists. Do you want to replace it?"),
                QStringLiteral("Cannot create file \"") + locked + QStringLiteral("\". ") + Reason(EACCES)}},
        {"file size limit", big, [](const std::function<void()>& f) { WithSmallFileLimit(f); },
            {QStringLiteral("Exception Class name: ResourceError"),
                QStringLiteral("Exception Message: ") + Reason(EFBIG)}},
        {"name too long", longName, plain,
            {QStringLiteral("Exception Class name: RenameError"),
                QStringLiteral("Exception Message: ") + Reason(ENAMETOOLONG)}},
    };
    store().CardTable[0][MemoCell] = QString(20000, u'm');
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        platform.Clear();
        platform.answers = {MsgAnswer::Yes};
        c.around([&] { SaveAs(c.target); });
        EXPECT_EQ(platform.Texts(), c.messages);
        EXPECT_EQ(store().CardFileName, path);
        EXPECT_EQ(form->windowTitle(), QStringLiteral("cards.kqk - CARDOMO 0.5 beta"));
        EXPECT_TRUE(store().CardFileChanged);
    }
    EXPECT_EQ(ReadBytes(locked), "locked");
    EXPECT_FALSE(QFile::exists(big));

    // The next Save writes the file that is open, not the one Save As named.
    platform.Clear();
    Save();
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_NE(ReadBytes(path), before);
    EXPECT_EQ(ReadBytes(locked), "locked");
    EXPECT_FALSE(QFile::exists(big));
}

TEST_F(SaveCloseTest, SaveOfNewAsksBeforeReplacingANewKqkOfAnotherRun)
{
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    WriteBytes(Path(QStringLiteral("New.kqk")), "from an earlier run");
    Start();
    TypeIntoTitle1(QStringLiteral("hello"));
    const QString question = QStringLiteral("The file New.kqk already exists. Do you want to replace it?");

    // No, or Cancel: refused, the file stays open and changed, Close stays open.
    platform.answers = {MsgAnswer::No};
    Save();
    EXPECT_EQ(platform.Texts(), QStringList{question});
    EXPECT_EQ(platform.messages[0].buttons, MsgButtons::YesNoCancel);
    platform.Clear();
    platform.answers = {MsgAnswer::Yes, MsgAnswer::Cancel};
    form->Sulje1->trigger();
    EXPECT_EQ(platform.Texts(), (QStringList{Changed, question}));
    EXPECT_TRUE(store().FileOpen);
    EXPECT_TRUE(store().CardFileChanged);
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("New.kqk"))), "from an earlier run");

    // Yes replaces it; later saves of this run ask nothing.
    platform.Clear();
    platform.answers = {MsgAnswer::Yes};
    Save();
    TypeIntoTitle1(QStringLiteral(" again"));
    Save();
    QDir::setCurrent(old);
    EXPECT_EQ(platform.Texts(), QStringList{question});
    EXPECT_FALSE(store().CardFileChanged);
    CardRows back;
    ASSERT_EQ(ReadCardFile(Path(QStringLiteral("New.kqk")), CardEncoding::Utf8, 10, back).count, 1);
    EXPECT_EQ(back[0][0], QStringLiteral("hello again"));
}

TEST_F(SaveCloseTest, SaveAsksBeforeReplacingAFileAnotherProgramChanged)
{
    const QString path = MakeFile(2);
    Start({path});
    const QString question = QStringLiteral(
        "The card file cards.kqk was changed by another program after it was opened. Do you want to replace it?");
    TypeIntoTitle1(QStringLiteral("mine"));

    // Another program rewrites the file (a new size) or touches it (a new time).
    WriteBytes(path, ReadBytes(path) + "x");
    platform.answers = {MsgAnswer::No};
    Save();
    EXPECT_EQ(platform.Texts(), QStringList{question});
    EXPECT_EQ(platform.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_TRUE(ReadBytes(path).endsWith("x"));
    EXPECT_TRUE(store().CardFileChanged);
    platform.Clear();
    platform.answers = {MsgAnswer::Yes, MsgAnswer::No};
    form->Sulje1->trigger();  // a Close whose save was refused stays open
    EXPECT_EQ(platform.Texts(), (QStringList{Changed, question}));
    EXPECT_TRUE(store().FileOpen);

    platform.Clear();
    platform.answers = {MsgAnswer::Yes};
    Save();
    EXPECT_EQ(platform.Texts(), QStringList{question});
    EXPECT_FALSE(store().CardFileChanged);
    struct utimbuf times {
        1000000000, 1000000000
    };
    ASSERT_EQ(::utime(QFile::encodeName(path).constData(), &times), 0);
    platform.Clear();
    platform.answers = {MsgAnswer::Yes};
    Save();
    EXPECT_EQ(platform.Texts(), QStringList{question});

    // Unchanged since our own save: no question. Gone: simply written.
    platform.Clear();
    Save();
    QFile::remove(path);
    Save();
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(QFile::exists(path));
}

TEST_F(SaveCloseTest, SaveKeepsTheFilesIdentity)
{
    const QString path = MakeFile(1);
    const QByteArray p = QFile::encodeName(path);
    ASSERT_EQ(::chmod(p.constData(), 0604), 0);
    const bool superuser = ::getuid() == 0;
    if (superuser) {
        ASSERT_EQ(::chown(p.constData(), 4321, 8765), 0);
    }
    Start({path});
    TypeIntoTitle1(QStringLiteral("x"));
    Save();
    EXPECT_TRUE(platform.messages.empty());
    struct stat st;
    ASSERT_EQ(::stat(p.constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0604u);
    if (superuser) {
        EXPECT_EQ(st.st_uid, 4321u);
        EXPECT_EQ(st.st_gid, 8765u);
    }

    // A name of 255 bytes saves, also over an existing file.
    const QString longName = Path(QString(251, u'l') + QStringLiteral(".kqk"));
    SaveAs(longName);
    TypeIntoTitle1(QStringLiteral("y"));
    Save();
    EXPECT_TRUE(platform.messages.empty());
    CardRows back;
    ASSERT_EQ(ReadCardFile(longName, CardEncoding::Utf8, 10, back).count, 1);
    EXPECT_EQ(back[0][0], QStringLiteral("Card 1xy"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
        (QStringList{QStringLiteral("cards.kqk"), QFileInfo(longName).fileName()}));
}

TEST_F(SaveCloseTest, ACardFileInAFolderThatTakesNoNewFileStillSaves)
{
    const QString folder = Path(QStringLiteral("locked"));
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/cards.kqk");
    QFile::copy(MakeFile(1), path);
    Start({path});
    LockedFolder lock(folder);
    if (!lock.locked())
        GTEST_SKIP() << "no way to lock a folder here";
    TypeIntoTitle1(QStringLiteral("x"));
    Save();
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_FALSE(store().CardFileChanged);
    CardRows back;
    ASSERT_EQ(ReadCardFile(path, CardEncoding::Utf8, 10, back).count, 1);
    EXPECT_EQ(back[0][0], QStringLiteral("Card 1x"));
}

TEST_F(SaveCloseTest, CloseRightAfterStartAsksAboutChanges)
{
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    Start();
    platform.answers = {MsgAnswer::Cancel, MsgAnswer::Yes};
    form->Sulje1->trigger();
    EXPECT_TRUE(store().FileOpen);
    form->Sulje1->trigger();
    QDir::setCurrent(old);
    EXPECT_EQ(platform.Texts(), (QStringList{Changed, Changed}));
    EXPECT_TRUE(IsClosed());
    EXPECT_TRUE(QFile::exists(Path(QStringLiteral("New.kqk"))));
    // The no-card-file state.
    EXPECT_FALSE(store().CardTablePresent());
    EXPECT_TRUE(store().CardFileName.isEmpty());
    EXPECT_FALSE(store().CardFileChanged);
    EXPECT_TRUE(form->Uusi1->isEnabled());
    EXPECT_TRUE(form->Avaa1->isEnabled());
    EXPECT_FALSE(form->Sulje1->isEnabled());
    EXPECT_FALSE(form->memoMUISTIINPANO->isEnabled());
    for (int cell = 0; cell <= MemoCell; ++cell) {
        SCOPED_TRACE(form->editors[cell]->objectName().toStdString());
        const QWidget* e = form->editors[cell];
        const QString text = cell == MemoCell    ? form->memoMUISTIINPANO->Text()
            : qobject_cast<const OneLineBox*>(e) ? static_cast<const OneLineBox*>(e)->Text()
                                                 : static_cast<const FieldLine*>(e)->Text();
        EXPECT_TRUE(text.isEmpty());
    }
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
    form->Sulje1->trigger();
    EXPECT_TRUE(store().FileOpen);
    form->Sulje1->trigger();
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
    CloseSaving();
    EXPECT_EQ(
        platform.Texts(), (QStringList{Changed, path + QStringLiteral(" on kirjoitussuojattu. Ei voi tallentaa")}));
    EXPECT_TRUE(store().FileOpen);
    EXPECT_TRUE(store().CardFileChanged);

    // Low space: saved, but Close reports the error and keeps the file open.
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    platform.Clear();
    platform.freeSpace = 0;
    CloseSaving();
    EXPECT_EQ(platform.Texts(), (QStringList{Changed, LowSpace, SaveError}));
    EXPECT_TRUE(store().FileOpen);
    EXPECT_TRUE(store().CardFileChanged);

    // A file that cannot be created ends the Close too.
    platform.Clear();
    platform.freeSpace = 1 << 20;
    store().CardFileName = Path(QStringLiteral("gone/x.kqk"));
    platform.answers = {MsgAnswer::Yes};
    form->Sulje1->trigger();
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_TRUE(platform.messages[1].text.startsWith(QStringLiteral("Cannot create file")));
    EXPECT_TRUE(store().FileOpen);

    // No: closes without saving.
    platform.Clear();
    platform.answers = {MsgAnswer::No};
    form->Sulje1->trigger();
    EXPECT_TRUE(IsClosed());
}

TEST_F(SaveCloseTest, ReadOnlySaveFromTheMenuDoesNotBlockALaterClose)
{
    const QString path = MakeFile(1);
    Start({path});
    MakeReadOnly(path);
    form->Tallenna1->trigger();
    EXPECT_EQ(platform.Texts(), QStringList{path + QStringLiteral(" on kirjoitussuojattu. Ei voi tallentaa")});
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
    QSignalSpy ended(form, &TForm1::programEnded);
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
