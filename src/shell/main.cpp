#include "application.h"
#include "commandline.h"
#include "endsignals.h"
#include "qtplatform.h"
#include "recoverykeeper.h"
#include "uusi6.h"
#include "version.h"

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

// --help and --version answer before any window or display is needed, and
// so does a usage error when no argument can be one of Qt's own options.
// The status the program ends with, if it ends here.
std::optional<int> AnsweredCommandLine(int argc, char* argv[])
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const CommandLine line = ReadCommandLine(args);
    if (line.kind == CommandLine::Kind::Help) {
        std::fputs(qPrintable(CommandLineHelp()), stdout);
        return 0;
    }
    if (line.kind == CommandLine::Kind::Version) {
        std::printf("cardomo %s\n", CARDOMO_VERSION_FULL);
        return 0;
    }
    const bool noOption = std::none_of(args.begin(), args.end(), [](const QString& a) { return a.startsWith(u'-'); });
    if (line.kind == CommandLine::Kind::Error && noOption) {
        std::fputs(qPrintable(line.message), stderr);
        return 2;
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (const std::optional<int> status = AnsweredCommandLine(argc, argv))
        return *status;
    EndSignals::Install();  // a signal from here on waits in its pipe for the main window
    QApplication app(argc, argv);
    // Qt has taken the options it knows (-style, -platform ...) out by now:
    // what is left is the program's.
    const CommandLine line = ReadCommandLine(app.arguments().mid(1));
    if (line.kind == CommandLine::Kind::Error) {
        std::fputs(qPrintable(line.message), stderr);
        return 2;
    }
    QtPlatform platform;
    CardomoApplication program(platform);
    const QStringList& args = line.cardFiles;
    const bool splash = qEnvironmentVariableIsEmpty("CARDOMO_NO_SPLASH");
    program.Start(args, splash);
    TForm1* form1 = program.windows().form1;
    platform.SetParentWindow(form1);
    QObject::connect(form1, &TForm1::programEnded, &app, &QCoreApplication::quit);
    // After a signal or at the session's end, once the recovery copy is written.
    form1->Recovery().SetEndProgram([](int code) {
        std::fflush(nullptr);
        std::_Exit(code);
    });
    const int status = app.exec();
    // Nothing is left to save once the program may end (no card file is
    // open): the process ends without taking its windows and tables apart
    // one by one.
    std::fflush(nullptr);
    std::_Exit(status);
}
