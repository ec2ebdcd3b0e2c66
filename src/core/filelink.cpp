#include "filelink.h"

#include <QDir>

QUrl FileLinkTarget(const QString& text, const QString& currentFolder)
{
    if (text.isEmpty())
        return {};
    static const QLatin1String schemes[] = {
        QLatin1String("http:"), QLatin1String("https:"), QLatin1String("mailto:"), QLatin1String("file:")};
    for (QLatin1String scheme : schemes)
        if (text.startsWith(scheme, Qt::CaseInsensitive))
            return QUrl(text, QUrl::TolerantMode);
    return QUrl::fromLocalFile(QDir(currentFolder).absoluteFilePath(text));
}
