// Files that are not card files, against the real reader: each row is one
// path, and every reader a user can reach is tried on it (the encoding test,
// the reader in both encodings, both imports). Whatever the path is, the
// answer is a message naming the file or the cards read, the open card file
// is left alone, and the file on disk is left unchanged.
#include "cardfile.h"
#include "cardrows.h"
#include "cardstore.h"
#include "fileinspect.h"
#include "generalerror.h"
#include "importing.h"
#include "support/testfiles.h"

#include <QDir>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

const QByteArray Head("\xEF\xBB\xBFh\r\nKQa0b5c1d0e2f1g0h0i1\r\n");
const QByteArray OneCard = "1\r\nTitle\r\n" + QByteArray("\r\n").repeated(16)
    + "\xC2\xA4#<&%\xC2\xA4#<&%KQ==1\r\nmemo\r\n\xC2\xA4#>&%\xC2\xA4#>&%KQ==1\r\nid1\r\n";
constexpr qint64 MiB = 1 << 20;

QString Thrown(const std::function<QString()>& f)
{
    try {
        return f();
    } catch (const GeneralError& e) {
        return QStringLiteral("throws: ") + e.text();
    }
}

QString BomAnswer(const QString& path)
{
    return Thrown([&] { return HasUtf8Bom(path) ? QStringLiteral("BOM") : QStringLiteral("no BOM"); });
}

QString Read(const QString& path, CardEncoding encoding)
{
    return Thrown([&] {
        CardRows rows;
        const CardFileReadOutcome r = ReadCardFile(path, encoding, 32000, rows);
        switch (r.result) {
        case CardFileReadResult::Ok: {
            QString s = QStringLiteral("Ok ") + QString::number(r.count);
            for (const TextPlace& p : r.notUtf8)
                s += QStringLiteral(", not UTF-8: ") + TextPlaceText(p);
            return s;
        }
        case CardFileReadResult::NotCardFile:
            return QStringLiteral("NotCardFile");
        case CardFileReadResult::TooManyCards:
            return QStringLiteral("TooManyCards");
        case CardFileReadResult::MemoTooLong:
            return QStringLiteral("MemoTooLong");
        }
        return QString();
    });
}

// An import into an open card file of two cards; a refusal must leave it
// exactly as it was.
QString Import(const QString& path, CardEncoding encoding)
{
    CardStore store = OpenStore({TitledCard("one", "id-a"), TitledCard("two", "id-b")});
    const QString answer = Thrown([&] {
        const ImportOutcome out = AppendCardFile(store, path, encoding);
        return out.imported() ? QStringLiteral("imported ") + QString::number(out.cardsAdded) : out.message;
    });
    if (!answer.startsWith(QLatin1String("imported"))) {
        EXPECT_EQ(store.CardCount, 2);
        EXPECT_EQ(store.CurrentCard, 1);
        EXPECT_FALSE(store.CardFileChanged);
        EXPECT_EQ(store.CardTable[1][0], QStringLiteral("two"));
    }
    return answer;
}

// What a file is on disk, to tell that nothing changed it.
QString Identity(const QString& path)
{
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return QStringLiteral("none");
    return QStringLiteral("%1 %2 %3 %4.%5")
        .arg(st.st_mode)
        .arg(st.st_ino)
        .arg(st.st_size)
        .arg(st.st_mtim.tv_sec)
        .arg(st.st_mtim.tv_nsec);
}

// A file of head, then `hole` bytes of zeros that take no disk, then tail.
void WriteSparse(const QString& path, const QByteArray& head, qint64 hole, const QByteArray& tail)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(head);
    if (tail.isEmpty()) {
        ASSERT_TRUE(f.resize(head.size() + hole));
        return;
    }
    ASSERT_TRUE(f.seek(head.size() + hole));
    f.write(tail);
}

QString CannotOpen(const QString& path, const char* rest)
{
    return QStringLiteral("throws: Cannot open file \"") + path + QStringLiteral("\". ") + QString::fromUtf8(rest);
}

const QString NoSuchFileMessage = QStringLiteral("The file with this name does not exist in this directory");
const QString AnsiRefusedMessage = QStringLiteral("This an UTF-8 file, not an ANSI file.");
const QString Utf8RefusedMessage = QStringLiteral(
    "You are trying to input ANSI file in UTF-8 mode. Please select instead: Edit --> Input external ANSI card "
    "file to the current card file (old format)");
const QString NotCardFileMessage = QStringLiteral(
    "The file you are trying to open might not be saved with the current version or the file is corrupted. "
    "Please update the software");

}  // namespace

