// The recovery copy of unsaved changes: written after typing and while
// changes go on, removed by Save and by Close, offered at the next start,
// written at once on the signals that end a session.
#include "support/mainwindow_fixture.h"

#include "endsignals.h"
#include "filestamp.h"
#include "recovery.h"
#include "recoverykeeper.h"

#include <QDir>
#include <QFileInfo>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

namespace {

void SetModified(const QString& path, const QDateTime& when)
{
    struct utimbuf times { };
    times.actime = static_cast<time_t>(when.toSecsSinceEpoch());
    times.modtime = times.actime;
    ASSERT_EQ(::utime(QFile::encodeName(path).constData(), &times), 0);
}

// The written copy of 7 March 2021, 9:05:02 local time; the card file older.
const QDateTime CopyTime(QDate(2021, 3, 7), QTime(9, 5, 2));

class RecoveryWindowTest : public MainWindowTest {
protected:
    void StartOn(const QStringList& args, int quietMs = 100, int longestMs = 1000)
    {
        Start(args);
        form->Recovery().SetDelays(quietMs, longestMs);
    }
    QString CopyOf(const QString& cardFile) const { return RecoveryCopyPath(RecoveryFolder(), cardFile); }
    void TypeIntoTitle1(const QString& text)
    {
        form->memoTUNNISTE->setFocus();
        form->memoTUNNISTE->moveCursor(QTextCursor::End);
        QTest::keyClicks(form->memoTUNNISTE, text);
    }
    void TypeIntoMemo(const QString& text)
    {
        form->memoMUISTIINPANO->setFocus();
        form->memoMUISTIINPANO->moveCursor(QTextCursor::End);
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                QTest::keyClick(form->memoMUISTIINPANO, Qt::Key_Return);
            QTest::keyClicks(form->memoMUISTIINPANO, lines[i]);
        }
    }
    static bool WaitForFile(const QString& path, int ms = 5000)
    {
        return QTest::qWaitFor([&] { return QFileInfo::exists(path); }, ms);
    }
    static CardRows Cards(const QString& path)
    {
        CardRows rows;
        const CardFileReadOutcome r = ReadCardFile(path, CardEncoding::Utf8, 32000, rows);
        rows.resize(static_cast<size_t>(std::max(0, r.count)));
        return rows;
    }
    QStringList StateFiles() const { return QDir(RecoveryFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
    // A copy of cards.kqk (3 cards) whose third card's Title1 is "Recovered",
    // written at CopyTime; the card file older.
    QString KeptCopy(const QByteArray& bytes = {})
    {
        const QString file = MakeFile(3);
        const QString copy = CopyOf(file);
        if (bytes.isEmpty()) {
            CardRows rows = Cards(file);
            rows[2][0] = QStringLiteral("Recovered");
            EXPECT_EQ(WriteRecoveryCopy(copy, rows, 3).status, RecoveryWriteResult::Ok);
        } else {
            QDir().mkpath(RecoveryFolder());
            WriteBytes(copy, bytes);
        }
        SetModified(copy, CopyTime);
        SetModified(file, CopyTime.addSecs(-60));
        return file;
    }
};

const QString Question =
    QStringLiteral("Unsaved changes to cards.kqk from 7.3.2021 9:05:02 were kept when the program ended. Open them?");

}  // namespace

TEST_F(RecoveryWindowTest, TypingWritesACopyOfTheWholeTableWithTheCardBeingTyped)
{
    const QString file = MakeFile(3);
    const QByteArray before = ReadBytes(file);
    StartOn({file});
    const QString copy = CopyOf(file);
    TypeIntoTitle1(QStringLiteral(" muutettu"));
    ASSERT_TRUE(WaitForFile(copy));
    // The card on screen as typed (not yet stored into the table), the others as read.
    CardRows expected = Cards(file);
    expected[2][0] = QStringLiteral("Card 3 muutettu");
    EXPECT_EQ(Cards(copy), expected);
    struct stat st { };
    ASSERT_EQ(::stat(QFile::encodeName(copy).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(ReadBytes(file), before);  // the card file itself untouched

    // The Memo, and a card command, keep the copy up to date too.
    TypeIntoMemo(QStringLiteral("\nrivi"));
    QTest::keyClick(form, Qt::Key_Home, Qt::ControlModifier);  // to the first card: stores the third
    form->Liskortti1->trigger();  // a new card at the end
    ASSERT_TRUE(QTest::qWaitFor([&] { return Cards(copy).size() == 4; }, 5000));
    EXPECT_EQ(Cards(copy)[2][MemoCell], QStringLiteral("Memo 3\r\nrivi"));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(RecoveryWindowTest, ChangesThatGoOnGetACopyBeforeTheyStop)
{
    // Quiet for 400 ms after the last change, but a copy at least every 800 ms.
    const QString file = MakeFile(2);
    StartOn({file}, 400, 800);
    const QString copy = CopyOf(file);
    bool copiedWhileTyping = false;
    for (int i = 0; i < 30 && !copiedWhileTyping; ++i) {  // a key every 100 ms, for up to 3 s
        TypeIntoMemo(QStringLiteral("x"));
        QTest::qWait(100);
        copiedWhileTyping = QFileInfo::exists(copy);
    }
    EXPECT_TRUE(copiedWhileTyping);
}

TEST_F(RecoveryWindowTest, AFileWithoutChangesGetsNoCopy)
{
    const QString file = MakeFile(3);
    StartOn({file}, 20, 100);
    QTest::keyClick(form, Qt::Key_Home, Qt::ControlModifier);  // moving is no change
    QTest::qWait(400);
    EXPECT_FALSE(store().CardFileChanged);
    EXPECT_EQ(StateFiles(), QStringList());
}

TEST_F(RecoveryWindowTest, ASuccessfulSaveAndACloseWithoutSavingRemoveTheCopy)
{
    const QString file = MakeFile(3);
    StartOn({file});
    const QString copy = CopyOf(file);
    TypeIntoTitle1(QStringLiteral("A"));
    ASSERT_TRUE(WaitForFile(copy));
    const QByteArray copied = ReadBytes(copy);
    QTest::keyClick(form, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(QFileInfo::exists(copy));
    EXPECT_EQ(ReadBytes(file), copied);  // the copy held what Save writes

    TypeIntoTitle1(QStringLiteral("B"));
    ASSERT_TRUE(WaitForFile(copy));
    platform.answers = {MsgAnswer::No};  // close without saving
    form->Sulje1->trigger();
    EXPECT_FALSE(store().FileOpen);
    EXPECT_FALSE(QFileInfo::exists(copy));
    EXPECT_EQ(StateFiles(), QStringList());
    EXPECT_EQ(ReadBytes(file), copied);
}

TEST_F(RecoveryWindowTest, ASaveThatIsRefusedOrCancelledKeepsTheCopy)
{
    const QString file = MakeFile(3);
    StartOn({file});
    const QString copy = CopyOf(file);
    TypeIntoTitle1(QStringLiteral("A"));
    ASSERT_TRUE(WaitForFile(copy));
    QFile::setPermissions(file, QFile::ReadOwner);
    QTest::keyClick(form, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(platform.Texts(), QStringList{file + QStringLiteral(" on kirjoitussuojattu. Ei voi tallentaa")});
    EXPECT_TRUE(QFileInfo::exists(copy));
    platform.answers = {MsgAnswer::Cancel};
    form->Sulje1->trigger();
    EXPECT_TRUE(store().FileOpen);
    EXPECT_TRUE(QFileInfo::exists(copy));
}

TEST_F(RecoveryWindowTest, ANewerCopyIsOfferedAndYesOpensItMarkedChangedUntilSaved)
{
    const QString file = KeptCopy();
    const QString copy = CopyOf(file);
    const QByteArray fileBytes = ReadBytes(file);
    const QByteArray copyBytes = ReadBytes(copy);
    platform.answers = {MsgAnswer::Yes};
    StartOn({file});
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, Question);
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::None);
    EXPECT_EQ(platform.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(Title1(), QStringLiteral("Recovered"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("cards.kqk - CARDOMO 0.5 beta"));
    EXPECT_EQ(form->Label23->text(), QStringLiteral(" / 3"));
    EXPECT_TRUE(store().CardFileChanged);
    EXPECT_EQ(ReadBytes(file), fileBytes);  // untouched until saved
    EXPECT_EQ(ReadBytes(copy), copyBytes);  // and the copy kept until then
    QTest::keyClick(form, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ReadBytes(file), copyBytes);
    EXPECT_FALSE(QFileInfo::exists(copy));
    EXPECT_FALSE(store().CardFileChanged);
    EXPECT_EQ(platform.messages.size(), 1u);  // no question about a file changed on disk
}

TEST_F(RecoveryWindowTest, NoKeepsTheCopyAsideUnderADatedNameAndOpensTheFileAsItIs)
{
    const QString file = KeptCopy();
    const QString copy = CopyOf(file);
    const QByteArray copyBytes = ReadBytes(copy);
    platform.answers = {MsgAnswer::No};
    StartOn({file});
    EXPECT_EQ(platform.Texts(), QStringList{Question});
    EXPECT_EQ(Title1(), QStringLiteral("Card 3"));
    EXPECT_FALSE(store().CardFileChanged);
    QString aside = QFileInfo(copy).fileName();
    aside.chop(4);
    aside += QStringLiteral("-kept-20210307-090502.kqk");
    EXPECT_EQ(StateFiles(), QStringList{aside});
    EXPECT_EQ(ReadBytes(RecoveryFolder() + QLatin1Char('/') + aside), copyBytes);
    // The next start asks nothing.
    platform.Clear();
    StartOn({file});
    EXPECT_EQ(platform.Texts(), QStringList());
}

TEST_F(RecoveryWindowTest, OpenOffersTheCopyToo)
{
    const QString file = KeptCopy();
    StartOn({});
    platform.answers = {MsgAnswer::No, MsgAnswer::Yes};  // close the new card file without saving; then Yes
    form->Sulje1->trigger();
    platform.fileAnswers = {file};
    QTest::keyClick(form, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(platform.Texts().last(), Question);
    EXPECT_EQ(Title1(), QStringLiteral("Recovered"));
    EXPECT_TRUE(store().CardFileChanged);
}

TEST_F(RecoveryWindowTest, ABrokenCopyOrOneOfAnotherVersionIsReportedAndSetAsideNeverOpened)
{
    QByteArray otherVersion = ReadBytes(MakeFile(3, QStringLiteral("model.kqk")));
    otherVersion.replace("f1g0h0i1", "f2g0h0i0");
    const struct {
        QByteArray bytes;
        QString problem;
    } cases[] = {
        {otherVersion, QStringLiteral("it was written by another version of the program, or it is damaged")},
        {QByteArray("\xEF\xBB\xBFhead\r\nKQa0b5c1d0e2f1g0h0i1\r\n1\r\nonly a part"),
            QStringLiteral("it is cut off or damaged in card 1")},
        {QByteArray("not a card file"), QStringLiteral("it is not a card file of this program")},
    };
    for (const auto& c : cases) {
        QDir(RecoveryFolder()).removeRecursively();
        platform.Clear();
        const QString file = KeptCopy(c.bytes);
        const QString copy = CopyOf(file);
        QString aside = copy;
        aside.chop(4);
        aside += QStringLiteral("-kept-20210307-090502.kqk");
        StartOn({file});
        EXPECT_EQ(platform.Texts(),
            QStringList{QStringLiteral("The kept copy of unsaved changes to cards.kqk cannot "
                                       "be opened: ")
                + c.problem + QStringLiteral(". It was set aside as ") + aside + QLatin1Char('.')});
        EXPECT_EQ(platform.messages[0].icon, MsgIcon::Warning);
        EXPECT_EQ(Title1(), QStringLiteral("Card 3"));
        EXPECT_FALSE(store().CardFileChanged);
        EXPECT_FALSE(QFileInfo::exists(copy));
        EXPECT_EQ(ReadBytes(aside), c.bytes);
    }
}

TEST_F(RecoveryWindowTest, ANewCardFileIsCoveredToo)
{
    const QString old = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    StartOn({});
    const QString copy = CopyOf(QStringLiteral("New.kqk"));
    EXPECT_TRUE(copy.contains(QStringLiteral("/New.kqk-")));
    QTest::qWait(300);
    EXPECT_FALSE(QFileInfo::exists(copy));  // one empty card: nothing to lose
    TypeIntoMemo(QStringLiteral("first note"));
    const bool written = WaitForFile(copy);
    // The program ends without a word (a crash); the next start on a new card file offers the copy.
    platform.answers = {MsgAnswer::Yes};
    StartOn({});
    QDir::setCurrent(old);
    ASSERT_TRUE(written);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(platform.messages[0].text.startsWith(QStringLiteral("Unsaved changes to New.kqk from ")));
    EXPECT_EQ(form->memoMUISTIINPANO->Text(), QStringLiteral("first note"));
    EXPECT_TRUE(store().CardFileChanged);
}

TEST_F(RecoveryWindowTest, AnUnwritableStateFolderTurnsRecoveryOffWithOneMessage)
{
    const QString notAFolder = Path(QStringLiteral("state"));
    WriteBytes(notAFolder, "a file");
    qputenv("XDG_STATE_HOME", QFile::encodeName(notAFolder));
    const QString file = MakeFile(3);
    StartOn({file}, 20, 100);
    TypeIntoTitle1(QStringLiteral("A"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !platform.messages.empty(); }, 5000));
    TypeIntoTitle1(QStringLiteral("B"));
    QTest::qWait(300);
    EXPECT_EQ(platform.Texts(),
        QStringList{QStringLiteral("Unsaved changes cannot be kept for recovery: ") + notAFolder
            + QStringLiteral(": Not a directory. Recovery is off until the program ends; save your "
                             "work often.")});
    EXPECT_FALSE(form->Recovery().Enabled());
    // The program goes on: Save works.
    platform.Clear();
    QTest::keyClick(form, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(platform.Texts(), QStringList());
    EXPECT_EQ(Cards(file)[2][0], QStringLiteral("Card 3AB"));
}

TEST_F(RecoveryWindowTest, TheSignalsThatEndASessionWriteTheCopyAtOnceAndEndTheProgram)
{
    EndSignals::Install();
    const struct {
        int signo;
        bool typed;
    } cases[] = {{SIGTERM, true}, {SIGHUP, true}, {SIGINT, true}, {SIGTERM, false}};
    for (const auto& c : cases) {
        QDir(RecoveryFolder()).removeRecursively();
        const QString file = MakeFile(3);
        StartOn({file}, 60000, 60000);  // the timer would be far too late
        int ended = -1;
        form->Recovery().SetEndProgram([&](int code) { ended = code; });
        if (c.typed)
            TypeIntoTitle1(QStringLiteral(" lopussa"));
        ASSERT_EQ(::kill(::getpid(), c.signo), 0);
        EXPECT_TRUE(QTest::qWaitFor([&] { return ended != -1; }, 5000)) << c.signo;
        EXPECT_EQ(ended, 128 + c.signo);
        if (c.typed) {
            const CardRows copy = Cards(CopyOf(file));
            ASSERT_EQ(copy.size(), 3u) << c.signo;
            EXPECT_EQ(copy[2][0], QStringLiteral("Card 3 lopussa"));
        } else {
            EXPECT_EQ(StateFiles(), QStringList());  // no unsaved changes: nothing written
        }
    }
    EndSignals::Restore();
}
