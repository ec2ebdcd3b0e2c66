#include "fileinspect.h"

#include "generalerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString CannotOpen(const QString& path)
{
    return QStringLiteral("Cannot open file \"") + path + QStringLiteral("\". ");
}

QString SystemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

PathKind KindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return PathKind::Regular;
    if (S_ISDIR(mode))
        return PathKind::Folder;
    if (S_ISFIFO(mode))
        return PathKind::NamedPipe;
    if (S_ISCHR(mode))
        return PathKind::CharacterDevice;
    if (S_ISBLK(mode))
        return PathKind::BlockDevice;
    if (S_ISSOCK(mode))
        return PathKind::Socket;
    return PathKind::Unreachable;
}

bool IsUtf8(const char* bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(QByteArrayView(bytes, static_cast<qsizetype>(std::strlen(bytes))));
    return !decoder.hasError();
}

// Is there, where path stops existing, a folder entry whose name is not
// UTF-8 and reads as the missing part once decoded?
bool NameIsNonUtf8(const QString& path)
{
    if (!path.contains(QChar::ReplacementCharacter))
        return false;  // a decoded name that is not UTF-8 always holds U+FFFD
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QStringList parts = absolute.split(u'/', Qt::SkipEmptyParts);
    QString folder = QStringLiteral("/");
    for (const QString& part : parts) {
        const QString next = folder.endsWith(u'/') ? QString(folder + part) : QString(folder + u'/' + part);
        struct stat st;
        if (::lstat(QFile::encodeName(next).constData(), &st) == 0) {
            folder = next;
            continue;
        }
        if (!part.contains(QChar::ReplacementCharacter))
            return false;
        DIR* dir = ::opendir(QFile::encodeName(folder).constData());
        if (!dir)
            return false;
        bool found = false;
        while (const dirent* entry = ::readdir(dir)) {
            if (!IsUtf8(entry->d_name) && QFile::decodeName(entry->d_name) == part) {
                found = true;
                break;
            }
        }
        ::closedir(dir);
        return found;
    }
    return false;
}

}  // namespace

QString NotRegularFileText(const QString& path, PathKind kind)
{
    QString what;
    switch (kind) {
    case PathKind::Folder:
        what = QStringLiteral("It is a folder");
        break;
    case PathKind::NamedPipe:
        what = QStringLiteral("It is a named pipe");
        break;
    case PathKind::CharacterDevice:
        what = QStringLiteral("It is a character device");
        break;
    case PathKind::BlockDevice:
        what = QStringLiteral("It is a block device");
        break;
    case PathKind::Socket:
        what = QStringLiteral("It is a socket");
        break;
    default:
        what = QStringLiteral("It is something");
        break;
    }
    return CannotOpen(path) + what + QStringLiteral(", not a regular file: only a card file can be read.");
}

QString NonUtf8NameText(const QString& path)
{
    return CannotOpen(path)
        + QStringLiteral("Its name is not valid UTF-8, which this program cannot keep. "
                         "Please rename the file (with a name in UTF-8) and try again.");
}

PathInspection InspectPath(const QString& path)
{
    PathInspection out;
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR) {
            if (NameIsNonUtf8(path)) {
                out.kind = PathKind::NameNotUtf8;
                out.message = NonUtf8NameText(path);
            } else {
                out.kind = PathKind::Missing;
            }
        } else {
            out.kind = PathKind::Unreachable;
            out.message = CannotOpen(path) + SystemReason(error);
        }
        return out;
    }
    out.kind = KindOf(st.st_mode);
    if (!out.regular())
        out.message = NotRegularFileText(path, out.kind);
    return out;
}

int OpenRegularFile(const QString& path)
{
    const PathInspection seen = InspectPath(path);
    if (seen.kind == PathKind::Missing)
        throw GeneralError(CannotOpen(path) + SystemReason(ENOENT));
    if (!seen.regular())
        throw GeneralError(seen.message);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        throw GeneralError(CannotOpen(path) + SystemReason(errno));
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        throw GeneralError(CannotOpen(path) + SystemReason(error));
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        throw GeneralError(NotRegularFileText(path, KindOf(st.st_mode)));
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        (void)::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}