TEST(HostileFiles, EveryReaderAnswersEveryKindOfPathAndChangesNothing)
{
    QTemporaryDir dir;
    auto path = [&](const char* name) { return dir.filePath(QString::fromUtf8(name)); };
    const QByteArray folder = QFile::encodeName(dir.path());

    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe.kqk")).constData(), 0644), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.kqk")));
    ASSERT_EQ(::symlink("nowhere.kqk", QFile::encodeName(path("dangling.kqk")).constData()), 0);
    ASSERT_EQ(::symlink("loop-b.kqk", QFile::encodeName(path("loop-a.kqk")).constData()), 0);
    ASSERT_EQ(::symlink("loop-a.kqk", QFile::encodeName(path("loop-b.kqk")).constData()), 0);
    WriteBytes(path("card.kqk"), Head + OneCard);
    ASSERT_EQ(::symlink("card.kqk", QFile::encodeName(path("link.kqk")).constData()), 0);
    WriteBytes(path("secret.kqk"), Head + OneCard);
    ASSERT_EQ(::chmod(QFile::encodeName(path("secret.kqk")).constData(), 0), 0);
    const bool superuser = ::geteuid() == 0;
    // A socket: listening on a name in the folder.
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray socketName = QFile::encodeName(path("socket.kqk"));
    ASSERT_LT(static_cast<size_t>(socketName.size()), sizeof address.sun_path);
    std::memcpy(address.sun_path, socketName.constData(), static_cast<size_t>(socketName.size()));
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    // 2 GiB of zeros without a line break, and files with a line of 300 MiB
    // or 32 MiB (over a hundred times the reader's piece of 256 KiB).
    WriteSparse(path("zeros.kqk"), QByteArray(), 2048 * MiB, QByteArray());
    WriteSparse(path("long-tag.kqk"), "\xEF\xBB\xBFh\r\n", 300 * MiB, "\r\n1\r\n");
    WriteSparse(path("long-header.kqk"), "\xEF\xBB\xBF", 32 * MiB, "\r\nKQa0b5c1d0e2f1g0h0i1\r\n" + OneCard);
    WriteSparse(path("ansi-long-header.kqk"), "", 32 * MiB, "\r\nKQa0b5c1d0e2f1g0h0i1\r\n" + OneCard);
    WriteSparse(path("tag-at-the-end.kqk"), "\xEF\xBB\xBFh\r\n", 32 * MiB, "KQf1g0h0i1\r\n" + OneCard);
    WriteSparse(path("long-count.kqk"), Head + "1", 32 * MiB, "\r\n");
    // NUL bytes and bytes that are not UTF-8 in the fields.
    WriteBytes(path("nul.kqk"),
        Head + "1\r\n" + QByteArray("A\0B", 3) + QByteArray("\r\n").repeated(17) + "\xC2\xA4#<&%\xC2\xA4#<&%KQ==1\r\n"
            + QByteArray("\0", 1) + "\r\n\xC2\xA4#>&%\xC2\xA4#>&%KQ==1\r\nid\r\n");
    WriteBytes(path("latin1.kqk"),
        Head + "1\r\ncaf\xE9" + QByteArray("\r\n").repeated(17)
            + "\xC2\xA4#<&%\xC2\xA4#<&%KQ==1\r\nok\r\n\xC2\xA4#>&%\xC2\xA4#>&%KQ==1\r\nid\r\n");
    // A name that is not UTF-8: the path as Qt decodes it.
    const QByteArray rawName = folder + "/caf\xE9.kqk";
    {
        const int fd = ::open(rawName.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        ASSERT_GE(fd, 0);
        const QByteArray bytes = Head + OneCard;
        ASSERT_EQ(::write(fd, bytes.constData(), static_cast<size_t>(bytes.size())), bytes.size());
        ::close(fd);
    }
    const QString nonUtf8Name = QFile::decodeName(rawName);
    // The temporary folder cannot remove a name it cannot spell.
    const auto cleanup = qScopeGuard([&] { ::unlink(rawName.constData()); });

    struct Row {
        const char* what;
        QString path;
        QString bom, utf8, ansi, importUtf8, importAnsi;
        bool skipAsSuperuser = false;
    };
    auto notRegular = [&](const char* name, const char* kind) { return CannotOpen(path(name), kind); };
    const QString pipeText =
        notRegular("pipe.kqk", "It is a named pipe, not a regular file: only a card file can be read.");
    const QString zeroText = CannotOpen(
        QStringLiteral("/dev/zero"), "It is a character device, not a regular file: only a card file can be read.");
    const QString folderText =
        notRegular("folder.kqk", "It is a folder, not a regular file: only a card file can be read.");
    const QString socketText =
        notRegular("socket.kqk", "It is a socket, not a regular file: only a card file can be read.");
    const QString loopText = CannotOpen(path("loop-a.kqk"), "Too many levels of symbolic links");
    const QString danglingText = CannotOpen(path("dangling.kqk"), "No such file or directory");
    const QString secretText = CannotOpen(path("secret.kqk"), "Permission denied");
    const QString nameText = CannotOpen(nonUtf8Name,
        "Its name is not valid UTF-8, which this program cannot keep. Please rename "
        "the file (with a name in UTF-8) and try again.");
    auto drop = [](const QString& thrown) { return thrown.mid(8); };  // the text without "throws: "
    const Row rows[] = {
        {"named pipe", path("pipe.kqk"), pipeText, pipeText, pipeText, pipeText, pipeText},
        {"character device", QStringLiteral("/dev/zero"), zeroText, zeroText, zeroText, zeroText, zeroText},
        {"folder", path("folder.kqk"), folderText, folderText, folderText, folderText, folderText},
        {"socket", path("socket.kqk"), socketText, socketText, socketText, socketText, socketText},
        {"dangling link", path("dangling.kqk"), danglingText, danglingText, danglingText, NoSuchFileMessage,
            NoSuchFileMessage},
        {"link loop", path("loop-a.kqk"), loopText, loopText, loopText, NoSuchFileMessage, NoSuchFileMessage},
        {"no read permission", path("secret.kqk"), secretText, secretText, secretText, secretText, secretText, true},
        {"name not UTF-8", nonUtf8Name, nameText, nameText, nameText, drop(nameText), drop(nameText)},
        {"link to a card file", path("link.kqk"), "BOM", "Ok 1", "Ok 1", "imported 1", AnsiRefusedMessage},
        // Read once, by the old-format import (the readers share the line
        // reading; the end-to-end suite holds the time and memory it takes).
        {"2 GiB of zeros", path("zeros.kqk"), "no BOM", "-", "-", Utf8RefusedMessage, NotCardFileMessage},
        {"300 MiB tag line", path("long-tag.kqk"), "BOM", "NotCardFile", "NotCardFile", NotCardFileMessage,
            AnsiRefusedMessage},
        {"32 MiB header line", path("long-header.kqk"), "BOM", "Ok 1", "Ok 1", "imported 1", AnsiRefusedMessage},
        {"32 MiB header line, old format", path("ansi-long-header.kqk"), "no BOM", "Ok 1", "Ok 1", Utf8RefusedMessage,
            "imported 1"},
        {"tag at the end of 32 MiB", path("tag-at-the-end.kqk"), "BOM", "Ok 1", "Ok 1", "imported 1",
            AnsiRefusedMessage},
        {"32 MiB count line", path("long-count.kqk"), "BOM",
            QStringLiteral("throws: '1") + QString(1023, QChar(0))
                + QStringLiteral("\u2026' is not a valid integer value"),
            QStringLiteral("throws: '1") + QString(1023, QChar(0))
                + QStringLiteral("\u2026' is not a valid integer value"),
            QStringLiteral("throws: '1") + QString(1023, QChar(0))
                + QStringLiteral("\u2026' is not a valid integer value"),
            AnsiRefusedMessage},
        {"NUL bytes", path("nul.kqk"), "BOM", "Ok 1", "Ok 1", "imported 1", AnsiRefusedMessage},
        {"bytes not UTF-8", path("latin1.kqk"), "BOM", "Ok 1, not UTF-8: card 1, field 1 Title1", "Ok 1", "imported 1",
            AnsiRefusedMessage},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.skipAsSuperuser && superuser)
            continue;  // the superuser may read it all the same
        const QString before = Identity(row.path);
        EXPECT_EQ(BomAnswer(row.path), row.bom);
        if (row.utf8 != u"-") {
            EXPECT_EQ(Read(row.path, CardEncoding::Utf8), row.utf8);
        }
        if (row.ansi != u"-") {
            EXPECT_EQ(Read(row.path, CardEncoding::Ansi), row.ansi);
        }
        EXPECT_EQ(Import(row.path, CardEncoding::Utf8), row.importUtf8);
        EXPECT_EQ(Import(row.path, CardEncoding::Ansi), row.importAnsi);
        EXPECT_EQ(Identity(row.path), before);
    }
    ::close(sock);
}

