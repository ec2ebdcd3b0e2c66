// The file commands' decisions without a window: what Save, Save As and Close
// ask and say, in order, what they write and what state they leave; New and
// Open; and the picked cards' save. Each command is played through its steps
// the way a window plays them, with the user's answers given in advance.
#include "cardfilesession.h"
#include "generalerror.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <deque>
#include <gtest/gtest.h>

namespace {

const QString Id = QStringLiteral("y2021m03d07h09mn05s02ms045");
const QDateTime Now(QDate(2021, 3, 7), QTime(9, 5, 2, 45));

const QString Changed = QStringLiteral(" The card file is changed. Do you want save the changes before closing?");
const QString ReallyClose = QStringLiteral("Do you really want to close the file?");
const QString SaveError = QStringLiteral("There was an error in saving");
const QString LowSpace = QStringLiteral(
    "The recording disk may be out of space. The file may not have been saved correctly. Check the issue and "
    "save to another disk before closing the job file.");
const QString BadCardReason =
    QStringLiteral("Card 1 cannot be saved: a line of its Memo holds \"\u00A4#>&%\". Nothing was written.");

// A card file of one card with Title1 title and the Card ID above.
QByteArray OneCardFile(const char* title)
{
    return QByteArray("\xEF\xBB\xBF")
        + CrLfLines({"IF YOU SEE THIS TEXT, YOU ARE IN WRONG PLACE!! THIS IS CARDOMO DATA FILE. THIS TEXT FILE IS "
                     "ONLY FOR THE USE OF CARDOMO SOFTWARE! PLEASE ABORT WITHOUT MAKING A N Y CHANGES IN THIS FILE!",
            "KQa0b5c1d0e2f1g0h0i1", "1", title, "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
            "\xC2\xA4#<&%\xC2\xA4#<&%KQ==1", "", "\xC2\xA4#>&%\xC2\xA4#>&%KQ==1", "y2021m03d07h09mn05s02ms045"});
}

const QByteArray OnDisk = OneCardFile("on disk");
const QByteArray Edited = OneCardFile("edited");
const QByteArray Other = QByteArray("written by another program");

enum class Start {
    OpenFile,  // a.kqk, opened by this run
    New,  // New, no New.kqk in the folder
    NewOverEarlier  // New, a New.kqk of an earlier run in the folder
};
enum class Disk { AsRead, ChangedByOther, ReadOnly };
enum class Command { Save, SaveAs, Close };

struct Case {
    const char* name;
    Start start;
    Disk disk;
    Command command;
    bool badCard = false;  // a card that cannot be written
    bool lowSpace = false;  // the volume reports 1 byte free
    bool unchanged = false;  // the card file is not marked changed
    std::optional<QString> chosen = std::nullopt;  // Save As: the dialog's answer
    std::vector<SessionAnswer> answers = {};
    // What the user saw, in order: messages as they are, questions with
    // their buttons.
    QStringList seen = {};
    SessionStep::Result result = SessionStep::Result::None;
    bool open = true;  // FileOpen after
    bool changed = true;  // CardFileChanged after
    const char* name_after = "";  // CardFileName after, in the folder ("" when empty)
    const char* written = "";  // the file (in the folder) that now holds Edited, if any
    QByteArray target = {};  // what that file held before, kept unless written
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

class CardFileSessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        old_ = QDir::currentPath();
        QDir::setCurrent(dir.path());
    }
    void TearDown() override { QDir::setCurrent(old_); }

    QString Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    SessionFacts Facts()
    {
        return {[this](const QString&) { return freeSpace; }, [] { return Now; }};
    }

