#include "frm2uusi6.h"

#include "Preview.h"
#include "Unit17.h"
#include "cardstore.h"
#include "filenames.h"
#include "fonts.h"
#include "generalerror.h"
#include "inputhold.h"
#include "listingpages.h"
#include "listingtext.h"
#include "longwork.h"
#include "odota6.h"
#include "platform.h"
#include "printcommand.h"
#include "safesave.h"
#include "textexport.h"
#include "windowlinks.h"
#include "wiring.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <optional>

namespace {
const QString ListingFilter = QStringLiteral("text file *.TXT|*.txt");
// Above this many display lines the preview's pages are cut with the wait
// window up.
constexpr int WaitWindowLines = 1000;
// A listing longer than this many characters is cut into pages while the
// preview shows its first page; the counter follows the pages as they are
// cut.
constexpr qsizetype PagedWhileShownChars = 1 << 20;
}  // namespace

// Not a child of the main window: the main window is disabled while this
// window is shown, and a disabled window disables its children.
TForm2::TForm2(WindowContext& context)
    : QDialog(nullptr), context_(context), s_(context.store), platform_(context.platform)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_QuitOnClose, false);

    memoLISTAUS = new ListingTextEdit(this);
    memoLISTAUS->setObjectName(QStringLiteral("memoLISTAUS"));
    memoLISTAUS->setFont(ArialPx(12));
    memoLISTAUS->setAccessibleName(QStringLiteral("Listing"));

    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    Lomake1 = MainMenu1->addMenu(QStringLiteral("Form"));
    Lomake1->setObjectName(QStringLiteral("Lomake1"));
    Tallenna1 = Entry(Lomake1, "Tallenna1", QStringLiteral("Save as text"), QKeySequence(Qt::CTRL | Qt::Key_K),
        &TForm2::Tallenna1Click);
    Esikatselu1 = Entry(Lomake1, "Esikatselu1", QStringLiteral("Preview"), QKeySequence(Qt::CTRL | Qt::Key_E),
        &TForm2::Esikatselu1Click);
    Tulosta1 =
        Entry(Lomake1, "Tulosta1", QStringLiteral("Print"), QKeySequence(Qt::CTRL | Qt::Key_P), &TForm2::Tulosta1Click);
    Lomake1->addSeparator();
    Poistu1 = Entry(Lomake1, "Poistu1", QStringLiteral("Form Close   ESC"), {}, &TForm2::Poistu1Click);
    Etsi1 = MainMenu1->addMenu(QStringLiteral("Find"));
    Etsi1->setObjectName(QStringLiteral("Etsi1"));
    Etsi1->setToolTipsVisible(true);
    Etsisanaa1 = Entry(Etsi1, "Etsisanaa1", QStringLiteral("Find a word"), QKeySequence(Qt::CTRL | Qt::Key_F),
        &TForm2::Etsisanaa1Click);
    Etsiseuraava1 = Entry(Etsi1, "Etsiseuraava1", QStringLiteral("Find next  (Ctrl+D)"), QKeySequence(Qt::Key_F3),
        &TForm2::Etsiseuraava1Click);
    Etsiseuraava1->setToolTip(QStringLiteral("Try also Ctrl + D"));
    // "Find Next 2" stays out of sight; a hidden entry's key would not work,
    // so it is an entry of the window rather than of the menu.
    FindNext21 = WireKey(this, QKeySequence(Qt::CTRL | Qt::Key_D), platform_, [this] { FindNext21Click(); });
    FindNext21->setObjectName(QStringLiteral("FindNext21"));
    FindNext21->setText(QStringLiteral("Find Next 2"));
    PrintBitBtn = new QPushButton(QStringLiteral("&Print"), this);
    PrintBitBtn->setObjectName(QStringLiteral("PrintBitBtn"));
    PrintBitBtn->hide();
    Wire(PrintBitBtn, platform_, this, &TForm2::PrintBitBtnClick);
    PreviewBitBtn = new QPushButton(QStringLiteral("Previe&w"), this);
    PreviewBitBtn->setObjectName(QStringLiteral("PreviewBitBtn"));
    PreviewBitBtn->hide();
    Wire(PreviewBitBtn, platform_, this, &TForm2::PreviewBitBtnClick);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(MainMenu1);
    layout->addWidget(memoLISTAUS);

    // The text area fills a client area of 467 x 547 below the menu bar.
    resize(467, 547 + MainMenu1->sizeHint().height());
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

QAction* TForm2::Entry(
    QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut, void (TForm2::*handler)())
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(shortcut);
    a->setShortcutContext(Qt::WindowShortcut);
    Wire(a, platform_, this, handler);
    return a;
}

void TForm2::SetListing(QString text, const QString& caption)
{
    memoLISTAUS->SetText(std::move(text));
    setWindowTitle(caption);
}

void TForm2::SetListing(QString text, QTextDocument* filled, const QString& caption)
{
    memoLISTAUS->SetText(std::move(text), filled);
    setWindowTitle(caption);
}

