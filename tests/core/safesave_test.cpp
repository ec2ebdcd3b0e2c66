// Saving through a temporary file: the previous file stays whole on every
// failure, failures name the system's reason, and the file keeps its identity.
#include "cardfile.h"
#include "generalerror.h"
#include "safesave.h"
#include "support/failingdevice.h"
#include "support/filesystems.h"
#include "support/testfiles.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>

namespace {

QString Reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

class SafeSaveTest : public ::testing::Test {
protected:
    QString Path(const QString& name = QStringLiteral("cards.kqk")) const { return dir.filePath(name); }
    QStringList Files(const QString& folder) const { return QDir(folder).entryList(QDir::Files | QDir::Hidden); }

    static SaveResult Save(const QString& path, const QByteArray& bytes)
    {
        return SafeSave(path, [&](QIODevice& d) { return WriteAll(d, bytes.constData(), bytes.size()); });
    }

    QTemporaryDir dir;
};

}  // namespace

TEST_F(SafeSaveTest, WritesTheBytesAndLeavesNoTemporaryFile)
{
    WriteBytes(Path(), "old");
    const SaveResult r = Save(Path(), "new contents");
    EXPECT_EQ(r.status, SaveResult::Ok);
    EXPECT_EQ(ReadBytes(Path()), "new contents");
    EXPECT_EQ(Files(dir.path()), QStringList{QStringLiteral("cards.kqk")});
}

TEST_F(SafeSaveTest, AWriterThatStopsLeavesTheTargetAsItWas)
{
    WriteBytes(Path(), "old");
    const SaveResult r = SafeSave(Path(), [](QIODevice& d) {
        d.write("partial");
        return false;  // refused its input, the device is fine
    });
    EXPECT_EQ(r.status, SaveResult::Stopped);
    EXPECT_EQ(ReadBytes(Path()), "old");
    EXPECT_EQ(Files(dir.path()), QStringList{QStringLiteral("cards.kqk")});
}

TEST_F(SafeSaveTest, FailuresNameTheSystemsReasonAndKeepThePreviousFile)
{
    const QByteArray big(256 * 1024, 'x');
    WriteBytes(Path(), "old");

    // A limit on file size.
    SaveResult r;
    WithFileSizeLimit(64 * 1024, [&] { r = Save(Path(), big); });
    EXPECT_EQ(r.status, SaveResult::WriteFailed);
    EXPECT_EQ(r.errorKind, QStringLiteral("ResourceError"));
    EXPECT_EQ(r.errorText, Reason(EFBIG));
    EXPECT_EQ(ReadBytes(Path()), "old");
    EXPECT_EQ(Files(dir.path()), QStringList{QStringLiteral("cards.kqk")});

    // A name too long for the file system.
    const QString tooLong = Path(QString(300, u'n') + QStringLiteral(".kqk"));
    r = Save(tooLong, "x");
    EXPECT_EQ(r.status, SaveResult::WriteFailed);
    EXPECT_EQ(r.errorText, Reason(ENAMETOOLONG));
    EXPECT_EQ(Files(dir.path()), QStringList{QStringLiteral("cards.kqk")});

    // A full disk.
    const QString folder = Path(QStringLiteral("small"));
    QDir().mkpath(folder);
    SmallVolume volume(folder, 64);
    if (!volume.mounted())
        GTEST_SKIP() << "no small volume here (mounting needs the superuser)";
    const QString onVolume = folder + QStringLiteral("/cards.kqk");
    WriteBytes(onVolume, "old");
    r = Save(onVolume, big);
    EXPECT_EQ(r.status, SaveResult::WriteFailed);
    EXPECT_EQ(r.errorKind, QStringLiteral("ResourceError"));
    EXPECT_EQ(r.errorText, Reason(ENOSPC));
    EXPECT_EQ(ReadBytes(onVolume), "old");
    EXPECT_EQ(Files(folder), QStringList{QStringLiteral("cards.kqk")});
}

