// The low-space warning shown after a file was written.
#pragma once

#include <QString>

class Platform;

// Warns when the volume that holds path has less than 2 bytes free for the
// user, or when that cannot be told. Returns true when it warned.
bool CheckDiskSpace(Platform& platform, const QString& path);
