// Recovery copies of unsaved changes: where they live, what they hold, how
// one is found, read, set aside and removed.
#include "cardfile.h"
#include "recovery.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

namespace {

// Sets the modification time of path, in whole seconds since the epoch.
void SetModified(const QString& path, qint64 seconds)
{
    struct utimbuf times { };
    times.actime = static_cast<time_t>(seconds);
    times.modtime = static_cast<time_t>(seconds);
    ASSERT_EQ(::utime(QFile::encodeName(path).constData(), &times), 0);
}

mode_t ModeOf(const QString& path)
{
    struct stat st { };
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

// One card with Title1 "Kortti", a two-line Memo and its Card ID, as a card
// file: every line literal.
const QByteArray OneCardFile = QByteArray("\xEF\xBB\xBF")
    + CrLfLines({"IF YOU SEE THIS TEXT, YOU ARE IN WRONG PLACE!! THIS IS CARDOMO DATA FILE. THIS TEXT FILE IS ONLY "
                 "FOR THE USE OF CARDOMO SOFTWARE! PLEASE ABORT WITHOUT MAKING A N Y CHANGES IN THIS FILE!",
        "KQa0b5c1d0e2f1g0h0i1", "1", "Kortti", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
        "\xC2\xA4#<&%\xC2\xA4#<&%KQ==1", "first line", "toinen rivi \xC3\xA4", "\xC2\xA4#>&%\xC2\xA4#>&%KQ==1",
        "y2021m03d07h09mn05s02ms045"});

CardRows OneCardRows()
{
    CardRows rows(3);  // rows after the count are not written
    rows[0][0] = QStringLiteral("Kortti");
    rows[0][MemoCell] = QStringLiteral("first line\r\ntoinen rivi \u00e4");
    rows[0][CardIdCell] = QStringLiteral("y2021m03d07h09mn05s02ms045");
    rows[1][0] = QStringLiteral("not written");
    return rows;
}

class RecoveryTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (saved_)
            qputenv("XDG_STATE_HOME", *saved_);
        else
            qunsetenv("XDG_STATE_HOME");
    }
    void SetState(const char* value)
    {
        if (!saved_ && qEnvironmentVariableIsSet("XDG_STATE_HOME"))
            saved_ = qgetenv("XDG_STATE_HOME");
        if (value)
            qputenv("XDG_STATE_HOME", value);
        else
            qunsetenv("XDG_STATE_HOME");
    }
    QString Path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    std::optional<QByteArray> saved_;
};

}  // namespace

TEST_F(RecoveryTest, TheFolderComesFromXdgStateHomeOrFallsBackToTheHomeFolder)
{
    const QString fallback = QDir::homePath() + QStringLiteral("/.local/state/cardomo");
    const struct {
        const char* state;  // nullptr: unset
        QString folder;
    } cases[] = {
        {"/home/a/state", QStringLiteral("/home/a/state/cardomo")},
        {"/home/a/state/", QStringLiteral("/home/a/state/cardomo")}, {nullptr, fallback}, {"", fallback},
        {"relative/state", fallback},  // not absolute: ignored, as the base directory rules say
    };
    for (const auto& c : cases) {
        SetState(c.state);
        EXPECT_EQ(RecoveryFolder(), c.folder) << (c.state ? c.state : "(unset)");
    }
}

TEST_F(RecoveryTest, TheCopysNameComesFromTheCardFilesFullPath)
{
    // The first 16 hex digits of the SHA-256 of "/home/a/Books.kqk".
    EXPECT_EQ(RecoveryCopyPath(QStringLiteral("/s"), QStringLiteral("/home/a/Books.kqk")),
        QStringLiteral("/s/Books.kqk-a67e8153115d5e24.kqk"));
    EXPECT_EQ(RecoveryCopyPath(QStringLiteral("/s"), QStringLiteral("/home/a/../a/./Books.kqk")),
        QStringLiteral("/s/Books.kqk-a67e8153115d5e24.kqk"));
    // The same name in another folder is another card file.
    EXPECT_NE(RecoveryCopyPath(QStringLiteral("/s"), QStringLiteral("/home/b/Books.kqk")),
        QStringLiteral("/s/Books.kqk-a67e8153115d5e24.kqk"));
    // A bare name (New.kqk of a new card file) counts from the current folder.
    const QString old = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const QString bare = RecoveryCopyPath(QStringLiteral("/s"), QStringLiteral("New.kqk"));
    QDir::setCurrent(old);
    EXPECT_EQ(bare, RecoveryCopyPath(QStringLiteral("/s"), dir.filePath(QStringLiteral("New.kqk"))));
    EXPECT_TRUE(bare.startsWith(QLatin1String("/s/New.kqk-"))) << bare.toStdString();
    // A long name is cut short (whole characters), so that the name with a
    // set-aside date stays within the 255 bytes of a file name.
    const QString longName = QString(200, QChar(0x00e4)) + QStringLiteral(".kqk");
    const QString copy = QFileInfo(RecoveryCopyPath(QStringLiteral("/s"), QStringLiteral("/h/") + longName)).fileName();
    EXPECT_EQ(copy.left(75), QString(75, QChar(0x00e4)));
    EXPECT_EQ(copy.mid(75, 1), QStringLiteral("-"));
    EXPECT_LE(copy.toUtf8().size() + 24, 255);
}

