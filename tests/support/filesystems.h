// File system conditions for tests of saving: a tiny volume that fills up, a
// limit on file size, a folder that takes no new file.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <csignal>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

// A tmpfs of the given size mounted on an empty folder for the life of the
// object; mounted() is false where the test may not mount (not root).
class SmallVolume {
public:
    SmallVolume(const QString& folder, int kib) : folder_(QFile::encodeName(folder))
    {
        const QByteArray options = "size=" + QByteArray::number(kib) + "k";
        mounted_ = ::mount("tmpfs", folder_.constData(), "tmpfs", 0, options.constData()) == 0;
    }
    ~SmallVolume()
    {
        if (mounted_)
            ::umount2(folder_.constData(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }

private:
    QByteArray folder_;
    bool mounted_ = false;
};

// Runs f while no file may grow past the given size (writes beyond it fail
// with EFBIG instead of a signal).
template <typename F> void WithFileSizeLimit(rlim_t bytes, F f)
{
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &small);
    f();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, handler);
}

// A folder in which no new file can be made, for the life of the object
// (permissions for a user, the immutable flag for the superuser); locked()
// is false where neither can be had.
class LockedFolder {
public:
    explicit LockedFolder(const QString& folder) : folder_(QFile::encodeName(folder))
    {
        if (::getuid() != 0) {
            locked_ = ::chmod(folder_.constData(), 0555) == 0;
            return;
        }
        const int fd = ::open(folder_.constData(), O_RDONLY | O_DIRECTORY);
        if (fd < 0)
            return;
        int flags = 0;
        if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            immutable_ = locked_ = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
    }
    ~LockedFolder()
    {
        if (!locked_)
            return;
        if (!immutable_) {
            ::chmod(folder_.constData(), 0755);
            return;
        }
        const int fd = ::open(folder_.constData(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags &= ~FS_IMMUTABLE_FL;
            ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        if (fd >= 0)
            ::close(fd);
    }
    bool locked() const { return locked_; }

private:
    QByteArray folder_;
    bool locked_ = false;
    bool immutable_ = false;
};
