#include "diskspacecheck.h"

#include "diskspace.h"
#include "platform.h"

bool CheckDiskSpace(Platform& platform, const QString& path)
{
    if (!DiskSpaceLow(platform.FreeSpace(path)))
        return false;
    platform.Message(QStringLiteral(
        "The recording disk may be out of space. The file may not have been saved correctly. "
        "Check the issue and save to another disk before closing the job file."));
    return true;
}
