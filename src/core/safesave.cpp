#include "safesave.h"

#include "generalerror.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QRandomGenerator>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString SystemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString KindOf(int error)
{
    return error == ENOSPC || error == EDQUOT || error == EFBIG ? QStringLiteral("ResourceError")
                                                                : QStringLiteral("WriteError");
}

[[noreturn]] void CannotCreate(const QString& path, int error)
{
    throw GeneralError(QStringLiteral("Cannot create file \"") + path + QStringLiteral("\". ") + SystemReason(error));
}

// A file descriptor closed on every way out.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) { }
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now; the error of close, or 0.
    int Close()
    {
        const int r = ::close(fd_);
        fd_ = -1;
        return r == 0 ? 0 : errno;
    }

private:
    int fd_;
};

// Temporaries that have a name say whose they are: ".cardomo-<pid>-<random>.tmp".
constexpr char TemporaryPrefix[] = ".cardomo-";
constexpr char TemporarySuffix[] = ".tmp";

QByteArray TemporaryName(const QByteArray& folder)
{
    return folder + '/' + TemporaryPrefix + QByteArray::number(::getpid()) + '-'
        + QByteArray::number(QRandomGenerator::global()->generate(), 36) + TemporarySuffix;
}

// A name in folder that no file has: short, whatever the target's length.
int CreateTemporary(const QByteArray& folder, QByteArray& name, mode_t mode)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = TemporaryName(folder);
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// A file without a name in folder, which a kill leaves nowhere; -1 where the
// file system (or a missing /proc, needed to give it a name later) does not
// allow it.
int CreateUnnamed(const QByteArray& folder, mode_t mode)
{
    const int fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (fd < 0)
        return -1;
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    if (::access(self.constData(), F_OK) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Gives the complete unnamed file a temporary name beside the target; 0 or
// the error.
int NameUnnamed(int fd, const QByteArray& folder, QByteArray& name)
{
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = TemporaryName(folder);
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0)
            return 0;
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}

// Removes the named temporaries in folder whose writer is gone: a save of
// this program killed part-way (only where no unnamed file could be made,
// or in the moment between naming the file and renaming it). Only files of
// this program's pattern, owned by this user, whose process id is not
// running, are touched: never another program's file.
void RemoveDeadTemporaries(const QByteArray& folder)
{
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return;
    const int dfd = ::dirfd(dir);
    const size_t prefix = sizeof TemporaryPrefix - 1;
    const size_t suffix = sizeof TemporarySuffix - 1;
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        const size_t n = std::strlen(name);
        if (n <= prefix + suffix || std::strncmp(name, TemporaryPrefix, prefix) != 0
            || std::strcmp(name + n - suffix, TemporarySuffix) != 0)
            continue;
        size_t i = prefix;
        long long pid = 0;
        while (i < n && name[i] >= '0' && name[i] <= '9' && pid < (1LL << 31))
            pid = pid * 10 + (name[i++] - '0');
        if (i == prefix || i >= n - suffix || name[i] != '-' || pid <= 0 || pid >= (1LL << 31))
            continue;  // no process id: not a name this program gives
        if (static_cast<pid_t>(pid) == ::getpid() || ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH)
            continue;  // its writer may still be at work
        struct stat st;
        if (::fstatat(dfd, name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid())
            (void)::unlinkat(dfd, name, 0);
    }
    ::closedir(dir);
}

SaveResult Failed(const QString& kind, int error)
{
    SaveResult r;
    r.status = SaveResult::WriteFailed;
    r.errorKind = kind;
    r.errorText = SystemReason(error);
    return r;
}

// The device a writer writes onto: each write goes to the file at once, and
// the disk is asked to start writing it back then, so that the sync at the
// end of the save has little left to wait for. A failure keeps the system's
// reason.
class FileDescriptorDevice : public QIODevice {
public:
    explicit FileDescriptorDevice(int fd) : fd_(fd) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    int error() const { return error_; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        qint64 done = 0;
        while (done < size) {
            const ssize_t w = ::write(fd_, data + done, static_cast<size_t>(size - done));
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0) {
                error_ = w < 0 ? errno : ENOSPC;
                setErrorString(SystemReason(error_));
                break;
            }
            done += w;
        }
        if (done > 0) {
            written_ += done;
            if (written_ - synced_ >= SyncStep) {
                (void)::sync_file_range(fd_, synced_, written_ - synced_, SYNC_FILE_RANGE_WRITE);
                synced_ = written_;
            }
        }
        return done > 0 ? done : -1;
    }

private:
    static constexpr qint64 SyncStep = qint64(4) << 20;
    int fd_;
    int error_ = 0;
    qint64 written_ = 0;
    qint64 synced_ = 0;
};

