#include "manualfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString Manual = QStringLiteral("Cardomo_v05102_beta Manual.rtf");

void Touch(const QString& path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

class FindManualFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("bin")));
        ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("share/cardomo")));
    }
    QString Bin(const QString& name = {}) const { return QDir(root.filePath(QStringLiteral("bin"))).filePath(name); }
    QString Data(const QString& name = {}) const
    {
        return QDir(root.filePath(QStringLiteral("share/cardomo"))).filePath(name);
    }
    QTemporaryDir root;
};

TEST_F(FindManualFileTest, BesideTheExecutableComesBeforeTheDataFolder)
{
    Touch(Bin(Manual));
    Touch(Data(Manual));
    EXPECT_EQ(FindManualFile(Bin(), Data(), Manual), Bin(Manual));
}

TEST_F(FindManualFileTest, TheDataFolderWhenTheExecutablesFolderLacksIt)
{
    Touch(Data(Manual));
    EXPECT_EQ(FindManualFile(Bin(), Data(), Manual), Data(Manual));
    // an unknown executable folder is not looked in
    EXPECT_EQ(FindManualFile(QString(), Data(), Manual), Data(Manual));
}

TEST_F(FindManualFileTest, NothingWhenNeitherHoldsTheFile)
{
    Touch(Bin(QStringLiteral("Cardomo_v05102_beta Quick Manual.rtf")));
    EXPECT_FALSE(FindManualFile(Bin(), Data(), Manual).has_value());
    EXPECT_FALSE(FindManualFile(Bin(), root.filePath(QStringLiteral("no such folder")), Manual).has_value());
    EXPECT_FALSE(FindManualFile(QString(), QString(), Manual).has_value());
    // an empty name would name the folder itself
    EXPECT_FALSE(FindManualFile(Bin(), Data(), QString()).has_value());
}

TEST_F(FindManualFileTest, AFolderOfThatNameIsNotTheFile)
{
    ASSERT_TRUE(QDir(Bin()).mkdir(Manual));
    Touch(Data(Manual));
    EXPECT_EQ(FindManualFile(Bin(), Data(), Manual), Data(Manual));
}

}  // namespace
