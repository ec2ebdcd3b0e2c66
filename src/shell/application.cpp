#include "application.h"

#include "Preview.h"
#include "Unit10.h"
#include "Unit11.h"
#include "Unit12.h"
#include "Unit13.h"
#include "Unit15.h"
#include "Unit16.h"
#include "Unit18.h"
#include "Unit19.h"
#include "Unit20.h"
#include "Unit9.h"
#include "Unit17.h"
#include "frm2uusi6.h"
#include "odota6.h"
#include "aloitus.h"
#include "frmAbout6.h"
#include "ohje6.h"
#include "placement.h"
#include "platform.h"
#include "poiminta6.h"
#include "uusi6.h"
#include "version.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>

// The pictures and the licence text compiled into the program (outside any
// namespace, as the resource's initialiser is a global function).
static void LoadResources()
{
    Q_INIT_RESOURCE(cardomo);
}

CardomoApplication::CardomoApplication(Platform& platform) : context{store, platform, print, {}}
{
    LoadResources();
}

CardomoApplication::~CardomoApplication()
{
    while (!owned_.empty())
        owned_.pop_back();
}

namespace {
// A window manager tells the size of its frame only once the window is on
// the screen: the window is centred once more when it first learns it.
class CentreOnceFramed : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = static_cast<QWidget*>(watched);
        if ((event->type() == QEvent::Move || event->type() == QEvent::Resize)
            && window->frameGeometry() != window->geometry()) {
            window->removeEventFilter(this);
            CentreOnScreen(*window);
            deleteLater();
        }
        return false;
    }
};
}  // namespace

QIcon ProgramIcon()
{
    // Drawn from the SVG at every size; the PNG where no SVG reader is
    // installed.
    QIcon icon(QStringLiteral(":/cardomo.svg"));
    if (icon.pixmap(QSize(64, 64)).isNull())
        icon = QIcon(QStringLiteral(":/cardomo.png"));
    return icon;
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
    // The window system takes the windows' class from the application's name
    // when the first window is made: "cardomo", which the desktop entry
    // names, whether the start-up window or the main window comes first.
    QCoreApplication::setApplicationName(QStringLiteral("cardomo"));
    QGuiApplication::setDesktopFileName(QStringLiteral("cardomo"));
    QApplication::setWindowIcon(ProgramIcon());
    if (showSplash) {
        TfrmAloitus splash;
        context.platform.RunModal(splash);
    }

    // The main window is shown before its start-up steps, so that the Memo
    // counts its lines at the width it is shown with. It is centred on the
    // screen at its real size.
    auto main = std::make_unique<TForm1>(context);
    context.windows.form1 = main.get();
    owned_.push_back(std::move(main));
    context.windows.form1->winId();  // the window class is taken now
    // The program's own name titles the message boxes.
    QCoreApplication::setApplicationName(QStringLiteral("CARDOMO " CARDOMO_VERSION_MAJOR_MINOR " beta"));
    TForm1* form1 = context.windows.form1;
    form1->adjustSize();
    CentreOnScreen(*form1);
    form1->show();
    CentreOnScreen(*form1);  // again, with the frame the window system knows by now
    if (form1->frameGeometry() == form1->geometry())
        form1->installEventFilter(new CentreOnceFramed(form1));
    form1->FormCreate(args);

    // The other windows, hidden, in the order of program start.
    context.windows.preview = Create<TPreviewForm>();
    context.windows.form2 = Create<TForm2>();
    context.windows.form3 = Create<TForm3>();
    context.windows.form5 = Create<TForm5>();
    context.windows.form6 = Create<TForm6>();
    context.windows.form8 = Create<TForm8>();
    context.windows.form9 = Create<TForm9>();
    context.windows.form10 = Create<TForm10>();
    context.windows.form11 = Create<TForm11>();
    context.windows.form15 = Create<TForm15>();
    context.windows.form16 = Create<TForm16>();
    context.windows.form17 = Create<TForm17>();
    context.windows.form13 = Create<TForm13>();
    context.windows.form12 = Create<TForm12>();
    context.windows.screenSaver = Create<TSCRSaver>();
    context.windows.form19 = Create<TForm19>();
    context.windows.form20 = Create<TForm20>();
}
