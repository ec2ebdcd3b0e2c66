#include "application.h"

#include "Unit12.h"
#include "Unit15.h"
#include "Unit16.h"
#include "aloitus.h"
#include "platform.h"
#include "uusi6.h"
#include "version.h"

#include <QApplication>
#include <QScreen>

CardomoApplication::CardomoApplication(Platform& platform) : context{store, platform, {}} {}

CardomoApplication::~CardomoApplication()
{
    while (!owned_.empty())
        owned_.pop_back();
}

template <typename Window>
Window* CardomoApplication::Create()
{
    auto window = std::make_unique<Window>(context, context.windows.form1);
    Window* w = window.get();
    owned_.push_back(std::move(window));
    return w;
}

void CardomoApplication::Start(const QStringList& args, bool showSplash)
{
    if (showSplash) {
        TfrmAloitus splash;
        context.platform.RunModal(splash);
    }
    QCoreApplication::setApplicationName(QStringLiteral("CARDOMO " CARDOMO_VERSION_MAJOR_MINOR " beta"));

    // The main window is shown before its start-up steps, so that the Memo
    // counts its lines at the width it is shown with. It is centred on the
    // screen at its real size.
    auto main = std::make_unique<TForm1>(context);
    context.windows.form1 = main.get();
    owned_.push_back(std::move(main));
    TForm1* form1 = context.windows.form1;
    form1->adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = form1->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        form1->move(frame.topLeft());
    }
    form1->show();
    form1->FormCreate(args);

    // The other windows, hidden, in the order of program start.
    context.windows.form15 = Create<TForm15>();
    context.windows.form16 = Create<TForm16>();
    context.windows.form12 = Create<TForm12>();
}