TEST(HostileFiles, InspectPathTellsTheKindWithoutOpening)
{
    QTemporaryDir dir;
    const QByteArray pipe = QFile::encodeName(dir.filePath(QStringLiteral("p")));
    ASSERT_EQ(::mkfifo(pipe.constData(), 0644), 0);
    WriteBytes(dir.filePath(QStringLiteral("f")), "x");
    EXPECT_EQ(InspectPath(dir.filePath(QStringLiteral("p"))).kind, PathKind::NamedPipe);
    EXPECT_EQ(InspectPath(dir.filePath(QStringLiteral("f"))).kind, PathKind::Regular);
    EXPECT_TRUE(InspectPath(dir.filePath(QStringLiteral("f"))).message.isEmpty());
    EXPECT_EQ(InspectPath(dir.filePath(QStringLiteral("none"))).kind, PathKind::Missing);
    EXPECT_TRUE(InspectPath(dir.filePath(QStringLiteral("none"))).message.isEmpty());
    EXPECT_EQ(InspectPath(dir.path()).kind, PathKind::Folder);
    EXPECT_EQ(InspectPath(QStringLiteral("/dev/null")).kind, PathKind::CharacterDevice);
    // A name that is valid UTF-8 and holds U+FFFD is an ordinary name: no
    // file of a name that is not UTF-8 stands behind it here.
    EXPECT_EQ(InspectPath(dir.filePath(QStringLiteral("caf\uFFFD.kqk"))).kind, PathKind::Missing);
    WriteBytes(dir.filePath(QStringLiteral("caf\uFFFD.kqk")), "x");
    EXPECT_EQ(InspectPath(dir.filePath(QStringLiteral("caf\uFFFD.kqk"))).kind, PathKind::Regular);
    // A folder whose name is not UTF-8, on the way to the file.
    const QByteArray rawFolder = QFile::encodeName(dir.path()) + "/old\xFF";
    ASSERT_EQ(::mkdir(rawFolder.constData(), 0755), 0);
    const auto cleanup = qScopeGuard([&] { ::rmdir(rawFolder.constData()); });
    const QString through = QFile::decodeName(rawFolder) + QStringLiteral("/cards.kqk");
    EXPECT_EQ(InspectPath(through).kind, PathKind::NameNotUtf8);
}

