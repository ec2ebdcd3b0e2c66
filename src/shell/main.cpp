#include "application.h"
#include "endsignals.h"
#include "qtplatform.h"
#include "recoverykeeper.h"
#include "uusi6.h"
#include "version.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>

namespace {

// --help and --version answer as Qt programs do, before any window or display
// is needed; any other argument is left for the program (a card file path).
bool AnsweredCommandLine(int argc, char* argv[])
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    QCoreApplication::setApplicationName(QStringLiteral("cardomo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CARDOMO_VERSION_FULL));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Note Card Software: a card file database."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("cardfile"), QStringLiteral("The card file (.kqk) to open."),
                                 QStringLiteral("[cardfile]"));
    parser.parse(args);  // options it does not know stay arguments of the program
    if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return true;
    }
    if (parser.isSet(version)) {
        std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()),
                    qPrintable(QCoreApplication::applicationVersion()));
        return true;
    }
    return false;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc == 2 && AnsweredCommandLine(argc, argv))
        return 0;
    EndSignals::Install();  // a signal from here on waits in its pipe for the main window
    QApplication app(argc, argv);
    QtPlatform platform;
    CardomoApplication program(platform);
    const QStringList args = app.arguments().mid(1);
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
