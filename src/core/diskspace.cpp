#include "diskspace.h"

#include "../platform/platform.h"

#include <QFileInfo>
#include <filesystem>
#include <system_error>

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

bool CheckDiskSpace(Platform& platform, const QString& path)
{
    const std::optional<qint64> free = platform.FreeSpace(path);
    if (free && *free >= 2)
        return false;
    platform.Message(QStringLiteral(
        "The recording disk may be out of space. The file may not have been saved correctly. "
        "Check the issue and save to another disk before closing the job file."));
    return true;
}
