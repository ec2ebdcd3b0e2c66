#include "Preview.h"

#include "cardstore.h"
#include "fonts.h"
#include "listingpages.h"
#include "pagetotals.h"
#include "platform.h"
#include "printstate.h"
#include "version.h"
#include "windowlinks.h"
#include "wiring.h"

#include <QMainWindow>

#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>
#include <cmath>
#include <limits>

namespace {

constexpr int ToolBarHeight = 25;
// The light colour of an inactive title bar's gradient, behind the page.
const QColor Background(215, 228, 242);

}  // namespace

const QString TPreviewForm::EndFailedText =
    QStringLiteral("Määrittelemätön ongelma. Sulje ja avaa esikatselu uudestaan");

TPreviewForm::TPreviewForm(WindowContext& context)
    : QDialog(nullptr), context_(context), s_(context.store), print_(context.print), platform_(context.platform)
{
    setObjectName(QStringLiteral("PreviewForm"));
    setWindowTitle(QStringLiteral("Preview - CARDOMO  " CARDOMO_VERSION_MAJOR_MINOR " beta"));
    // A resizable frame with a system menu and neither a minimise nor a
    // maximise box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_QuitOnClose, false);
    setSizeGripEnabled(false);
    // The background is forced light, so the texts are forced dark with
    // it: a palette made from the one colour sets every colour to match it,
    // and stays readable under a dark desktop palette.
    setPalette(QPalette(Background));
    setAutoFillBackground(true);

    ToolBar = new QToolBar(this);
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setFixedHeight(ToolBarHeight);
    ToolBar->setMovable(false);
    ToolBar->setFloatable(false);
    ToolBar->setFocusPolicy(Qt::NoFocus);
    HomeButton = ToolButton(
        "HomeButton", QStringLiteral("&Home"), QStringLiteral("First Card - Home"), &TPreviewForm::HomeButtonClick);
    PreviousButton = ToolButton("PreviousButton", QStringLiteral("Pre&vious"), QStringLiteral("Previous Card - PgUp"),
        &TPreviewForm::PreviousButtonClick);
    NextButton = ToolButton(
        "NextButton", QStringLiteral("&Next"), QStringLiteral("Next Card - PgDn"), &TPreviewForm::NextButtonClick);
    EndButton = ToolButton(
        "EndButton", QStringLiteral("&End"), QStringLiteral("Last Card - End"), &TPreviewForm::EndButtonClick);
    Label1 = new QLabel(ToolBar);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setContentsMargins(8, 0, 8, 0);
    ToolBar->addWidget(Label1);
    PrintButton = ToolButton("PrintButton", QStringLiteral("&Print"), QStringLiteral("Print Selected Pages"),
        &TPreviewForm::PrintButtonClick);
    CloseButton = ToolButton("CloseButton", QStringLiteral("&Close"), QStringLiteral("Close the Preview form  ESC"),
        &TPreviewForm::CloseButtonClick);
    Label2 = new QLabel(ToolBar);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(ArialPx(11));
    QPalette red = Label2->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Label2->setPalette(red);
    // On the tool bar a label would take the buttons' text colour.
    Label2->setForegroundRole(QPalette::WindowText);
    Label2->setContentsMargins(8, 0, 0, 0);
    ToolBar->addWidget(Label2);

    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setFont(PixelFont(QStringLiteral("Arial Narrow"), 11));
    Label3->move(4, ToolBarHeight + 2);

    ToolBar->setAccessibleName(QStringLiteral("Preview tool bar"));
    PageText = new QWidget(this);
    PageText->setObjectName(QStringLiteral("PageText"));
    PageText->setAttribute(Qt::WA_TransparentForMouseEvents);
    PageText->setFocusPolicy(Qt::NoFocus);
    PageText->setAccessibleName(QStringLiteral("Page"));

    // The window as designed: a client area of 1042 x 722 at 114, 0.
    resize(1042, 722);
    move(114, 0);

    drawing_ = [](QPainter& canvas, int page, int width, int height, int ppiX, int ppiY, const PageSources& sources) {
        return DrawPage(canvas, page, width, height, true, ppiX, ppiY, sources);
    };
    countTimer_ = new QTimer(this);
    countTimer_->setInterval(100);
    connect(countTimer_, &QTimer::timeout, this, [this] { RunCommand(platform_, [this] { CountPages(); }); });

    Page = StartPage(s_, print_);
    Label2->clear();
}