TEST_F(RecoveryTest, TheCopyIsACardFileReadableByItsOwnerAlone)
{
    const QString copy = Path(QStringLiteral("state/cardomo/Books.kqk-a67e8153115d5e24.kqk"));
    const RecoveryWriteResult r = WriteRecoveryCopy(copy, OneCardRows(), 1);
    ASSERT_EQ(r.status, RecoveryWriteResult::Ok) << r.errorText.toStdString();
    EXPECT_EQ(ReadBytes(copy), OneCardFile);
    EXPECT_EQ(ModeOf(copy), 0600u);
    EXPECT_EQ(ModeOf(Path(QStringLiteral("state/cardomo"))), 0700u);
    // Written again over a copy that someone made readable: 0600 again.
    ASSERT_EQ(::chmod(QFile::encodeName(copy).constData(), 0644), 0);
    ASSERT_EQ(WriteRecoveryCopy(copy, OneCardRows(), 1).status, RecoveryWriteResult::Ok);
    EXPECT_EQ(ModeOf(copy), 0600u);
    EXPECT_EQ(QDir(Path(QStringLiteral("state/cardomo"))).entryList(QDir::Files | QDir::Hidden),
        QStringList{QStringLiteral("Books.kqk-a67e8153115d5e24.kqk")});
}

TEST_F(RecoveryTest, AFolderThatCannotBeMadeFailsWithTheReason)
{
    WriteBytes(Path(QStringLiteral("state")), "a file, not a folder");
    const RecoveryWriteResult r = WriteRecoveryCopy(Path(QStringLiteral("state/cardomo/x.kqk")), OneCardRows(), 1);
    EXPECT_EQ(r.status, RecoveryWriteResult::Failed);
    EXPECT_EQ(r.errorText, Path(QStringLiteral("state")) + QStringLiteral(": Not a directory"));
}

TEST_F(RecoveryTest, ACardThatWouldNotReadBackIsRefusedAndNothingIsWritten)
{
    CardRows rows = OneCardRows();
    rows[0][0] = QStringLiteral("two\r\nlines");
    const QString copy = Path(QStringLiteral("c.kqk"));
    const RecoveryWriteResult r = WriteRecoveryCopy(copy, rows, 1);
    EXPECT_EQ(r.status, RecoveryWriteResult::Refused);
    EXPECT_FALSE(r.errorText.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(copy));
}

TEST_F(RecoveryTest, ACopyIsNewerWhenWrittenAfterTheCardFileOrWhenThereIsNoCardFile)
{
    const QString copy = Path(QStringLiteral("copy.kqk"));
    const QString file = Path(QStringLiteral("Books.kqk"));
    EXPECT_EQ(FindRecoveryCopy(copy, file).kind, RecoveryCopyFound::None);
    WriteBytes(copy, OneCardFile);
    SetModified(copy, 1600000000);
    const RecoveryCopyFound noFile = FindRecoveryCopy(copy, file);
    EXPECT_EQ(noFile.kind, RecoveryCopyFound::Newer);
    EXPECT_EQ(noFile.written.toSecsSinceEpoch(), 1600000000);
    WriteBytes(file, OneCardFile);
    const struct {
        qint64 file;
        RecoveryCopyFound::Kind kind;
    } cases[] = {
        {1599999999, RecoveryCopyFound::Newer},
        {1600000000, RecoveryCopyFound::Older},  // the same second: the file was saved last
        {1600000001, RecoveryCopyFound::Older},
    };
    for (const auto& c : cases) {
        SetModified(file, c.file);
        EXPECT_EQ(FindRecoveryCopy(copy, file).kind, c.kind) << c.file;
    }
}

