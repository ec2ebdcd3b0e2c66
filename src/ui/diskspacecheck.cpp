#include "diskspacecheck.h"

#include "diskspace.h"
#include "platform.h"

bool CheckDiskSpace(Platform& platform, const QString& path)
{
    if (!DiskSpaceLow(platform.FreeSpace(path)))
        return false;
    platform.Message(LowDiskSpaceMessage);
    return true;
}