TPreviewForm::~TPreviewForm()
{
    Label2->clear();
}

QToolButton* TPreviewForm::ToolButton(
    const char* name, const QString& caption, const QString& hint, void (TPreviewForm::*handler)())
{
    auto* b = new QToolButton(ToolBar);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(caption);
    b->setToolTip(hint);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setAutoRaise(true);  // flat
    b->setFocusPolicy(Qt::NoFocus);
    ToolBar->addWidget(b);
    Wire(b, platform_, this, handler);
    return b;
}

void TPreviewForm::SetPageDrawing(PageDrawing drawing)
{
    drawing_ = std::move(drawing);
}

TPreviewForm::Result TPreviewForm::ShowPreview()
{
    return platform_.RunModal(*this) == QDialog::Accepted ? Print : Cancel;
}

int TPreviewForm::Total() const
{
    return PageTotal(s_, print_);
}

void TPreviewForm::SetCounter()
{
    Label1->setText(QString::number(Page) + u'/' + QString::number(Total()));
}

int TPreviewForm::ScreenPixelsPerInch() const
{
    const QWidget* main = context_.windows.main ? context_.windows.main->window : nullptr;
    return main ? main->logicalDpiY() : logicalDpiY();
}

// ---------------------------------------------------------------------------
// The page image

void TPreviewForm::FitPreviewBitmap()
{
    const PreviewBitmapSize size = PreviewBitmapFor(width());
    if (PreBits.width() != size.width || PreBits.height() != size.height) {
        PreBits = QImage(size.width, size.height, QImage::Format_RGB32);
        // The image's fonts take their point sizes at the screen's pixels
        // per inch, which the drawer's font scaling divides by.
        const int dotsPerMeter = static_cast<int>(std::lround(ScreenPixelsPerInch() / 0.0254));
        PreBits.setDotsPerMeterX(dotsPerMeter);
        PreBits.setDotsPerMeterY(dotsPerMeter);
        PreBits.fill(Qt::white);
    }
    PpiX = size.ppiX;
    PpiY = size.ppiY;
    if (!isMaximized() && !isFullScreen()) {
        const int clientHeight = PreviewClientHeight(size, ToolBar->height());
        if (height() != clientHeight) {
            // The caller draws the page: the resize does not draw it again.
            const QScopedValueRollback<bool> guard(fitting_, true);
            resize(width(), clientHeight);
        }
    }
}

void TPreviewForm::DrawPreview()
{
    if (!PreBits.isNull()) {
        const QDateTime now = platform_.Now();
        const PageSources sources{s_, print_, now.date().toString(platform_.ShortDateFormat()),
            now.time().toString(platform_.LongTimeFormat()), ScreenPixelsPerInch()};
        QPainter canvas(&PreBits);
        ShowNote(drawing_(canvas, Page, PreBits.width(), PreBits.height(), PpiX, PpiY, sources));
        canvas.end();
        // The lines the page shows, for a screen reader: a card's page
        // shows its first 51 lines.
        QStringList lines = print_.piilomemo.Lines();
        if (print_.PrintMode != PrintMode::ListPrint && lines.size() > 51)
            lines = lines.mid(0, 51);
        PageText->setGeometry(width() / 4, ToolBar->height() + 10, PreBits.width(), PreBits.height());
        PageText->setAccessibleName(QStringLiteral("Page ") + Label1->text());
        PageText->setAccessibleDescription(lines.join(u'\n'));
    }
    update();
}

void TPreviewForm::ShowNote(const QString& note)
{
    Label2->setText(note);
}

void TPreviewForm::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(width() / 4, ToolBar->height() + 10, PreBits);
}

// ---------------------------------------------------------------------------
// Showing, activation and size

void TPreviewForm::Activated()
{
    if (activating_)
        return;
    const QScopedValueRollback<bool> guard(activating_, true);
    RunCommand(platform_, [this] {
        print_.piilomemo.Clear();
        Page = StartPage(s_, print_);
        FitPreviewBitmap();
        SetCounter();
        DrawPreview();
    });
}

bool TPreviewForm::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && isVisible()) {
        if (drawnForShowing_)
            drawnForShowing_ = false;
        else
            Activated();
    }
    return QDialog::event(event);
}