void TForm2::SetPickedWindow(QWidget* pickedWindow, bool mainEnabled)
{
    pickedWindow_ = pickedWindow;
    mainEnabledUnderPicked_ = mainEnabled;
}

void TForm2::ShowModalListing()
{
    memoLISTAUS->setFocus();
    platform_.RunModal(*this);
    Poistu1Click();
}

QString TForm2::ListingText() const
{
    return memoLISTAUS->Text();
}

void TForm2::keyPressEvent(QKeyEvent* event)
{
    // Esc held down to interrupt a long listing repeats into this window once
    // it shows: only a fresh press of Esc closes it.
    if (event->key() == Qt::Key_Escape && event->isAutoRepeat()) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm2::reject()
{
    RunCommand(platform_, [this] { Poistu1Click(); });
}

// ---------------------------------------------------------------------------
// Close

void TForm2::Poistu1Click()
{
    if (TForm17* find = context_.windows.form17)
        find->close();
    memoLISTAUS->Clear();
    QDialog::reject();
    QMainWindow* main = context_.windows.main->window;
    if (!s_.PickedWindowActive) {
        main->setEnabled(true);
        main->show();
        main->activateWindow();
        return;
    }
    // The picked cards window keeps the main window disabled.
    main->setEnabled(mainEnabledUnderPicked_);
    if (pickedWindow_)
        pickedWindow_->setEnabled(true);
    main->show();
    if (pickedWindow_) {
        pickedWindow_->show();
        pickedWindow_->activateWindow();
    }
}

// ---------------------------------------------------------------------------
// Save as text

void TForm2::Tallenna1Click()
{
    const std::optional<QString> chosen =
        platform_.SaveFileDialog({ListingSaveDialogTitle, ListingFilter, FileNamePart(saveName_)});
    if (!chosen)
        return;
    saveName_ = *chosen;
    const QString path = WithTxtExtension(*chosen);
    if (QFileInfo::exists(path)
        && platform_.Message(ReplaceFileQuestion(path), MsgIcon::None, MsgButtons::YesNoCancel) != MsgAnswer::Yes)
        return;
    const QString text = memoLISTAUS->Text();
    std::optional<QString> failure;
    try {
        const SaveResult r = SafeSave(path, [&text](QIODevice& device) { return WriteListingText(device, text); });
        if (r.status != SaveResult::Ok)
            failure = r.errorText;
    } catch (const GeneralError& e) {
        failure = e.text();
    }
    if (failure)
        platform_.Message(ListingSaveFailedMessage(*failure));
}

// ---------------------------------------------------------------------------
// Find

void TForm2::Etsisanaa1Click()
{
    context_.windows.form17->ShowFind();
}

void TForm2::Etsiseuraava1Click()
{
    context_.windows.form17->Button1Click();
}

void TForm2::FindNext21Click()
{
    Etsiseuraava1Click();
}

// ---------------------------------------------------------------------------
// Preview and printing

void TForm2::Esikatselu1Click()
{
    const Windows& w = context_.windows;
    if (w.form17 && w.form17->isVisible())
        w.form17->close();
    // Cutting a long listing into pages takes a moment: the wait window
    // stands meanwhile, its caption moving at a readable rate.
    TForm5* wait = memoLISTAUS->ShowsMoreLinesThan(WaitWindowLines) ? w.form5 : nullptr;
    if (wait) {
        wait->setWindowTitle(BuildingPreviewTitle);
        wait->ShowWait();
    }
    try {
        LongWork work(platform_, wait);
        // Each caption set goes to the window system at once, so that it shows
        // while the pages are built; the listing window takes no input
        // meanwhile (its text is being paged).
        std::optional<InputHold> hold;
        if (wait)
            hold.emplace(this);
        const QString text = memoLISTAUS->Text();
        if (text.size() > PagedWhileShownChars) {
            StartListingPages(context_.print, text);
        } else {
            BuildListingPages(context_.print, text, [this, &work](int page, int fullPages) {
                const int before = work.CaptionsSet();
                work.Caption([page, fullPages] { return BuildingPreviewCaption(page, fullPages); });
                if (work.CaptionsSet() != before)
                    platform_.ProcessEvents();
            });
        }
    } catch (...) {
        if (wait)
            wait->CloseWait();
        throw;
    }
    if (wait)
        wait->CloseWait();
    PreviewBitBtnClick();
}

void TForm2::PreviewBitBtnClick()
{
    context_.print.PrintMode = PrintMode::ListPrint;
    const TPreviewForm::Result result = context_.windows.preview->ShowPreview();
    // Closed before every page was cut (not by "&Close", which drops them):
    // the pages stay whole for printing.
    FinishListingPages(context_.print);
    if (result == TPreviewForm::Print)
        PrintBitBtnClick();
}

void TForm2::Tulosta1Click()
{
    BuildListingPages(context_.print, memoLISTAUS->Text());
    PrintBitBtnClick();
}

void TForm2::PrintBitBtnClick()
{
    PrintPages(context_, printDialog_, PrintMode::ListPrint);
}