TEST_F(RecoveryTest, ACopyReadsBackOrSaysWhatIsWrongWithIt)
{
    const QString copy = Path(QStringLiteral("copy.kqk"));
    WriteBytes(copy, OneCardFile);
    RecoveryRead read = ReadRecoveryCopy(copy, 32000);
    ASSERT_TRUE(read.ok) << read.problem.toStdString();
    EXPECT_EQ(read.count, 1);
    EXPECT_EQ(read.rows[0], OneCardRows()[0]);

    QByteArray otherVersion = OneCardFile;
    otherVersion.replace("KQa0b5c1d0e2f1g0h0i1", "KQa0b6c0d0e0f2g0h0i0");
    QByteArray cutOff = OneCardFile;
    cutOff.truncate(cutOff.indexOf("toinen"));
    QByteArray noCards = OneCardFile;
    noCards.truncate(noCards.indexOf("\r\n1\r\n") + 2);
    noCards += "0\r\n";
    QByteArray countNoNumber = OneCardFile;
    countNoNumber.replace("\r\n1\r\n", "\r\nyksi\r\n");
    const struct {
        QByteArray bytes;
        const char* problem;
    } cases[] = {
        {otherVersion, "it was written by another version of the program, or it is damaged"},
        {OneCardFile.mid(3), "it is not a card file of this program"},
        {QByteArray(), "it is not a card file of this program"},
        {cutOff, "it is cut off or damaged in card 1"},
        {noCards, "it holds no card"},
    };
    for (const auto& c : cases) {
        WriteBytes(copy, c.bytes);
        read = ReadRecoveryCopy(copy, 32000);
        EXPECT_FALSE(read.ok);
        EXPECT_EQ(read.problem, QString::fromUtf8(c.problem));
        EXPECT_TRUE(read.rows.empty());
    }
    WriteBytes(copy, OneCardFile);
    read = ReadRecoveryCopy(copy, 0);
    EXPECT_EQ(read.problem, QStringLiteral("it holds 1 cards, more than 0"));
    WriteBytes(copy, countNoNumber);
    read = ReadRecoveryCopy(copy, 32000);
    EXPECT_FALSE(read.ok);
    EXPECT_FALSE(read.problem.isEmpty());
    read = ReadRecoveryCopy(Path(QStringLiteral("missing.kqk")), 32000);
    EXPECT_FALSE(read.ok);
    EXPECT_FALSE(read.problem.isEmpty());
}

TEST_F(RecoveryTest, ACopySetAsideGetsADatedNameAndKeepsItsBytes)
{
    const QString copy = Path(QStringLiteral("Books.kqk-a67e8153115d5e24.kqk"));
    const QDateTime written(QDate(2026, 12, 11), QTime(6, 15, 2));
    const QString expected[] = {
        Path(QStringLiteral("Books.kqk-a67e8153115d5e24-kept-20261211-061502.kqk")),
        Path(QStringLiteral("Books.kqk-a67e8153115d5e24-kept-20261211-061502-2.kqk")),
        Path(QStringLiteral("Books.kqk-a67e8153115d5e24-kept-20261211-061502-3.kqk")),
    };
    for (int i = 0; i < 3; ++i) {
        const QByteArray bytes = OneCardFile + QByteArray::number(i);
        WriteBytes(copy, bytes);
        EXPECT_EQ(SetRecoveryCopyAside(copy, written), expected[i]);
        EXPECT_FALSE(QFileInfo::exists(copy));
        EXPECT_EQ(ReadBytes(expected[i]), bytes);
    }
    EXPECT_EQ(SetRecoveryCopyAside(Path(QStringLiteral("missing.kqk")), written), QString());
}

TEST_F(RecoveryTest, RemovingACopyLeavesNoFile)
{
    const QString copy = Path(QStringLiteral("copy.kqk"));
    WriteBytes(copy, OneCardFile);
    EXPECT_TRUE(RemoveRecoveryCopy(copy));
    EXPECT_FALSE(QFileInfo::exists(copy));
    EXPECT_TRUE(RemoveRecoveryCopy(copy));  // nothing there: nothing left
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}