// Runs write onto fd through a device; fills result when it did not finish.
bool WriteThrough(int fd, const std::function<bool(QIODevice&)>& write, SaveResult& result)
{
    FileDescriptorDevice device(fd);
    if (write(device))
        return true;
    if (device.error() == 0) {
        result.status = SaveResult::Stopped;
        return false;
    }
    result = Failed(KindOf(device.error()), device.error());
    return false;
}

}  // namespace

bool WriteAll(QIODevice& device, const char* bytes, qint64 n)
{
    while (n > 0) {
        const qint64 w = device.write(bytes, n);
        if (w <= 0)
            return false;
        bytes += w;
        n -= w;
    }
    return true;
}

bool IsReadOnlyFile(const QString& path)
{
    const QByteArray p = QFile::encodeName(path);
    struct stat st;
    if (::stat(p.constData(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;
    return (st.st_mode & 0222) == 0 || ::access(p.constData(), W_OK) != 0;
}

SaveResult SafeSave(const QString& path, const std::function<bool(QIODevice&)>& write, bool ownerOnly)
{
    const QByteArray target = QFile::encodeName(path);
    if (IsReadOnlyFile(path))
        CannotCreate(path, EACCES);
    struct stat old;
    const bool exists = ::stat(target.constData(), &old) == 0;
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    SaveResult result;

    if (exists && ::access(folder.constData(), W_OK | X_OK) != 0) {
        // The folder takes no new file, but the file itself may be written:
        // the one case written in place.
        Descriptor fd(::open(target.constData(), O_WRONLY | O_TRUNC | O_CLOEXEC));
        if (fd.get() < 0)
            CannotCreate(path, errno);
        if (ownerOnly)
            (void)::fchmod(fd.get(), 0600);
        if (!WriteThrough(fd.get(), write, result))
            return result;
        if (::fdatasync(fd.get()) != 0)
            return Failed(KindOf(errno), errno);
        if (const int error = fd.Close())
            return Failed(KindOf(error), error);
        return result;
    }

    RemoveDeadTemporaries(folder);
    // The bytes go into a file without a name where the system allows it, so
    // that a kill part-way leaves nothing behind; elsewhere into a named
    // temporary that says whose it is.
    QByteArray temporary;
    int raw = CreateUnnamed(folder, ownerOnly ? 0600 : 0666);
    const bool unnamed = raw >= 0;
    if (!unnamed) {
        raw = CreateTemporary(folder, temporary, ownerOnly ? 0600 : 0666);
        if (raw < 0)
            CannotCreate(path, errno);
    }
    Descriptor fd(raw);
    struct Remover {
        const QByteArray& name;
        bool keep = false;
        ~Remover()
        {
            if (!keep && !name.isEmpty())
                ::unlink(name.constData());
        }
    } remover{temporary};

    if (exists) {
        // The saved file keeps the old one's owner, group and mode where the
        // system allows it (only the superuser may give a file away).
        if (::fchown(fd.get(), old.st_uid, old.st_gid) != 0)
            (void)::fchown(fd.get(), static_cast<uid_t>(-1), old.st_gid);
        (void)::fchmod(fd.get(), old.st_mode & 07777);
    }
    if (ownerOnly)
        (void)::fchmod(fd.get(), 0600);
    if (!WriteThrough(fd.get(), write, result))
        return result;
    if (::fdatasync(fd.get()) != 0)
        return Failed(KindOf(errno), errno);
    if (unnamed) {
        if (const int error = NameUnnamed(fd.get(), folder, temporary))
            return Failed(KindOf(error), error);
    }
    if (const int error = fd.Close())
        return Failed(KindOf(error), error);
    if (::rename(temporary.constData(), target.constData()) != 0)
        return Failed(QStringLiteral("RenameError"), errno);
    remover.keep = true;
    // The new name on the disk too, so that a crash right after the save
    // does not bring the old file back.
    Descriptor dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        (void)::fsync(dir.get());
    return result;
}