    // Plays a step as a window does: messages, then the question and its
    // scripted answer, until the command ends or Close wants its save.
    SessionStep Play(SessionStep step, const std::function<SessionStep(const SessionStep&, SessionAnswer)>& answer)
    {
        for (;;) {
            for (const QString& m : step.messages)
                seen << m;
            if (step.kind != SessionStep::Kind::Ask)
                return step;
            seen << step.text + (step.withCancel ? QStringLiteral(" [Yes/No/Cancel]") : QStringLiteral(" [Yes/No]"));
            EXPECT_FALSE(answers.empty()) << "unexpected question: " << step.text.toStdString();
            const SessionAnswer a = answers.empty() ? SessionAnswer::Cancel : answers.front();
            if (!answers.empty())
                answers.pop_front();
            step = answer(step, a);
        }
    }
    SessionStep Play(CardFileSession& session, const SessionStep& step)
    {
        return Play(step, [&](const SessionStep& asked, SessionAnswer a) { return session.Answer(asked, a); });
    }

    QTemporaryDir dir;
    CardStore store;
    std::optional<qint64> freeSpace = qint64(1) << 40;
    std::deque<SessionAnswer> answers;
    QStringList seen;

private:
    QString old_;
};

const Case Cases[] = {
    // Save
    {.name = "SaveOfAFileAsRead",
        .start = Start::OpenFile,
        .disk = Disk::AsRead,
        .command = Command::Save,
        .result = SessionStep::Result::Saved,
        .changed = false,
        .name_after = "a.kqk",
        .written = "a.kqk"},
    {.name = "SaveOfNewWithNoFileThere",
        .start = Start::New,
        .disk = Disk::AsRead,
        .command = Command::Save,
        .result = SessionStep::Result::Saved,
        .changed = false,
        .name_after = "New.kqk",
        .written = "New.kqk"},
    {.name = "SaveOfNewOverAnEarlierRunsFileYes",
        .start = Start::NewOverEarlier,
        .disk = Disk::AsRead,
        .command = Command::Save,
        .answers = {SessionAnswer::Yes},
        .seen = {QStringLiteral("The file New.kqk already exists. Do you want to replace it? [Yes/No/Cancel]")},
        .result = SessionStep::Result::Saved,
        .changed = false,
        .name_after = "New.kqk",
        .written = "New.kqk"},
    {.name = "SaveOfNewOverAnEarlierRunsFileNo",
        .start = Start::NewOverEarlier,
        .disk = Disk::AsRead,
        .command = Command::Save,
        .answers = {SessionAnswer::No},
        .seen = {QStringLiteral("The file New.kqk already exists. Do you want to replace it? [Yes/No/Cancel]")},
        .result = SessionStep::Result::Cancelled,
        .name_after = "New.kqk",
        .target = Other},
    {.name = "SaveOfNewOverAnEarlierRunsFileCancel",
        .start = Start::NewOverEarlier,
        .disk = Disk::AsRead,
        .command = Command::Save,
        .answers = {SessionAnswer::Cancel},
        .seen = {QStringLiteral("The file New.kqk already exists. Do you want to replace it? [Yes/No/Cancel]")},
        .result = SessionStep::Result::Cancelled,
        .name_after = "New.kqk",
        .target = Other},
    {.name = "SaveOverAFileChangedOnDiskYes",
        .start = Start::OpenFile,
        .disk = Disk::ChangedByOther,
        .command = Command::Save,
        .answers = {SessionAnswer::Yes},
        .seen = {QStringLiteral("The card file a.kqk was changed by another program after it was opened. Do you want "
                                "to replace it? [Yes/No]")},
        .result = SessionStep::Result::Saved,
        .changed = false,
        .name_after = "a.kqk",
        .written = "a.kqk"},
    {.name = "SaveOverAFileChangedOnDiskNo",
        .start = Start::OpenFile,
        .disk = Disk::ChangedByOther,
        .command = Command::Save,
        .answers = {SessionAnswer::No},
        .seen = {QStringLiteral("The card file a.kqk was changed by another program after it was opened. Do you want "
                                "to replace it? [Yes/No]")},
        .result = SessionStep::Result::Cancelled,
        .name_after = "a.kqk",
        .target = Other},
    {.name = "SaveOfAReadOnlyFile",
        .start = Start::OpenFile,
        .disk = Disk::ReadOnly,
        .command = Command::Save,
        .seen = {QStringLiteral("<dir>/a.kqk on kirjoitussuojattu. Ei voi tallentaa")},
        .result = SessionStep::Result::Refused,
        .name_after = "a.kqk",
        .target = OnDisk},
    {.name = "SaveThatFails",
        .start = Start::OpenFile,
        .disk = Disk::AsRead,
        .command = Command::Save,
        .badCard = true,
        .seen = {QStringLiteral("File handling error occurred. Details: \r\nCardNotWritable/") + BadCardReason},
        .result = SessionStep::Result::Failed,
        .name_after = "a.kqk",
        .target = OnDisk},
    {.name = "SaveOntoALowDisk",
        .start = Start::OpenFile,
        .disk = Disk::AsRead,
        .command = Command::Save,
        .lowSpace = true,
        .seen = {LowSpace},
        .result = SessionStep::Result::SavedLowSpace,
        .changed = false,
        .name_after = "a.kqk",
        .written = "a.kqk"},

    // Save As
    {.name = "SaveAsCancelled",
        .start = Start::OpenFile,
        .disk = Disk::AsRead,
        .command = Command::SaveAs,
        .result = SessionStep::Result::Cancelled,
        .name_after = "a.kqk",
        .target = OnDisk},
    {.name = "SaveAsWithAnEmptyName",
        .start = Start::OpenFile,
        .disk = Disk::AsRead,
        .command = Command::SaveAs,
        .chosen = QString(),
        .seen = {QStringLiteral("Please give a name for the file!")},
        .result = SessionStep::Result::Refused,
        .name_after = "a.kqk",
        .target = OnDisk},
    {.name = "SaveAsAddsTheExtension",
        .start = Start::OpenFile,
        .disk = Disk::AsRead,
        .command = Command::SaveAs,
        .chosen = QStringLiteral("notes"),
        .result = SessionStep::Result::Saved,
        .changed = false,
        .name_after = "notes.kqk",
        .written = "notes.kqk"},
    {.name = "SaveAsKeepsAnUpperCaseExtension",
        .start = Start::OpenFile,
        .disk = Disk::AsRead,
        .command = Command::SaveAs,
        .chosen = QStringLiteral("notes.KQK"),
        .result = SessionStep::Result::Saved,
        .changed = false,
        .name_after = "notes.KQK",
        .written = "notes.KQK"},
    {.name = "SaveAsExtendsAMixedCaseExtension",
        .start = Start::OpenFile,
        .disk = Disk::AsRead,
        .command = Command::SaveAs,
        .chosen = QStringLiteral("notes.Kqk"),
        .result = SessionStep::Result::Saved,
        .changed = false,
        .name_after = "notes.Kqk.kqk",
        .written = "notes.Kqk.kqk"},
    {.name = "SaveAsOntoAnExistingFileNo",
        .start = Start::OpenFile,
        .disk = Disk::AsRead,
        .command = Command::SaveAs,
        .chosen = QStringLiteral("b.kqk"),
        .answers = {SessionAnswer::No},
        .seen = {QStringLiteral("The file b.kqk already exists. Do you want to replace it? [Yes/No/Cancel]")},
        .result = SessionStep::Result::Cancelled,
        .name_after = "a.kqk",
        .written = "",
        .target = Other},
    {.name = "SaveAsOntoAnExistingFileYes",
        .start = Start::OpenFile,
        .disk = Disk::AsRead,
        .command = Command::SaveAs,
        .chosen = QStringLiteral("b.kqk"),
        .answers = {SessionAnswer::Yes},
        .seen = {QStringLiteral("The file b.kqk already exists. Do you want to replace it? [Yes/No/Cancel]")},
        .result = SessionStep::Result::Saved,
        .changed = false,
        .name_after = "b.kqk",
        .written = "b.kqk"},
    {.name = "SaveAsThatFailsKeepsTheOldName",
        .start = Start::OpenFile,
        .disk = Disk::AsRead,
        .command = Command::SaveAs,
        .badCard = true,
        .chosen = QStringLiteral("c"),
        .seen = {QStringLiteral("Exception Class name: CardNotWritable"),
            QStringLiteral("Exception Message: ") + BadCardReason},
        .result = SessionStep::Result::Failed,
        .name_after = "a.kqk",
        .target = OnDisk},
    {.name = "SaveAsOntoALowDisk",
        .start = Start::OpenFile,
        .disk = Disk::AsRead,
        .command = Command::SaveAs,
        .lowSpace = true,
        .chosen = QStringLiteral("c"),
        .seen = {LowSpace},
        .result = SessionStep::Result::SavedLowSpace,
        .changed = false,
        .name_after = "c.kqk",
        .written = "c.kqk"},
    {.name = "SaveAsOfAReadOnlyFileToAnotherName",
        .start = Start::OpenFile,
        .disk = Disk::ReadOnly,
        .command = Command::SaveAs,
        .chosen = QStringLiteral("c"),
        .result = SessionStep::Result::Saved,
        .changed = false,
        .name_after = "c.kqk",
        .written = "c.kqk"},

    // Close
    {.name = "CloseSavingYes",
        .start = Start::OpenFile,
        .disk = Disk::AsRead,
        .command = Command::Close,
        .answers = {SessionAnswer::Yes},
        .seen = {Changed + QStringLiteral(" [Yes/No/Cancel]")},
        .result = SessionStep::Result::Closed,
        .open = false,
        .changed = false,
        .written = "a.kqk"},
    {.name = "CloseOfNewSavesNewKqk",
        .start = Start::New,
        .disk = Disk::AsRead,
        .command = Command::Close,
        .answers = {SessionAnswer::Yes},
        .seen = {Changed + QStringLiteral(" [Yes/No/Cancel]")},
        .result = SessionStep::Result::Closed,
        .open = false,
        .changed = false,
        .written = "New.kqk"},
    {.name = "CloseWhoseSaveIsReadOnly",
        .start = Start::OpenFile,
        .disk = Disk::ReadOnly,
        .command = Command::Close,
        .answers = {SessionAnswer::Yes},
        .seen = {Changed + QStringLiteral(" [Yes/No/Cancel]"),
            QStringLiteral("<dir>/a.kqk on kirjoitussuojattu. Ei voi tallentaa")},
        .result = SessionStep::Result::Stopped,
        .name_after = "a.kqk",
        .target = OnDisk},
    {.name = "CloseWhoseSaveFails",
        .start = Start::OpenFile,
        .disk = Disk::AsRead,
        .command = Command::Close,
        .badCard = true,
        .answers = {SessionAnswer::Yes},
        .seen = {Changed + QStringLiteral(" [Yes/No/Cancel]"),
            QStringLiteral("File handling error occurred. Details: \r\nCardNotWritable/") + BadCardReason, SaveError},
        .result = SessionStep::Result::Stopped,
        .name_after = "a.kqk",
        .target = OnDisk},
    {.name = "CloseWhoseSaveWarnsOfLowSpace",
        .start = Start::OpenFile,
        .disk = Disk::AsRead,
        .command = Command::Close,
        .lowSpace = true,
        .answers = {SessionAnswer::Yes},
        .seen = {Changed + QStringLiteral(" [Yes/No/Cancel]"), LowSpace, SaveError},
        .result = SessionStep::Result::Stopped,
        .name_after = "a.kqk",
        .written = "a.kqk"},
    {.name = "CloseWhoseSaveIsNotToReplaceAChangedFile",
        .start = Start::OpenFile,
        .disk = Disk::ChangedByOther,
        .command = Command::Close,
        .answers = {SessionAnswer::Yes, SessionAnswer::No},
        .seen = {Changed + QStringLiteral(" [Yes/No/Cancel]"),
            QStringLiteral("The card file a.kqk was changed by another program after it was opened. Do you want "
                           "to replace it? [Yes/No]")},
        .result = SessionStep::Result::Stopped,
        .name_after = "a.kqk",
        .target = Other},
    {.name = "CloseOfNewOverAnEarlierRunsFileCancelled",
        .start = Start::NewOverEarlier,
        .disk = Disk::AsRead,
        .command = Command::Close,
        .answers = {SessionAnswer::Yes, SessionAnswer::Cancel},
        .seen = {Changed + QStringLiteral(" [Yes/No/Cancel]"),
            QStringLiteral("The file New.kqk already exists. Do you want to replace it? [Yes/No/Cancel]")},
        .result = SessionStep::Result::Stopped,
        .name_after = "New.kqk",
        .target = Other},
    {.name = "CloseWithoutSaving",
        .start = Start::OpenFile,
        .disk = Disk::AsRead,
        .command = Command::Close,
        .answers = {SessionAnswer::No},
        .seen = {Changed + QStringLiteral(" [Yes/No/Cancel]")},
        .result = SessionStep::Result::Closed,
        .open = false,
        .changed = false,
        .target = OnDisk},
    {.name = "CloseCancelled",
        .start = Start::OpenFile,
        .disk = Disk::AsRead,
        .command = Command::Close,
        .answers = {SessionAnswer::Cancel},
        .seen = {Changed + QStringLiteral(" [Yes/No/Cancel]")},
        .result = SessionStep::Result::Stopped,
        .name_after = "a.kqk",
        .target = OnDisk},
    {.name = "CloseOfAnUnchangedFileYes",
        .start = Start::OpenFile,
        .disk = Disk::AsRead,
        .command = Command::Close,
        .unchanged = true,
        .answers = {SessionAnswer::Yes},
        .seen = {ReallyClose + QStringLiteral(" [Yes/No]")},
        .result = SessionStep::Result::Closed,
        .open = false,
        .changed = false,
        .target = OnDisk},
    {.name = "CloseOfAnUnchangedFileNo",
        .start = Start::OpenFile,
        .disk = Disk::AsRead,
        .command = Command::Close,
        .unchanged = true,
        .answers = {SessionAnswer::No},
        .seen = {ReallyClose + QStringLiteral(" [Yes/No]")},
        .result = SessionStep::Result::Stopped,
        .changed = false,
        .name_after = "a.kqk",
        .target = OnDisk},
};

