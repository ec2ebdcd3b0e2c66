// Window tests run under Qt's offscreen platform with one QApplication.
#include <QApplication>
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
}  // namespace

int main(int argc, char** argv)
{
    qInstallMessageHandler(Messages);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
