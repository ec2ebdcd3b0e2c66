#include "manualfile.h"

#include <QDir>
#include <QFileInfo>

std::optional<QString> FindManualFile(
    const QString& executableFolder, const QString& dataFolder, const QString& fileName)
{
    if (fileName.isEmpty())
        return std::nullopt;
    for (const QString& folder : {executableFolder, dataFolder}) {
        if (folder.isEmpty())
            continue;
        const QString path = QDir(folder).filePath(fileName);
        if (QFileInfo(path).isFile())
            return path;
    }
    return std::nullopt;
}