// The frame's width on each side; before the window system has framed the
// preview, the main window's frame stands in for it.
QMargins TPreviewForm::FrameMargins() const
{
    auto margins = [](const QWidget& w) {
        const QRect frame = w.frameGeometry();
        const QRect client = w.geometry();
        return QMargins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom());
    };
    const QMargins own = margins(*this);
    if (!own.isNull())
        return own;
    const QWidget* main = context_.windows.main ? context_.windows.main->window : nullptr;
    return main && main->isVisible() ? margins(*main) : own;
}

// The window stands wholly on the free area of its screen: narrower where
// the screen is too small for it (its height follows its width by the image
// rule), and moved inside. Returns whether its size changed.
bool TPreviewForm::FitOnScreen()
{
    if (isMaximized() || isFullScreen())
        return false;
    const QScreen* where = screen();
    if (!where)
        return false;
    const QRect room = where->availableGeometry();
    const QMargins frame = FrameMargins();
    const int roomWidth = room.width() - frame.left() - frame.right();
    const int roomHeight = room.height() - frame.top() - frame.bottom();
    const int fitted = PreviewClientWidthFor(width(), roomWidth, roomHeight, ToolBar->height());
    bool resized = false;
    if (fitted > 0 && fitted != width()) {
        resize(fitted, PreviewClientHeight(PreviewBitmapFor(fitted), ToolBar->height()));
        resized = true;
    }
    // The frame's top left corner, moved so that the whole frame lies in
    // the room.
    const QSize outer(width() + frame.left() + frame.right(), height() + frame.top() + frame.bottom());
    const QPoint at = frameGeometry().topLeft();
    const int x = std::max(room.left(), std::min(at.x(), room.right() + 1 - outer.width()));
    const int y = std::max(room.top(), std::min(at.y(), room.bottom() + 1 - outer.height()));
    if (QPoint(x, y) != at)
        move(x, y);
    return resized;
}

void TPreviewForm::showEvent(QShowEvent* event)
{
    {
        // The page is drawn for the size it gets below.
        const QScopedValueRollback<bool> guard(fitting_, true);
        FitOnScreen();
    }
    fitWhenFramed_ = frameGeometry() == geometry();
    QDialog::showEvent(event);
    if (print_.paging)
        countTimer_->start();
    ShowOuterSize();
    // The page is there when the window first shows, also where the window
    // system does not make it the active window.
    Activated();
    drawnForShowing_ = true;
}

void TPreviewForm::hideEvent(QHideEvent* event)
{
    Label2->clear();
    countTimer_->stop();
    drawnForShowing_ = false;
    fitWhenFramed_ = false;
    QDialog::hideEvent(event);
}

void TPreviewForm::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    ToolBar->setGeometry(0, 0, width(), ToolBarHeight);
    if (isVisible() && !fitting_) {
        RunCommand(platform_, [this] {
            FitPreviewBitmap();
            DrawPreview();
        });
    }
    ShowOuterSize();
}

void TPreviewForm::moveEvent(QMoveEvent* event)
{
    QDialog::moveEvent(event);
    if (fitWhenFramed_ && isVisible() && frameGeometry() != geometry()) {
        fitWhenFramed_ = false;
        FitOnScreen();
    }
    // The window system tells the frame's size when it frames the window,
    // after the first showing; the window moves then.
    ShowOuterSize();
}

void TPreviewForm::ShowOuterSize()
{
    const QRect outer = frameGeometry();
    const QString text = QString::number(outer.width()) + u',' + QString::number(outer.height());
    if (Label3->text() != text) {
        Label3->setText(text);
        Label3->adjustSize();
    }
}

// ---------------------------------------------------------------------------
// Page moves

void TPreviewForm::KeepSourceInStep()
{
    switch (print_.PrintMode) {
    case PrintMode::CardPrint:
        if (MainWindowLink* main = context_.windows.main) {
            main->storeShownCard();
            s_.CurrentCard = Page - 1;
            main->showCard();
            main->storeShownCard();
        }
        break;
    case PrintMode::PickedCardPrint:
        s_.CurrentPicked = Page - 1;
        if (PickedWindowLink* picked = context_.windows.picked)
            picked->showCard();
        break;
    case PrintMode::ListPrint:
        break;
    }
}

