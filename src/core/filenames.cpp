#include "filenames.h"

QString FileNamePart(const QString& path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

QString FileNameWithoutExtension(const QString& path)
{
    QString name = FileNamePart(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot > 0)
        name.truncate(dot);
    return name;
}

QString WithTxtExtension(const QString& path)
{
    if (path.contains(u".txt") || path.contains(u".TXT"))
        return path;
    return path + QStringLiteral(".txt");
}
