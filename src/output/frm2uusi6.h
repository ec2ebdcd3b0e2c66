// The listing window: shows the text of a listing, which the user reads,
// edits, searches, saves as a text file and closes.
#pragma once

#include "platform.h"
#include "windows.h"

#include <QDialog>
#include <QPointer>

struct CardStore;
class ListingTextEdit;
class Platform;
class QAction;
class QMenu;
class QMenuBar;
class QPushButton;
class QTextDocument;

class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(WindowContext& context);

    // What a listing command does with the window: the text (line breaks as
    // CR LF) into the text area with the caret at its start, and the caption.
    void SetListing(QString text, const QString& caption);
    // The same with the text area's document filled from text already (by a
    // ListingDocumentLoader of the text area's document).
    void SetListing(QString text, QTextDocument* filled, const QString& caption);
    // The picked cards window that a listing of picked cards came from; Close
    // brings it back while PickedWindowActive is set, and gives the main
    // window back the enabled state it had before that listing (mainEnabled):
    // disabled while the picked cards window holds it so.
    void SetPickedWindow(QWidget* pickedWindow, bool mainEnabled);
    // Shows the window modally; returns when it is closed. The close steps run
    // once more as the modal display ends, which changes nothing after Close
    // and brings the windows back whatever ended it.
    void ShowModalListing();
    // The text as the text area holds it (with the user's changes), line
    // breaks as CR LF: what saving, the preview and printing take.
    QString ListingText() const;

    // "Form" menu.
    void Tallenna1Click();  // "Save as text", Ctrl+K
    void Esikatselu1Click();  // "Preview", Ctrl+E
    void Tulosta1Click();  // "Print", Ctrl+P
    void Poistu1Click();  // "Form Close   ESC", Esc, the title bar's close box
    // What the two entries run after they have cut the listing into pages:
    // the preview of the pages and printing them.
    void PreviewBitBtnClick();
    void PrintBitBtnClick();
    // "Find" menu.
    void Etsisanaa1Click();  // "Find a word", Ctrl+F
    void Etsiseuraava1Click();  // "Find next  (Ctrl+D)", F3
    void FindNext21Click();  // hidden "Find Next 2", Ctrl+D

    ListingTextEdit* memoLISTAUS;
    QMenuBar* MainMenu1;
    QMenu* Lomake1;  // "Form"
    QAction* Tallenna1;
    QAction* Esikatselu1;
    QAction* Tulosta1;
    QAction* Poistu1;
    QMenu* Etsi1;  // "Find"
    QAction* Etsisanaa1;
    QAction* Etsiseuraava1;
    QAction* FindNext21;  // not in the menu: its key only
    QPushButton* PrintBitBtn;  // never visible
    QPushButton* PreviewBitBtn;  // never visible

protected:
    // Esc and the title bar's close box end the modal display through here.
    void reject() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QAction* Entry(
        QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut, void (TForm2::*handler)());

    WindowContext& context_;
    CardStore& s_;
    Platform& platform_;
    QPointer<QWidget> pickedWindow_;
    bool mainEnabledUnderPicked_ = false;
    // The save dialog's file name from its last use while the program runs.
    QString saveName_;
    // The window's print dialog, kept for the run; it first opens with all
    // pages chosen.
    PrintDialogState printDialog_;
};
