#include "diskspace.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(DiskSpaceLow, BelowTwoBytesOrUnknown)
{
    struct Case {
        std::optional<qint64> free;
        bool low;
    };
    for (const Case& c :
        {Case{0, true}, Case{1, true}, Case{2, false}, Case{1 << 20, false}, Case{std::nullopt, true}}) {
        SCOPED_TRACE(c.free ? QString::number(*c.free).toStdString() : std::string("unknown"));
        EXPECT_EQ(DiskSpaceLow(c.free), c.low);
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
