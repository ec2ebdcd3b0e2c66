// What a file on the disk looked like when the program last read or wrote
// it, so that a save can tell whether another program changed it since.
#pragma once

#include <QString>

struct FileStamp {
    bool exists = false;
    qint64 size = 0;
    qint64 modifiedNs = 0;  // modification time, nanoseconds since the epoch

    bool operator==(const FileStamp&) const = default;
};

// The file's stamp now; one with exists false when there is no such file.
FileStamp StampOf(const QString& path);