void TPreviewForm::CountPages()
{
    if (!print_.paging) {
        countTimer_->stop();
        return;
    }
    const bool done = print_.paging->Collect(print_);
    SetCounter();
    if (done) {
        print_.paging.reset();
        countTimer_->stop();
        if (print_.PrintMode == PrintMode::ListPrint)
            DrawPreview();
    }
}

void TPreviewForm::WaitForPagesOf(PreviewMove move)
{
    if (!print_.paging || print_.PrintMode != PrintMode::ListPrint)
        return;
    int needed = 0;
    switch (move) {
    case PreviewMove::Next:
        needed = Page + 1;
        break;
    case PreviewMove::ForwardTen:
        needed = Page + 11;
        break;
    case PreviewMove::End:
        needed = std::numeric_limits<int>::max();
        break;
    default:
        return;
    }
    if (needed <= print_.ListingPageCount)
        return;
    print_.paging->WaitForPages(print_, needed);
    if (print_.paging->Done()) {
        print_.paging.reset();
        countTimer_->stop();
    }
}

void TPreviewForm::Move(PreviewMove move)
{
    Label2->clear();
    WaitForPagesOf(move);
    const std::optional<int> page = PageAfterMove(move, Page, Total());
    if (!page)
        return;
    Page = *page;
    SetCounter();
    KeepSourceInStep();
    DrawPreview();
}

void TPreviewForm::PreviousButtonClick()
{
    Move(PreviewMove::Previous);
}
void TPreviewForm::NextButtonClick()
{
    Move(PreviewMove::Next);
}
void TPreviewForm::HomeButtonClick()
{
    Move(PreviewMove::Home);
}
void TPreviewForm::BackTen()
{
    Move(PreviewMove::BackTen);
}
void TPreviewForm::ForwardTen()
{
    Move(PreviewMove::ForwardTen);
}

void TPreviewForm::EndButtonClick()
{
    Label2->clear();
    WaitForPagesOf(PreviewMove::End);
    const std::optional<int> page = PageAfterMove(PreviewMove::End, Page, Total());
    if (!page)
        return;
    Page = *page;
    SetCounter();
    KeepSourceInStep();
    try {
        DrawPreview();
    } catch (const std::exception&) {
        // The preview closes first, so that the page that failed is not
        // drawn again when the message box gives the window back.
        CloseButtonClick();
        platform_.Message(EndFailedText);
    }
}

void TPreviewForm::CloseButtonClick()
{
    Label2->clear();
    countTimer_->stop();
    print_.paging.reset();
    print_.piilomemo.Clear();
    print_.ListingPages.clear();
    print_.ListingPageCount = 0;
    done(QDialog::Rejected);
}

void TPreviewForm::PrintButtonClick()
{
    Label2->clear();
    done(QDialog::Accepted);
}

// ---------------------------------------------------------------------------
// Keys and the wheel

void TPreviewForm::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool alt = mods & Qt::AltModifier;
    void (TPreviewForm::*command)() = nullptr;
    switch (event->key()) {
    case Qt::Key_Escape:
        command = &TPreviewForm::CloseButtonClick;
        break;
    case Qt::Key_PageUp:
        command = alt ? &TPreviewForm::BackTen : &TPreviewForm::PreviousButtonClick;
        break;
    case Qt::Key_PageDown:
        command = alt ? &TPreviewForm::ForwardTen : &TPreviewForm::NextButtonClick;
        break;
    case Qt::Key_Home:
        command = &TPreviewForm::HomeButtonClick;
        break;
    case Qt::Key_End:
        command = &TPreviewForm::EndButtonClick;
        break;
    default:
        // Ctrl+P comes as the character U+0010.
        if (event->text() == QString(QChar(0x10))
            || (event->key() == Qt::Key_P && (mods & (Qt::ControlModifier | Qt::AltModifier)) == Qt::ControlModifier))
            command = &TPreviewForm::PrintButtonClick;
        break;
    }
    if (!command) {
        QDialog::keyPressEvent(event);
        return;
    }
    event->accept();
    RunCommand(platform_, [this, command] { (this->*command)(); });
}

void TPreviewForm::wheelEvent(QWheelEvent* event)
{
    event->accept();
    MoveByWheel(
        platform_, wheel_, event, [this] { PreviousButtonClick(); }, [this] { NextButtonClick(); });
}
