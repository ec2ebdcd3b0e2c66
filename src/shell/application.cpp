#include "application.h"

#include "aloitus.h"
#include "Unit12.h"
#include "Unit15.h"
#include "uusi6.h"
#include "platform.h"

#include <QApplication>
#include <QScreen>

CardomoApplication::CardomoApplication(Platform& platform) : platform_(platform) {}

CardomoApplication::~CardomoApplication() = default;

void CardomoApplication::Start(const QStringList& args, bool showSplash)
{
    if (showSplash) {
        TfrmAloitus splash;
        platform_.RunModal(splash);
    }
    QCoreApplication::setApplicationName(QStringLiteral("CARDOMO 0.5 beta"));

    // The main window is shown before its start-up steps, so that the Memo
    // counts its lines at the width it is shown with.
    form1 = std::make_unique<TForm1>(store, platform_);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        form1->move(available.center() - QPoint(form1->width() / 2, form1->height() / 2));
    }
    form1->show();
    form1->FormCreate(args);

    // The other windows, hidden, in the order of program start.
    form15 = std::make_unique<TForm15>(platform_, form1->memoMUISTIINPANO, form1.get());
    form12 = std::make_unique<TForm12>(form1.get());
    form1->SetMemoFindWindow(form15.get());
    form1->SetWaitWindow(form12.get());
}
