// The free-space test that follows every written file.
#pragma once

#include <QString>
#include <optional>

// Free bytes available to the user on the volume that holds path (a bare
// name is taken in the current folder); nothing when it cannot be told.
std::optional<qint64> FreeSpaceOfVolume(const QString& path);

// True when a volume with this much free space (nothing: unknown) calls for
// the low-space warning: less than 2 bytes, or not known at all.
bool DiskSpaceLow(std::optional<qint64> freeBytes);

// "The recording disk may be out of space. ..." (the low-space warning).
extern const QString LowDiskSpaceMessage;
