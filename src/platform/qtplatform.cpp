#include "qtplatform.h"

#include "diskspace.h"
#include "timeformat.h"
#include "version.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QThread>
#include <QWindow>
#include <cstdlib>

#if QT_CONFIG(xcb) && defined(CARDOMO_X11_KEYBOARD)
#define CARDOMO_ASK_X 1
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#endif

EscKeyTracker::EscKeyTracker()
{
    if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(gui, &QGuiApplication::focusWindowChanged, this, [this] { held = false; });
}

bool EscKeyTracker::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && !key->isAutoRepeat())
            held = event->type() == QEvent::KeyPress;
        break;
    }
    case QEvent::ApplicationDeactivate:
        held = false;
        break;
    case QEvent::ApplicationStateChange:
        if (static_cast<QApplicationStateChangeEvent*>(event)->applicationState() != Qt::ApplicationActive)
            held = false;
        break;
    case QEvent::Close:
    case QEvent::Hide:
        if (auto* w = qobject_cast<QWidget*>(watched); w && w->isWindow())
            held = false;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

std::optional<bool> X11Keyboard::EscDown()
{
#ifdef CARDOMO_ASK_X
    auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    auto* x11 = gui ? gui->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c)
        return std::nullopt;
    if (!looked_) {
        // The key codes whose symbols hold Esc, from the server's keyboard map.
        looked_ = true;
        const xcb_setup_t* setup = xcb_get_setup(c);
        const int first = setup->min_keycode;
        const int count = setup->max_keycode - setup->min_keycode + 1;
        xcb_get_keyboard_mapping_reply_t* map = xcb_get_keyboard_mapping_reply(
            c, xcb_get_keyboard_mapping(c, setup->min_keycode, static_cast<uint8_t>(count)), nullptr);
        if (map) {
            const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map);
            const int perCode = map->keysyms_per_keycode;
            constexpr xcb_keysym_t EscapeSym = 0xff1b;
            for (int code = 0; code < count; ++code)
                for (int k = 0; k < perCode; ++k)
                    if (syms[code * perCode + k] == EscapeSym) {
                        escCodes_.push_back(static_cast<unsigned char>(first + code));
                        break;
                    }
            std::free(map);
        }
    }
    xcb_query_keymap_reply_t* keymap = xcb_query_keymap_reply(c, xcb_query_keymap(c), nullptr);
    if (!keymap)
        return std::nullopt;
    bool down = false;
    for (const unsigned char code : escCodes_)
        down = down || (keymap->keys[code / 8] & (1u << (code % 8))) != 0;
    std::free(keymap);
    return down;
#else
    return std::nullopt;
#endif
}

QtPlatform::QtPlatform() : random_(static_cast<quint32>(QDateTime::currentMSecsSinceEpoch()))
{
    if (qApp)
        qApp->installEventFilter(&esc_);
}

QtPlatform::~QtPlatform()
{
    if (qApp)
        qApp->removeEventFilter(&esc_);
}

QWidget* QtPlatform::DialogParent(QWidget* preferred)
{
    if (preferred && preferred->isVisible() && preferred->isEnabled())
        return preferred;
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow(); active && active->isEnabled())
        return active;
    return preferred;
}