TEST(HostileFiles, FieldsThatAreNotUtf8AreReportedEachAndSavedAsReplacementCharacters)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bytes.kqk"));
    auto card = [](int k, const QByteArray& title, const QByteArray& topic, const QByteArray& memo,
                    const QByteArray& id) {
        QByteArray b = title + "\r\n" + QByteArray("\r\n").repeated(6) + topic + "\r\n" + QByteArray("\r\n").repeated(9)
            + "\xC2\xA4#<&%\xC2\xA4#<&%KQ==" + QByteArray::number(k) + "\r\n" + memo
            + "\r\n\xC2\xA4#>&%\xC2\xA4#>&%KQ==" + QByteArray::number(k) + "\r\n" + id + "\r\n";
        return b;
    };
    // Card 1: a Latin-1 é in the title, a stray continuation byte in the
    // Memo's second line. Card 2: a valid U+FFFD and NUL bytes (neither is
    // reported), an encoded surrogate in the topic, an overlong "/" in the
    // Card ID. Card 3: nothing to report.
    const QByteArray bytes = Head + "3\r\n" + card(1, "caf\xE9", "", "line\r\na\x80z", "id1")
        + card(2, QByteArray("\xEF\xBF\xBD and \0", 9), "\xED\xA0\x80", QByteArray("\0", 1), "\xC0\xAF")
        + card(3, "plain", "", "", "id3");
    WriteBytes(path, bytes);
    CardRows rows;
    const CardFileReadOutcome r = ReadCardFile(path, CardEncoding::Utf8, 32000, rows);
    ASSERT_EQ(r.result, CardFileReadResult::Ok);
    EXPECT_EQ(r.notUtf8, (std::vector<TextPlace>{{0, 0}, {0, MemoCell}, {1, 7}, {1, CardIdCell}}));
    EXPECT_EQ(rows[0][0], QStringLiteral("caf\uFFFD"));
    EXPECT_EQ(rows[0][MemoCell], QStringLiteral("line\r\na\uFFFDz"));
    EXPECT_EQ(rows[1][0], QString(QStringLiteral("\uFFFD and ")) + QChar(0));
    EXPECT_EQ(NotUtf8Notice(r.notUtf8),
        QStringLiteral("The file holds bytes that are not valid UTF-8 in 4 fields, shown as \uFFFD. The first "
                       "is in card 1, field 1 Title1. Save will write each of them as U+FFFD, and their "
                       "original bytes will be lost."));
    EXPECT_EQ(NotUtf8Notice({{2, MemoCell}}, 5),
        QStringLiteral("The file holds bytes that are not valid UTF-8 in 1 field, shown as \uFFFD. The first "
                       "is in card 8, field 18 Memo. Save will write each of them as U+FFFD, and their "
                       "original bytes will be lost."));
    EXPECT_TRUE(NotUtf8Notice({}).isEmpty());

    // Saved, each bad byte or sequence is one U+FFFD; NUL bytes stay.
    const QString saved = dir.filePath(QStringLiteral("saved.kqk"));
    ASSERT_EQ(WriteCardFile(saved, rows, 3, QStringLiteral("h")).status, CardFileWriteResult::Ok);
    QByteArray expected = bytes;
    expected.replace(QByteArray("caf\xE9"), QByteArray("caf\xEF\xBF\xBD"));
    expected.replace(QByteArray("a\x80z"), QByteArray("a\xEF\xBF\xBDz"));
    expected.replace(QByteArray("\r\n\xED\xA0\x80\r\n"), QByteArray("\r\n\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\r\n"));
    expected.replace(QByteArray("\r\n\xC0\xAF\r\n"), QByteArray("\r\n\xEF\xBF\xBD\xEF\xBF\xBD\r\n"));
    EXPECT_EQ(ReadBytes(saved), expected);
    // Read again, the saved file has nothing left to report.
    CardRows again;
    EXPECT_TRUE(ReadCardFile(saved, CardEncoding::Utf8, 32000, again).notUtf8.empty());

    // An import counts the cards as they are numbered after it.
    CardStore store = OpenStore({TitledCard("one", "a"), TitledCard("two", "b")});
    const ImportOutcome imported = AppendCardFile(store, path, CardEncoding::Utf8);
    ASSERT_TRUE(imported.imported());
    EXPECT_EQ(imported.notUtf8, (std::vector<TextPlace>{{2, 0}, {2, MemoCell}, {3, 7}, {3, CardIdCell}}));
    EXPECT_TRUE(imported.notice.contains(QStringLiteral("in 4 fields")));
    EXPECT_TRUE(imported.notice.contains(QStringLiteral("The first is in card 3, field 1 Title1.")));
    // The old format has no such bytes: every byte is a character there.
    WriteBytes(path, "h\r\nKQa0b5c1d0e2f1g0h0i1\r\n" + card(1, "caf\xE9", "", "x", "id").prepend("1\r\n"));
    CardStore old = OpenStore({TitledCard("one", "a")});
    const ImportOutcome ansi = AppendCardFile(old, path, CardEncoding::Ansi);
    ASSERT_TRUE(ansi.imported());
    EXPECT_TRUE(ansi.notUtf8.empty());
    EXPECT_TRUE(ansi.notice.isEmpty());
    EXPECT_EQ(old.CardTable[1][0], QStringLiteral("caf\u00E9"));
}