class FileCommandTable : public CardFileSessionTest, public ::testing::WithParamInterface<Case> { };

}  // namespace

TEST_P(FileCommandTable, AsksSaysWritesAndLeaves)
{
    const Case& c = GetParam();
    CardFileSession session(store, Facts());
    store.MaxCardCount = 32000;
    if (c.start == Start::OpenFile) {
        WriteBytes(Path("a.kqk"), OnDisk);
        const CardFileSession::ReadOutcome r = session.Read(Path("a.kqk"));
        ASSERT_TRUE(r.ok) << r.message.toStdString();
        EXPECT_EQ(r.message, QString());  // every field was UTF-8
        session.Opened(Path("a.kqk"));
        session.OpenShown();
    } else {
        if (c.start == Start::NewOverEarlier)
            WriteBytes(Path("New.kqk"), Other);
        ASSERT_EQ(Play(session, session.New()).result, SessionStep::Result::Started);
    }
    const char* file = c.start == Start::OpenFile ? "a.kqk" : "New.kqk";
    if (c.disk == Disk::ChangedByOther)
        WriteBytes(Path(file), Other);
    if (c.disk == Disk::ReadOnly)
        QFile::setPermissions(Path(file), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    if (c.command == Command::SaveAs && c.chosen == QStringLiteral("b.kqk"))
        WriteBytes(Path("b.kqk"), Other);
    // The window has stored its editors into the current card.
    store.CardTable[0][0] = QStringLiteral("edited");
    if (c.badCard)
        store.CardTable[0][MemoCell] = QStringLiteral("bad \u00A4#>&% line");
    store.CardFileChanged = !c.unchanged;
    if (c.lowSpace)
        freeSpace = 1;
    answers.assign(c.answers.begin(), c.answers.end());

    SessionStep done;
    switch (c.command) {
    case Command::Save:
        done = Play(session, session.Save());
        break;
    case Command::SaveAs:
        // The dialog gives a full path, or an empty name, or nothing.
        if (!c.chosen)
            done = Play(session, session.SaveAs(std::nullopt));
        else if (c.chosen->isEmpty())
            done = Play(session, session.SaveAs(QString()));
        else
            done = Play(session, session.SaveAs(dir.filePath(*c.chosen)));
        break;
    case Command::Close:
        done = Play(session, session.Close());
        if (done.kind == SessionStep::Kind::RunSave) {
            Play(session, session.Save());  // through the Save menu entry
            done = Play(session, session.CloseAfterSave());
        }
        if (done.result == SessionStep::Result::Closed)
            session.CloseShown();
        break;
    }

    seen.replaceInStrings(dir.path(), QStringLiteral("<dir>"));
    EXPECT_EQ(seen, c.seen);
    EXPECT_EQ(done.kind, SessionStep::Kind::Done);
    EXPECT_EQ(done.result, c.result);
    EXPECT_TRUE(answers.empty()) << "questions left unasked";
    EXPECT_EQ(store.FileOpen, c.open);
    EXPECT_EQ(store.CardFileChanged, c.changed);
    const QString nameAfter = QString::fromUtf8(c.name_after);
    const QString expectedName = nameAfter.isEmpty()                             ? QString()
        : (c.start != Start::OpenFile && nameAfter == QStringLiteral("New.kqk")) ? nameAfter
                                                                                 : Path(c.name_after);
    EXPECT_EQ(store.CardFileName, expectedName);
    if (!c.open) {
        EXPECT_TRUE(store.CardTable.empty());
    }
    if (*c.written) {
        EXPECT_EQ(ReadBytes(Path(c.written)), Edited);
    } else {
        const char* target = c.command == Command::SaveAs && c.chosen == QStringLiteral("b.kqk") ? "b.kqk" : file;
        EXPECT_EQ(ReadBytes(Path(target)), c.target);
    }
}

INSTANTIATE_TEST_SUITE_P(FileCommands, FileCommandTable, ::testing::ValuesIn(Cases),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// A Save after a Save of this run writes over its own file without asking;
// one that another program changed in between asks again.
TEST_F(CardFileSessionTest, SaveRemembersWhatItWrote)
{
    CardFileSession session(store, Facts());
    ASSERT_EQ(Play(session, session.New()).result, SessionStep::Result::Started);
    EXPECT_EQ(Play(session, session.Save()).result, SessionStep::Result::Saved);
    store.CardTable[0][0] = QStringLiteral("edited");
    EXPECT_EQ(Play(session, session.Save()).result, SessionStep::Result::Saved);
    EXPECT_EQ(ReadBytes(Path("New.kqk")), Edited);
    WriteBytes(Path("New.kqk"), Other);
    answers = {SessionAnswer::No};
    EXPECT_EQ(Play(session, session.Save()).result, SessionStep::Result::Cancelled);
    EXPECT_EQ(seen,
        QStringList{QStringLiteral("The card file New.kqk was changed by another program after it was "
                                   "opened. Do you want to replace it? [Yes/No]")});
    EXPECT_EQ(ReadBytes(Path("New.kqk")), Other);
}

// A Close whose Save is not run (its menu entry disabled) counts the save as
// failed; a refused Save from the menu does not keep a later Close from
// closing.
TEST_F(CardFileSessionTest, CloseAfterSaveJudgesTheLastSave)
{
    CardFileSession session(store, Facts());
    ASSERT_EQ(Play(session, session.New()).result, SessionStep::Result::Started);
    store.CardFileChanged = true;
    answers = {SessionAnswer::Yes};
    ASSERT_EQ(Play(session, session.Close()).kind, SessionStep::Kind::RunSave);
    EXPECT_EQ(Play(session, session.CloseAfterSave()).result, SessionStep::Result::Stopped);
    EXPECT_EQ(seen, (QStringList{Changed + QStringLiteral(" [Yes/No/Cancel]"), SaveError}));
    EXPECT_TRUE(store.FileOpen);
    EXPECT_TRUE(store.CardFileChanged);

    seen.clear();
    WriteBytes(Path("New.kqk"), OnDisk);
    QFile::setPermissions(Path("New.kqk"), QFile::ReadOwner);
    EXPECT_EQ(Play(session, session.Save()).result, SessionStep::Result::Refused);
    answers = {SessionAnswer::No};
    EXPECT_EQ(Play(session, session.Close()).result, SessionStep::Result::Closed);
    EXPECT_EQ(seen,
        (QStringList{QStringLiteral("New.kqk on kirjoitussuojattu. Ei voi tallentaa"),
            Changed + QStringLiteral(" [Yes/No/Cancel]")}));
    EXPECT_FALSE(store.FileOpen);
    EXPECT_EQ(store.CardFileName, QString());
}

TEST_F(CardFileSessionTest, NewMakesOneEmptyCardAndIsRefusedWhileAFileIsOpen)
{
    CardFileSession session(store, Facts());
    store.MaxCardCount = 32000;
    ASSERT_EQ(Play(session, session.New()).result, SessionStep::Result::Started);
    EXPECT_TRUE(store.FileOpen);
    EXPECT_EQ(store.CardFileName, QStringLiteral("New.kqk"));
    EXPECT_EQ(store.CardCount, 1);
    EXPECT_EQ(store.CurrentCard, 0);
    EXPECT_EQ(store.CardTable[0][0], QString());
    EXPECT_EQ(store.CardTable[0][CardIdCell], Id);
    EXPECT_FALSE(store.CardFileStamp.exists);

    store.CardTable[0][0] = QStringLiteral("kept");
    EXPECT_EQ(Play(session, session.New()).result, SessionStep::Result::Refused);
    EXPECT_EQ(seen, QStringList{QStringLiteral("The file is already open. Please close it first")});
    EXPECT_EQ(store.CardTable[0][0], QStringLiteral("kept"));
}

TEST_F(CardFileSessionTest, OpenShowsTheLastCardAndRefusesWithItsMessages)
{
    CardFileSession session(store, Facts());
    store.MaxCardCount = 32000;
    EXPECT_TRUE(session.MayOpen());
    EXPECT_EQ(session.MissingFileMessage(Path("none.kqk")),
        QStringLiteral("The file with this name does not exist in this directory"));

    // No byte-order mark: refused, and after the message the tables go.
    WriteBytes(Path("ansi.kqk"), OnDisk.mid(3));
    EXPECT_EQ(session.MissingFileMessage(Path("ansi.kqk")), std::nullopt);
    CardFileSession::ReadOutcome r = session.Read(Path("ansi.kqk"));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message,
        QStringLiteral("You are trying to open ANSI file in UTF-8 mode. Please select instead: File "
                       "--> New and then Edit --> Input external ANSI card file to the current card "
                       "file (old format)"));
    session.OpenFailed();
    EXPECT_TRUE(store.CardTable.empty());
    EXPECT_FALSE(store.FileOpen);

    // A count line that is not a number: the general error report, tables gone.
    WriteBytes(Path("broken.kqk"), QByteArray(OnDisk).replace("\r\n1\r\n", "\r\nx\r\n"));
    EXPECT_THROW(session.Read(Path("broken.kqk")), GeneralError);
    EXPECT_TRUE(store.CardTable.empty());

    // Two cards: the last one is current, the file open and unchanged.
    QByteArray two = OnDisk;
    two.replace("\r\n1\r\n", "\r\n2\r\n");
    two += QByteArray("second\r\n") + QByteArray("\r\n").repeated(16)
        + "\xC2\xA4#<&%\xC2\xA4#<&%KQ==2\r\n\r\n\xC2\xA4#>&%\xC2\xA4#>&%KQ==2\r\nsecond-id\r\n";
    WriteBytes(Path("two.kqk"), two);
    r = session.Read(Path("two.kqk"));
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    session.Opened(Path("two.kqk"));
    store.CardFileChanged = true;  // showing the card marks it
    session.OpenShown();
    EXPECT_EQ(store.CardCount, 2);
    EXPECT_EQ(store.CurrentCard, 1);
    EXPECT_EQ(store.CardTable[1][CardIdCell], QStringLiteral("second-id"));
    EXPECT_EQ(store.CardFileName, Path("two.kqk"));
    EXPECT_TRUE(store.FileOpen);
    EXPECT_FALSE(store.CardFileChanged);
    EXPECT_TRUE(store.CardFileStamp.exists);
    EXPECT_FALSE(session.MayOpen());
}

// A hand-made file whose count line says 0 opens with one empty card, as New
// makes it.
TEST_F(CardFileSessionTest, AFileOfZeroCardsOpensWithOneEmptyCard)
{
    CardFileSession session(store, Facts());
    store.MaxCardCount = 32000;
    WriteBytes(Path("zero.kqk"),
        QByteArray("\xEF\xBB\xBF")
            + CrLfLines({"IF YOU SEE THIS TEXT, YOU ARE IN WRONG PLACE!! THIS IS CARDOMO DATA "
                         "FILE. THIS TEXT FILE IS ONLY FOR THE USE OF CARDOMO SOFTWARE! PLEASE "
                         "ABORT WITHOUT MAKING A N Y CHANGES IN THIS FILE!",
                "KQa0b5c1d0e2f1g0h0i1", "0"}));
    const CardFileSession::ReadOutcome r = session.Read(Path("zero.kqk"));
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    session.Opened(Path("zero.kqk"));
    session.OpenShown();
    EXPECT_EQ(store.CardCount, 1);
    EXPECT_EQ(store.CurrentCard, 0);
    EXPECT_EQ(store.CardTable[0][0], QString());
    EXPECT_EQ(store.CardTable[0][CardIdCell], Id);
}

// The picked cards' save: its own empty-name message, the replace question,
// the name kept for the next dialog, and a failed write as a general error.
TEST_F(CardFileSessionTest, PickedCardsSave)
{
    store.PickedTable.resize(3);
    store.PickedTable[0][0] = QStringLiteral("edited");
    store.PickedTable[0][CardIdCell] = Id;
    store.PickedCount = 1;
    store.CardFileName = QStringLiteral("open.kqk");
    store.CardFileChanged = true;
    PickedCardsSave save(store, Facts());
    const auto play = [&](const std::optional<QString>& chosen) {
        return Play(save.Save(chosen), [&](const SessionStep& asked, SessionAnswer a) {
            return save.Answer(asked, a);
        }).result;
    };

    EXPECT_EQ(save.DialogName(), QString());
    EXPECT_EQ(play(std::nullopt), SessionStep::Result::Cancelled);
    EXPECT_EQ(play(QString()), SessionStep::Result::Refused);
    EXPECT_EQ(seen, QStringList{QStringLiteral("Please give correct name for the file!")});

    seen.clear();
    WriteBytes(Path("picked.kqk"), Other);
    answers = {SessionAnswer::No};
    EXPECT_EQ(play(Path("picked")), SessionStep::Result::Cancelled);
    EXPECT_EQ(seen,
        QStringList{QStringLiteral("The file picked.kqk already exists. Do you want to replace it? "
                                   "[Yes/No/Cancel]")});
    EXPECT_EQ(ReadBytes(Path("picked.kqk")), Other);
    EXPECT_EQ(save.DialogName(), QStringLiteral("picked.kqk"));  // kept after No too

    seen.clear();
    answers = {SessionAnswer::Yes};
    freeSpace = std::nullopt;  // free space unknown: warned
    EXPECT_EQ(play(Path("picked")), SessionStep::Result::SavedLowSpace);
    EXPECT_EQ(seen,
        (QStringList{QStringLiteral("The file picked.kqk already exists. Do you want to replace it? "
                                    "[Yes/No/Cancel]"),
            LowSpace}));
    // The picked cards' header says "ANY" where the main window's says "A N Y".
    EXPECT_EQ(ReadBytes(Path("picked.kqk")), QByteArray(Edited).replace("A N Y CHANGES", "ANY CHANGES"));
    // The open card file is left alone.
    EXPECT_EQ(store.CardFileName, QStringLiteral("open.kqk"));
    EXPECT_TRUE(store.CardFileChanged);

    freeSpace = qint64(1) << 40;
    store.PickedTable[0][MemoCell] = QStringLiteral("bad \u00A4#>&% line");
    EXPECT_THROW(play(Path("other")), GeneralError);
}
