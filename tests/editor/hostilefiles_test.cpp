// Paths that are not card files, named the ways a user names a file: on the
// command line, in File > Open and in both imports. Each is refused at once
// with the message that names the file and leaves the program where it was;
// a file whose fields hold bytes that are not UTF-8 is shown, then reported.
#include "support/mainwindow_fixture.h"

#include <QScopeGuard>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString NotUtf8Notice1 = QStringLiteral(
    "The file holds bytes that are not valid UTF-8 in 2 fields, shown as \uFFFD. The first is in card 2, field 8 "
    "Topic. Save will write each of them as U+FFFD, and their original bytes will be lost.");

class HostileFilesTest : public MainWindowTest {
protected:
    QString NotRegular(const QString& path, const char* kind) const
    {
        return QStringLiteral("Cannot open file \"") + path + QStringLiteral("\". It is ") + QString::fromUtf8(kind)
            + QStringLiteral(", not a regular file: only a card file can be read.");
    }
    // Two cards; the second holds a Latin-1 byte in its topic and a stray
    // continuation byte in its Memo.
    QString MakeLatin1File()
    {
        auto card = [](int k, const QByteArray& title, const QByteArray& topic, const QByteArray& memo) {
            return title + "\r\n" + QByteArray("\r\n").repeated(6) + topic + "\r\n" + QByteArray("\r\n").repeated(9)
                + "\xC2\xA4#<&%\xC2\xA4#<&%KQ==" + QByteArray::number(k) + "\r\n" + memo
                + "\r\n\xC2\xA4#>&%\xC2\xA4#>&%KQ==" + QByteArray::number(k) + "\r\nid" + QByteArray::number(k)
                + "\r\n";
        };
        WriteBytes(Path(QStringLiteral("latin1.kqk")),
            "\xEF\xBB\xBFh\r\nKQa0b5c1d0e2f1g0h0i1\r\n2\r\n" + card(1, "Plain", "", "memo")
                + card(2, "Accents", "caf\xE9", "a\x80z"));
        return Path(QStringLiteral("latin1.kqk"));
    }
};

}  // namespace

TEST_F(HostileFilesTest, EveryWayOfNamingAFileRefusesWhatIsNoRegularFile)
{
    const QString pipe = Path(QStringLiteral("pipe.kqk"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    const QString folder = Path(QStringLiteral("folder.kqk"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QByteArray rawName = QFile::encodeName(dir.path()) + "/caf\xE9.kqk";
    const int fd = ::open(rawName.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
    const auto cleanup = qScopeGuard([&] { ::unlink(rawName.constData()); });
    const QString nonUtf8 = QFile::decodeName(rawName);
    const QString nameText = QStringLiteral("Cannot open file \"") + nonUtf8
        + QStringLiteral("\". Its name is not valid UTF-8, which this program cannot keep. Please rename the file "
                         "(with a name in UTF-8) and try again.");
    struct Row {
        const char* what;
        QString path;
        QString message;
    };
    const Row rows[] = {
        {"named pipe", pipe, NotRegular(pipe, "a named pipe")},
        {"character device", QStringLiteral("/dev/zero"),
            NotRegular(QStringLiteral("/dev/zero"), "a character device")},
        {"folder", folder, NotRegular(folder, "a folder")},
        {"name not UTF-8", nonUtf8, nameText},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        // The command line.
        platform.Clear();
        Start({row.path});
        EXPECT_EQ(platform.Texts(), QStringList{row.message});
        EXPECT_FALSE(store().FileOpen);
        EXPECT_EQ(form->windowTitle(), QStringLiteral("CARDOMO 0.5  beta - Note Card Software"));
        EXPECT_TRUE(form->Avaa1->isEnabled());

        // File > Open, from there.
        platform.Clear();
        platform.fileAnswers = {row.path};
        form->Avaa1->trigger();
        EXPECT_EQ(platform.Texts(), QStringList{row.message});
        EXPECT_FALSE(form12->isVisible());
        EXPECT_FALSE(store().FileOpen);
        EXPECT_TRUE(form->Avaa1->isEnabled());

        // Both imports into an open card file, which stays as it was.
        const QString cards = MakeFile(2);
        form->Avaa1->trigger();  // (no answer left: cancelled)
        platform.fileAnswers = {cards};
        form->Avaa1->trigger();
        ASSERT_TRUE(store().FileOpen);
        for (QAction* entry : {form->Tuokortisto, form->InputexternalANSIcardfiletothecurrentcardfile1}) {
            platform.Clear();
            platform.fileAnswers = {row.path};
            entry->trigger();
            EXPECT_EQ(platform.Texts(), QStringList{row.message});
            EXPECT_EQ(store().CardCount, 2);
            EXPECT_EQ(Title1(), QStringLiteral("Card 2"));
            EXPECT_FALSE(store().CardFileChanged);
        }
    }
}

TEST_F(HostileFilesTest, BytesThatAreNotUtf8AreReportedOnceAfterTheFileIsShown)
{
    const QString path = MakeLatin1File();
    // Checked when the message comes: the file is already open and shown.
    QStringList shownAtMessage;
    auto shown = [&] {  // (the fixture's form is set only once the start is over)
        return store().FileOpen ? program->windows().form1->memoTUNNISTE->Text() : QStringLiteral("<not open>");
    };
    platform.onMessage = [&](const ScriptedPlatform::Shown&) { shownAtMessage << shown(); };
    Start({path});
    EXPECT_EQ(platform.Texts(), QStringList{NotUtf8Notice1});
    EXPECT_EQ(shownAtMessage, QStringList{QStringLiteral("Accents")});
    EXPECT_FALSE(store().CardFileChanged);

    // File > Open tells it after the wait window has gone.
    store().FileOpen = false;
    Start({Path(QStringLiteral("missing.kqk"))});
    platform.Clear();
    shownAtMessage.clear();
    bool waitShown = true;
    platform.onMessage = [&](const ScriptedPlatform::Shown&) {
        shownAtMessage << shown();
        waitShown = form12->isVisible();
    };
    platform.fileAnswers = {path};
    form->Avaa1->trigger();
    EXPECT_EQ(platform.Texts(), QStringList{NotUtf8Notice1});
    EXPECT_EQ(shownAtMessage, QStringList{QStringLiteral("Accents")});
    EXPECT_FALSE(waitShown);

    // The import tells it with the card numbers the cards now have.
    platform.Clear();
    shownAtMessage.clear();
    platform.fileAnswers = {path};
    form->Tuokortisto->trigger();
    EXPECT_EQ(platform.Texts(),
        QStringList{QString(NotUtf8Notice1).replace(QStringLiteral("card 2,"), QStringLiteral("card 4,"))});
    EXPECT_EQ(store().CardCount, 4);
    EXPECT_EQ(shownAtMessage, QStringList{QStringLiteral("Accents")});

    // A file without such bytes says nothing; and the saved file has none.
    form->Tallenna1->trigger();
    EXPECT_EQ(platform.Texts().size(), 1);
    platform.Clear();
    platform.onMessage = nullptr;
    store().FileOpen = false;
    Start({path});
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(store().CardCount, 4);
    EXPECT_EQ(store().CardTable[3][MemoCell], QStringLiteral("a\uFFFDz"));
}
