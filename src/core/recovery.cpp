#include "recovery.h"

#include "filenames.h"
#include "filestamp.h"
#include "generalerror.h"
#include "safesave.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

// Longest card file name kept in a copy's name, in UTF-8 bytes, so that the
// copy's name and its set-aside name stay well below 255 bytes.
constexpr qsizetype LongestNamePart = 150;

QString CutToBytes(const QString& name, qsizetype bytes)
{
    QString cut;
    qsizetype used = 0;
    for (qsizetype i = 0; i < name.size();) {
        const qsizetype n = name.at(i).isHighSurrogate() && i + 1 < name.size() ? 2 : 1;
        const QString piece = name.mid(i, n);
        used += piece.toUtf8().size();
        if (used > bytes)
            break;
        cut += piece;
        i += n;
    }
    return cut;
}

QString SystemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Makes folder and its missing parents; the last one readable by its owner
// alone. An empty text when it is there, else the reason.
QString MakeFolder(const QString& folder)
{
    QFileInfo info(folder);
    if (info.isDir())
        return {};
    if (info.exists())
        return folder + QStringLiteral(": ") + SystemReason(ENOTDIR);
    const QString parent = info.absolutePath();
    if (parent != info.absoluteFilePath()) {
        const QString problem = MakeFolder(parent);
        if (!problem.isEmpty())
            return problem;
    }
    if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST)
        return folder + QStringLiteral(": ") + SystemReason(errno);
    return {};
}

}  // namespace

QString RecoveryFolder()
{
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!state.isEmpty() && QDir::isAbsolutePath(state))
        return QDir::cleanPath(state + QStringLiteral("/cardomo"));
    return QDir::cleanPath(QDir::homePath() + QStringLiteral("/.local/state/cardomo"));
}

QString RecoveryCopyPath(const QString& folder, const QString& cardFilePath)
{
    const QString full = QDir::cleanPath(QFileInfo(cardFilePath).absoluteFilePath());
    const QByteArray hash = QCryptographicHash::hash(full.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return folder + QLatin1Char('/') + CutToBytes(FileNamePart(full), LongestNamePart) + QLatin1Char('-')
        + QString::fromLatin1(hash) + QStringLiteral(".kqk");
}

RecoveryWriteResult WriteRecoveryCopy(const QString& copyPath, const CardRows& rows, int count)
{
    RecoveryWriteResult result;
    const QString problem = MakeFolder(QFileInfo(copyPath).absolutePath());
    if (!problem.isEmpty()) {
        result.status = RecoveryWriteResult::Failed;
        result.errorText = problem;
        return result;
    }
    CardFileEncodeResult encoded;
    try {
        const SaveResult saved = SafeSave(
            copyPath,
            [&](QIODevice& device) {
                encoded = EncodeCardFile(device, rows, count, MainFileHeaderText);
                return encoded.status == CardFileEncodeResult::Ok;
            },
            true);
        if (encoded.status == CardFileEncodeResult::Refused) {
            result.status = RecoveryWriteResult::Refused;
            result.errorText = encoded.reason;
        } else if (saved.status != SaveResult::Ok) {
            result.status = RecoveryWriteResult::Failed;
            result.errorText = copyPath + QStringLiteral(": ") + saved.errorText;
        }
    } catch (const GeneralError& e) {
        result.status = RecoveryWriteResult::Failed;
        result.errorText = e.text();
    }
    return result;
}

RecoveryCopyFound FindRecoveryCopy(const QString& copyPath, const QString& cardFilePath)
{
    RecoveryCopyFound found;
    const QFileInfo info(copyPath);
    if (!info.isFile())
        return found;
    const FileStamp copy = StampOf(copyPath);
    const FileStamp file = StampOf(cardFilePath);
    found.kind =
        !file.exists || copy.modifiedNs > file.modifiedNs ? RecoveryCopyFound::Newer : RecoveryCopyFound::Older;
    found.written = info.lastModified();
    return found;
}

RecoveryRead ReadRecoveryCopy(const QString& copyPath, int capacity)
{
    RecoveryRead read;
    try {
        if (!HasUtf8Bom(copyPath)) {
            read.problem = QStringLiteral("it is not a card file of this program");
            return read;
        }
        const CardFileReadOutcome r = ReadCardFile(copyPath, CardEncoding::Utf8, capacity, read.rows);
        switch (r.result) {
        case CardFileReadResult::Ok:
            if (r.count >= 1) {
                read.ok = true;
                read.count = r.count;
                return read;
            }
            read.problem = QStringLiteral("it holds no card");
            break;
        case CardFileReadResult::NotCardFile:
            read.problem = QStringLiteral("it was written by another version of the program, or it is damaged");
            break;
        case CardFileReadResult::TooManyCards:
            read.problem = QStringLiteral("it holds ") + QString::number(r.count) + QStringLiteral(" cards, more than ")
                + QString::number(capacity);
            break;
        case CardFileReadResult::MemoTooLong:
            read.problem = QStringLiteral("it is cut off or damaged in card ") + QString::number(r.cardIndex + 1);
            break;
        }
    } catch (const GeneralError& e) {
        read.problem = e.text();
    }
    // Rows read before the damage are never handed on.
    read.rows.clear();
    return read;
}

QString SetRecoveryCopyAside(const QString& copyPath, const QDateTime& written)
{
    QString stem = copyPath;
    if (stem.endsWith(QLatin1String(".kqk")))
        stem.chop(4);
    stem += QStringLiteral("-kept-") + written.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (int n = 1; n < 1000; ++n) {
        const QString target =
            stem + (n == 1 ? QString() : QLatin1Char('-') + QString::number(n)) + QStringLiteral(".kqk");
        const QByteArray to = QFile::encodeName(target);
        struct stat st;
        if (::lstat(to.constData(), &st) == 0)
            continue;
        // A hard link and an unlink: a name that another run takes meanwhile
        // is never replaced.
        if (::link(QFile::encodeName(copyPath).constData(), to.constData()) == 0) {
            ::unlink(QFile::encodeName(copyPath).constData());
            return target;
        }
        if (errno != EEXIST)
            return QFile::rename(copyPath, target) ? target : QString();
    }
    return {};
}

bool RemoveRecoveryCopy(const QString& copyPath)
{
    const QByteArray p = QFile::encodeName(copyPath);
    return ::unlink(p.constData()) == 0 || errno == ENOENT;
}
