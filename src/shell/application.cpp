#include "application.h"

#include "Preview.h"
#include "Unit10.h"
#include "Unit11.h"
#include "Unit12.h"
#include "Unit13.h"
#include "Unit15.h"
#include "Unit16.h"
#include "Unit17.h"
#include "Unit18.h"
#include "Unit19.h"
#include "Unit20.h"
#include "Unit9.h"
#include "aloitus.h"
#include "frm2uusi6.h"
#include "frmAbout6.h"
#include "odota6.h"
#include "ohje6.h"
#include "placement.h"
#include "platform.h"
#include "poiminta6.h"
#include "uusi6.h"
#include "version.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>
#include <initializer_list>

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

template <typename Window> Window* CardomoApplication::Create()
{
    auto window = std::make_unique<Window>(context);
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
    form1_ = Create<TForm1>();
    TForm1* form1 = form1_;
    form1->winId();  // the window class is taken now
    // The program's own name titles the message boxes.
    QCoreApplication::setApplicationName(QStringLiteral("CARDOMO " CARDOMO_VERSION_MAJOR_MINOR " beta"));
    form1->adjustSize();
    CentreOnScreen(*form1);
    form1->show();
    CentreOnScreen(*form1);  // again, with the frame the window system knows by now
    if (form1->frameGeometry() == form1->geometry())
        form1->installEventFilter(new CentreOnceFramed(form1));

    // The other windows, hidden, in the order of program start. No window
    // looks another up while it is built: the context gets them all at once.
    Windows all;
    all.main = &form1->Link();
    all.preview = Create<TPreviewForm>();
    all.form2 = Create<TForm2>();
    form3_ = Create<TForm3>();
    all.picked = &form3_->Link();
    all.form5 = Create<TForm5>();
    all.form6 = Create<TForm6>();
    all.form8 = Create<TForm8>();
    all.form9 = Create<TForm9>();
    all.form10 = Create<TForm10>();
    all.form11 = Create<TForm11>();
    all.form15 = Create<TForm15>();
    all.form16 = Create<TForm16>();
    all.form17 = Create<TForm17>();
    all.form13 = Create<TForm13>();
    all.form12 = Create<TForm12>();
    all.screenSaver = Create<TSCRSaver>();
    all.form19 = Create<TForm19>();
    all.form20 = Create<TForm20>();
    context.windows = all;

    // For the window system, the dialogs and viewers of the main window are
    // its windows (in front of it), and the listing's find window is the
    // listing window's (usable beside it while it runs modally).
    for (QWidget* window : std::initializer_list<QWidget*>{form3_, all.form6, all.form8, all.form9, all.form11,
             all.form15, all.form16, all.form13, all.form12, all.screenSaver, all.form19, all.form20})
        KeepInFrontOf(*window, *form1);
    KeepInFrontOf(*all.form17, *all.form2);
    for (QWidget* control : form3_->SwitchedHintControls())
        form1->AddSwitchedHint(control, control->toolTip());

    form1->FormCreate(args);
}
