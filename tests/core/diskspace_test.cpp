#include "core/diskspace.h"
#include "platform/scriptedplatform.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QString LowSpace = QStringLiteral(
    "The recording disk may be out of space. The file may not have been saved correctly. "
    "Check the issue and save to another disk before closing the job file.");
}

TEST(CheckDiskSpace, WarnsBelowTwoBytesOrWhenUnknown)
{
    struct Case {
        std::optional<qint64> free;
        bool warns;
    };
    for (const Case& c : {Case{0, true}, Case{1, true}, Case{2, false}, Case{1 << 20, false},
                          Case{std::nullopt, true}}) {
        ScriptedPlatform p;
        p.freeSpace = c.free;
        EXPECT_EQ(CheckDiskSpace(p, QStringLiteral("New.kqk")), c.warns);
        EXPECT_EQ(p.Texts(), c.warns ? QStringList{LowSpace} : QStringList{});
    }
}

TEST(FreeSpaceOfVolume, MeasuresTheFoldersVolume)
{
    QTemporaryDir dir;
    EXPECT_GT(FreeSpaceOfVolume(dir.filePath(QStringLiteral("not-yet.kqk"))).value_or(-1), 0);
    // A bare name lies in the current folder.
    EXPECT_GT(FreeSpaceOfVolume(QStringLiteral("New.kqk")).value_or(-1), 0);
    EXPECT_FALSE(FreeSpaceOfVolume(QStringLiteral("/no/such/folder/x.kqk")).has_value());
}
