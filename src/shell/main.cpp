#include "application.h"
#include "uusi6.h"
#include "qtplatform.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QtPlatform platform;
    CardomoApplication program(platform);
    const QStringList args = app.arguments().mid(1);
    const bool splash = qEnvironmentVariableIsEmpty("CARDOMO_NO_SPLASH");
    program.Start(args, splash);
    platform.SetParentWindow(program.form1.get());
    QObject::connect(program.form1.get(), &TForm1::programEnded, &app, &QCoreApplication::quit);
    return app.exec();
}
