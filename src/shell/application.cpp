#include "application.h"

#include "Unit10.h"
#include "Unit12.h"
#include "Unit15.h"
#include "Unit17.h"
#include "frm2uusi6.h"
#include "odota6.h"
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

namespace {
// Puts a window's frame in the middle of the screen.
void Centre(QWidget* window)
{
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
}
}  // namespace

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
    Centre(form1);
    form1->show();
    Centre(form1);  // again, now that the window frame is known
    form1->FormCreate(args);

    // The other windows, hidden, in the order of program start.
    context.windows.form2 = Create<TForm2>();
    context.windows.form5 = Create<TForm5>();
    context.windows.form10 = Create<TForm10>();
    context.windows.form15 = Create<TForm15>();
    context.windows.form17 = Create<TForm17>();
    context.windows.form12 = Create<TForm12>();
}