MsgAnswer QtPlatform::Message(const QString& text, MsgIcon icon, MsgButtons buttons)
{
    QMessageBox box(DialogParent(parent_));
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setText(text);
    switch (icon) {
    case MsgIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MsgIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    switch (buttons) {
    case MsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    if (buttons == MsgButtons::YesNo)
        box.setEscapeButton(QMessageBox::No);
    KeepAboveStayOnTopWindows(box);
    const int r = box.exec();
    switch (r) {
    case QMessageBox::Ok:
        return MsgAnswer::Ok;
    case QMessageBox::Yes:
        return MsgAnswer::Yes;
    case QMessageBox::No:
        return MsgAnswer::No;
    default:
        return MsgAnswer::Cancel;
    }
}

QtPlatform::DialogFilter QtPlatform::QtFilter(const QString& filter)
{
    const qsizetype bar = filter.indexOf(u'|');
    if (bar < 0)
        return {filter, {}};
    QStringList patterns;
    for (const QString& p : filter.mid(bar + 1).split(u';', Qt::SkipEmptyParts)) {
        const QString pattern = p == QLatin1String("*.*") ? QStringLiteral("*") : p;
        if (!patterns.contains(pattern, Qt::CaseInsensitive))
            patterns << pattern;
    }
    return {filter.left(bar), patterns};
}

std::optional<QString> QtPlatform::FileDialog(const FileDialogRequest& request, bool save)
{
    QFileDialog dialog(DialogParent(parent_), request.title);
    // Qt's own dialog: its entry can read as the program gives it while it
    // lists files by other patterns, and it matches them without regard to
    // case (a desktop's native dialog would match *.KQK only).
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const DialogFilter filter = QtFilter(request.filter);
    dialog.setNameFilter(filter.entry);
    if (auto* model = dialog.findChild<QFileSystemModel*>(); model && !filter.patterns.isEmpty()) {
        // The dialog takes the patterns from the entry's text, and takes them
        // again when the entry is chosen anew: each time they are put back.
        const QStringList patterns = filter.patterns;
        auto listByPatterns = [model, patterns] { model->setNameFilters(patterns); };
        listByPatterns();
        QObject::connect(&dialog, &QFileDialog::filterSelected, model, listByPatterns);
    }
    if (!request.initialName.isEmpty())
        dialog.selectFile(request.initialName);
    KeepAboveStayOnTopWindows(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

std::optional<QString> QtPlatform::OpenFileDialog(const FileDialogRequest& request)
{
    return FileDialog(request, false);
}

std::optional<QString> QtPlatform::SaveFileDialog(const FileDialogRequest& request)
{
    return FileDialog(request, true);
}

const QString QtPlatform::NoPrinterText =
    QStringLiteral("No printer is installed. The pages can still be printed to a PDF file.");

std::optional<PrintChoice> QtPlatform::PrintDialog(PrintDialogState& state)
{
    if (state.maxPage < state.minPage)
        return std::nullopt;  // nothing to print
    if (!noPrinterTold_ && QPrinterInfo::availablePrinters().isEmpty()) {
        noPrinterTold_ = true;  // once is enough: the dialog itself shows what there is
        Message(NoPrinterText, MsgIcon::Warning, MsgButtons::Ok);
    }
    std::shared_ptr<QPrinter> printer = std::dynamic_pointer_cast<QPrinter>(state.printer);
    if (!printer) {
        printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
        state.printer = printer;
    }
    QPrintDialog dialog(printer.get(), DialogParent(parent_));
    // The program prints the range itself: the dialog only asks for it.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setMinMax(state.minPage, state.maxPage);
    dialog.setFromTo(state.fromPage, state.toPage);
    dialog.setPrintRange(
        state.range == PrintRange::PageRange ? QAbstractPrintDialog::PageRange : QAbstractPrintDialog::AllPages);
    KeepAboveStayOnTopWindows(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    PrintChoice choice;
    choice.printer = printer.get();
    if (dialog.printRange() == QAbstractPrintDialog::PageRange) {
        state.range = PrintRange::PageRange;
        state.fromPage = dialog.fromPage();
        state.toPage = dialog.toPage();
        choice.range = PrintRange::PageRange;
        choice.fromPage = state.fromPage;
        choice.toPage = state.toPage;
    } else {
        state.range = PrintRange::AllPages;
        choice.range = PrintRange::AllPages;
        choice.fromPage = state.minPage;
        choice.toPage = state.maxPage;
    }
    return choice;
}

int QtPlatform::RunModal(QDialog& dialog)
{
    const bool raised = KeepAboveStayOnTopWindows(dialog);
    const int result = dialog.exec();
    if (raised)
        dialog.setWindowFlag(Qt::WindowStaysOnTopHint, false);  // hidden again by now
    return result;
}

bool QtPlatform::KeepAboveStayOnTopWindows(QWidget& modal)
{
    if (modal.windowFlags() & Qt::WindowStaysOnTopHint)
        return false;
    for (const QWidget* w : QApplication::topLevelWidgets()) {
        if (w != &modal && w->isVisible() && (w->windowFlags() & Qt::WindowStaysOnTopHint)) {
            modal.setWindowFlag(Qt::WindowStaysOnTopHint, true);
            return true;
        }
    }
    return false;
}

bool QtPlatform::EscHeld()
{
    // On X the keyboard's own state; the key events elsewhere.
    if (escAsked_.isValid() && escAsked_.elapsed() < EscAskEvery)
        return escDown_;
    const std::optional<bool> down = x11_.EscDown();
    if (!down)
        return esc_.held;
    escAsked_.start();
    escDown_ = *down;
    return escDown_;
}

void QtPlatform::ProcessEvents()
{
    QApplication::processEvents();
}

void QtPlatform::Wait(int milliseconds)
{
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

void QtPlatform::ShellOpen(const QUrl& target)
{
    if (!target.isEmpty())
        QDesktopServices::openUrl(target);
}

QDateTime QtPlatform::Now()
{
    return QDateTime::currentDateTime();
}

QString QtPlatform::ShortDateFormat()
{
    return UserShortDateFormat();
}

QString QtPlatform::LongTimeFormat()
{
    return UserLongTimeFormat();
}

std::optional<qint64> QtPlatform::FreeSpace(const QString& path)
{
    return FreeSpaceOfVolume(path);
}

int QtPlatform::Random(int bound)
{
    return bound > 0 ? static_cast<int>(random_.bounded(bound)) : 0;
}

QString QtPlatform::ProgramFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString QtPlatform::DataFolder()
{
    return QStringLiteral(CARDOMO_DATA_DIR);
}
