// The print preview: shows the pages of the current PrintMode one at a time
// on a page image whose size follows the window's width, moves between them
// (keeping the window the pages come from on the page shown), and can start
// printing. Created once at program start and shown modally by the preview
// commands of the main window, the picked cards window and the listing
// window.
#pragma once

#include "Drawpage.h"
#include "keypreview.h"
#include "previewpaging.h"
#include "windows.h"

#include <QDialog>
#include <QImage>
#include <functional>

struct CardStore;
class Platform;
class QLabel;
class QTimer;
class QToolBar;
class QToolButton;

class TPreviewForm : public QDialog {
    Q_OBJECT
public:
    // How a modal display of the preview ended.
    enum Result {
        Cancel = QDialog::Rejected,  // "&Close", Esc, the title bar's close box
        Print = QDialog::Accepted,  // "&Print", Ctrl+P: the caller's print command runs
    };

    // Not a child of the main window: the windows it previews from disable
    // the main window, and a disabled window disables its children.
    explicit TPreviewForm(WindowContext& context);
    ~TPreviewForm() override;

    // Shows the preview modally on the pages of the current PrintMode,
    // starting at its start page; returns how it ended.
    Result ShowPreview();

    // The page image for the client width: half the width, 1.3 times as
    // high, PpiX and PpiY from the image taken as 8.268 x 12 inches; unless
    // the window is maximised, its client height follows (image height +
    // tool bar + 20).
    void FitPreviewBitmap();

    // The page moves. Each clears Label2 first; a move refused where it
    // stands does nothing more.
    void PreviousButtonClick();  // "Pre&vious", PageUp, Ctrl+PageUp, wheel up
    void NextButtonClick();  // "&Next", PageDown, Ctrl+PageDown, wheel down
    void HomeButtonClick();  // "&Home", Home
    void EndButtonClick();  // "&End", End
    void BackTen();  // Alt+PageUp
    void ForwardTen();  // Alt+PageDown
    // "&Close" (Esc): empties the line breaker and the listing pages and
    // ends the display with Cancel.
    void CloseButtonClick();
    // "&Print" (Ctrl+P): ends the display with Print.
    void PrintButtonClick();

    // The note of the page shown (a card that does not fit) in the red
    // Label2: the label tells about the page on the screen and nothing else,
    // so a page without a note clears it.
    void ShowNote(const QString& note);

    // How a page is drawn on the page image (DrawPage with the fonts scaled
    // to the image); a test puts in a drawing that fails.
    using PageDrawing = std::function<QString(
        QPainter& canvas, int page, int width, int height, int ppiX, int ppiY, const PageSources& sources)>;
    void SetPageDrawing(PageDrawing drawing);

    // The message of a failure while drawing the last page.
    static const QString EndFailedText;

    QImage PreBits;  // the page image
    int PpiX = 0;  // image pixels per page inch across
    int PpiY = 0;  // image pixels per page inch down
    int Page = 1;  // the page shown, 1-based

    QToolBar* ToolBar;
    QToolButton* HomeButton;
    QToolButton* PreviousButton;
    QToolButton* NextButton;
    QToolButton* EndButton;
    QLabel* Label1;  // the page counter: Page + "/" + total
    QToolButton* PrintButton;
    QToolButton* CloseButton;
    QLabel* Label2;  // the red note of a card that does not fit
    QLabel* Label3;  // the window's outer width and height
    // Over the page image, drawing nothing: what a screen reader reads of
    // the page, "Page" with the counter as its name and the page's lines as
    // its description.
    QWidget* PageText;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QToolButton* ToolButton(
        const char* name, const QString& caption, const QString& hint, void (TPreviewForm::*handler)());
    void Activated();
    int Total() const;
    void SetCounter();
    void DrawPreview();
    void Move(PreviewMove move);
    // The pages a move needs, while a long listing is still being cut into
    // pages: waits until they are there (all of them for End).
    void WaitForPagesOf(PreviewMove move);
    // Takes the listing pages cut since the last call; once they are all
    // there, the counter and the page (its footer gives the page count) are
    // right.
    void CountPages();
    void KeepSourceInStep();
    int ScreenPixelsPerInch() const;
    void ShowOuterSize();
    QMargins FrameMargins() const;
    bool FitOnScreen();

    WindowContext& context_;
    CardStore& s_;
    PrintState& print_;
    Platform& platform_;
    PageDrawing drawing_;
    WheelNotches wheel_;
    // While a long listing is being cut into pages: takes the new pages ten
    // times a second, and the counter follows them.
    QTimer* countTimer_;
    // The page was drawn for this showing already: the activation that
    // follows the showing does not draw it again.
    bool drawnForShowing_ = false;
    bool activating_ = false;
    bool fitting_ = false;  // FitPreviewBitmap is setting the height
    // Shown before the window system told the frame's size: the window is
    // fitted on the screen again once it knows it.
    bool fitWhenFramed_ = false;
};
