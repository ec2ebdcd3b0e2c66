#include "filestamp.h"

#include <QFile>
#include <sys/stat.h>

FileStamp StampOf(const QString& path)
{
    struct stat st;
    FileStamp stamp;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return stamp;
    stamp.exists = true;
    stamp.size = static_cast<qint64>(st.st_size);
    stamp.modifiedNs = static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return stamp;
}
