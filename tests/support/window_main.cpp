// Window tests run under Qt's offscreen platform with one QApplication.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>

namespace {
// The offscreen platform warns about window features it lacks; nothing else is dropped.
void Messages(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (text.startsWith(QLatin1String("This plugin does not support")))
        return;
    fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}
// Recovery copies go to a state folder of the run's own, emptied before each
// test, so that no test finds a copy that another one left.
class FreshStateFolder : public ::testing::EmptyTestEventListener {
public:
    explicit FreshStateFolder(const QString& folder) : folder_(folder) { }
    void OnTestStart(const ::testing::TestInfo&) override
    {
        qputenv("XDG_STATE_HOME", QFile::encodeName(folder_));
        QDir(folder_ + QStringLiteral("/cardomo")).removeRecursively();
    }

private:
    QString folder_;
};
}  // namespace

int main(int argc, char** argv)
{
    qInstallMessageHandler(Messages);
    // Offscreen, the desk has three screens: a large one (primary), a small
    // one of 1024 x 768 beside it and one of 1920 x 1080 at 150 % below it.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen")
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + CARDOMO_TEST_SCREENS);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    QTemporaryDir state;
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshStateFolder(state.path()));
    return RUN_ALL_TESTS();
}