TEST(HostileFiles, TheFormatTagIsFoundAcrossEveryReadBoundary)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tag.kqk"));
    // The reader takes the file in pieces of 256 KiB: the tag is put across
    // the first boundary at every offset, in both encodings, and an old-format
    // tag with a CR inside it (CRs are dropped from old-format text) still counts.
    const qsizetype chunk = 1 << 18;
    for (qsizetype shift = -10; shift <= 10; ++shift) {
        SCOPED_TRACE(shift);
        const QByteArray head("\xEF\xBB\xBFh\r\n");
        const QByteArray pad(chunk - head.size() - 4 + shift, 'x');
        WriteBytes(path, head + pad + "f1g0h0i1\r\n" + OneCard);
        CardRows rows;
        EXPECT_EQ(Read(path, CardEncoding::Utf8), QStringLiteral("Ok 1"));
        WriteBytes(path, head + pad + "f1g0h0i2\r\n" + OneCard);
        EXPECT_EQ(Read(path, CardEncoding::Utf8), QStringLiteral("NotCardFile"));
        WriteBytes(path, "h\r\n" + pad + "f1g0\rh0i1\r\n" + OneCard);
        EXPECT_EQ(Read(path, CardEncoding::Ansi), QStringLiteral("Ok 1"));
        // A header line ending in a lone CR at the boundary: the next line is the tag.
        WriteBytes(path, "\xEF\xBB\xBF" + QByteArray(chunk - 4 + shift, 'h') + "\rKQf1g0h0i1\r\n" + OneCard);
        EXPECT_EQ(Read(path, CardEncoding::Utf8), QStringLiteral("Ok 1"));
    }
}
