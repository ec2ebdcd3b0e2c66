#pragma once

#include <QString>
#include <optional>

class Platform;

// The free-space test after a file was written: warns when the volume that
// holds path has less than 2 bytes free for the user, or when that cannot be
// told. Returns true when it warned.
bool CheckDiskSpace(Platform& platform, const QString& path);

// Free bytes available to the user on the volume that holds path (a bare
// name is taken in the current folder); nothing when it cannot be told.
std::optional<qint64> FreeSpaceOfVolume(const QString& path);