TEST_F(SafeSaveTest, ReadOnlyAndUncreatableTargetsThrowWithTheReason)
{
    WriteBytes(Path(), "previous");
    QFile::setPermissions(Path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    EXPECT_TRUE(IsReadOnlyFile(Path()));
    EXPECT_FALSE(IsReadOnlyFile(Path(QStringLiteral("missing.kqk"))));
    try {
        Save(Path(), "new");
        ADD_FAILURE() << "a read-only file was written";
    } catch (const GeneralError& e) {
        EXPECT_EQ(e.text(), QStringLiteral("Cannot create file \"") + Path() + QStringLiteral("\". ") + Reason(EACCES));
    }
    EXPECT_EQ(ReadBytes(Path()), "previous");
    const QString nowhere = Path(QStringLiteral("no/such/folder.kqk"));
    try {
        Save(nowhere, "new");
        ADD_FAILURE() << "a file was made in a folder that does not exist";
    } catch (const GeneralError& e) {
        EXPECT_EQ(e.text(), QStringLiteral("Cannot create file \"") + nowhere + QStringLiteral("\". ") + Reason(ENOENT));
    }
}

TEST_F(SafeSaveTest, TheSavedFileKeepsModeOwnerAndGroup)
{
    const QByteArray p = QFile::encodeName(Path());
    WriteBytes(Path(), "old");
    ASSERT_EQ(::chmod(p.constData(), 0640), 0);
    const bool superuser = ::getuid() == 0;
    if (superuser) {
        ASSERT_EQ(::chown(p.constData(), 1234, 5678), 0);
    }
    ASSERT_EQ(Save(Path(), "new").status, SaveResult::Ok);
    struct stat st;
    ASSERT_EQ(::stat(p.constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    if (superuser) {
        EXPECT_EQ(st.st_uid, 1234u);
        EXPECT_EQ(st.st_gid, 5678u);
    }
    EXPECT_EQ(ReadBytes(Path()), "new");
}

TEST_F(SafeSaveTest, LongNamesUpToTheFileSystemsLimitSave)
{
    for (int bytes : {249, 250, 255}) {
        SCOPED_TRACE(bytes);
        const QString path = Path(QString(bytes - 4, u'l') + QStringLiteral(".kqk"));
        WriteBytes(path, "old");  // replacing an existing file needs a second name beside it
        EXPECT_EQ(Save(path, "new").status, SaveResult::Ok);
        EXPECT_EQ(ReadBytes(path), "new");
        QFile::remove(path);
    }
}

TEST_F(SafeSaveTest, AFolderThatTakesNoNewFileIsWrittenInPlace)
{
    const QString folder = Path(QStringLiteral("locked"));
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/cards.kqk");
    WriteBytes(path, "old and longer");
    struct stat before;
    ::stat(QFile::encodeName(path).constData(), &before);
    LockedFolder lock(folder);
    if (!lock.locked())
        GTEST_SKIP() << "no way to lock a folder here";
    EXPECT_EQ(Save(path, "new").status, SaveResult::Ok);
    EXPECT_EQ(ReadBytes(path), "new");
    struct stat after;
    ::stat(QFile::encodeName(path).constData(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);
    // A file that does not exist there yet cannot be made.
    EXPECT_THROW(Save(folder + QStringLiteral("/other.kqk"), "x"), GeneralError);
}

TEST(WriteAll, AsksAgainForWhatTheDeviceDidNotTake)
{
    FailingDevice device(5);
    EXPECT_FALSE(WriteAll(device, "0123456789", 10));
    EXPECT_EQ(device.written, "01234");
    EXPECT_EQ(device.failedWrites, 1);
    EXPECT_EQ(device.errorString(), QStringLiteral("No space left on device"));
    FailingDevice roomy(100);
    EXPECT_TRUE(WriteAll(roomy, "0123456789", 10));
    EXPECT_EQ(roomy.written, "0123456789");
}

TEST(EncodeCardFile, ADeviceThatFailsIsNeverReportedAsWritten)
{
    CardRows rows(3);
    for (size_t i = 0; i < rows.size(); ++i) {
        rows[i][0] = QStringLiteral("title");
        rows[i][MemoCell] = QStringLiteral("memo\r\nline");
    }
    QBuffer whole;
    whole.open(QIODevice::WriteOnly);
    ASSERT_EQ(EncodeCardFile(whole, rows, 3, MainFileHeaderText).status, CardFileEncodeResult::Ok);
    const qint64 size = whole.data().size();
    for (qint64 capacity : {qint64(0), qint64(1), qint64(3), size / 2, size - 1}) {
        SCOPED_TRACE(capacity);
        FailingDevice device(capacity);
        EXPECT_EQ(EncodeCardFile(device, rows, 3, MainFileHeaderText).status, CardFileEncodeResult::DeviceFailed);
        EXPECT_EQ(device.written, whole.data().left(capacity));
    }
    FailingDevice exact(size);
    EXPECT_EQ(EncodeCardFile(exact, rows, 3, MainFileHeaderText).status, CardFileEncodeResult::Ok);
    EXPECT_EQ(exact.written, whole.data());
}
