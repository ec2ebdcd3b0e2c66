#include "diskspace.h"

#include <QFileInfo>
#include <filesystem>
#include <system_error>

const QString LowDiskSpaceMessage =
    QStringLiteral("The recording disk may be out of space. The file may not have been saved correctly. "
                   "Check the issue and save to another disk before closing the job file.");

std::optional<qint64> FreeSpaceOfVolume(const QString& path)
{
    const QFileInfo info(path);
    // The file's own folder: it exists once the file was written.
    const std::filesystem::path dir(QFile::encodeName(info.absolutePath()).toStdString());
    std::error_code ec;
    const auto space = std::filesystem::space(dir, ec);
    if (ec || space.available == static_cast<std::uintmax_t>(-1))
        return std::nullopt;
    return static_cast<qint64>(std::min<std::uintmax_t>(space.available, INT64_MAX));
}

bool DiskSpaceLow(std::optional<qint64> freeBytes)
{
    return !freeBytes || *freeBytes < 2;
}
