// The picked cards window: shows the picked set one card at a time,
// read-only, and searches, filters, sorts and saves it. It is created once
// and opens modally after each pick; closing it discards the picked set.
#pragma once

#include "cardarea.h"
#include "cardfilesession.h"
#include "cardtextsave.h"
#include "keypreview.h"
#include "platform.h"
#include "windowlinks.h"
#include "windows.h"

#include <QDialog>
#include <array>
#include <vector>

class BooleanSearchGroup;
class FieldSearchGroup;
class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class SortGroup;

class TForm3 : public QDialog, public CardArea {
    Q_OBJECT
public:
    explicit TForm3(WindowContext& context);
    ~TForm3() override;

    // What the other windows reach of this one.
    PickedWindowLink& Link() { return link_; }
    // The controls whose hints the main window's hint switch turns off and
    // on: the listing buttons.
    std::vector<QWidget*> SwitchedHintControls() const;

    // After a pick: shows row CurrentPicked and runs the window modally
    // until it is closed. The window's modal run ends whenever it is hidden
    // (a listing of the picked cards hides it); while the set is still open
    // and the window shown again, the run goes on.
    void ShowPicked();

    // Shows row CurrentPicked of PickedTable.
    void btnPaivitaClick();

    // Moving within the picked set.
    void btnHomeClick() override;
    void btnEndClick() override;
    void btnTaakseClick() override;
    void btnEteenClick() override;
    void btn10taakseClick() override;
    void btn10eteenClick() override;
    void btnGoClick() override;

    // Searching, filtering and sorting the picked set.
    void btnSelaaeteenClick();
    void btnSelaataakseClick();
    void btnSelaaboleteenClick();
    void btnSelaaboltaakseClick();
    void btnPoimiClick();  // Filter
    void btnbolpoimiClick();  // Boolean filter
    void btnLajitteluClick();
    void Suodatakorttialue1Click();  // the card filtering window

    void Button1Click();  // Open the file link
    void btnPoistuClick();  // Close: the picked set is discarded
    void Tallenna1Click();  // Save As Card file
    // Listing and saving as text (the listing window's producers).
    void btnListausClick();  // List picked cards
    void Button2Click();  // List current picked card
    void Tallennanimell1Click();  // Save As Text File
    void Tallennatekstinsivunvaihdot1Click();  // Save As Text (With Page Feeds)
    void Kenttvalinnat1Click();  // Select fields for listing
    // Preview and printing of the picked cards ("Previe&w", Ctrl+E;
    // "&Print", Ctrl+P).
    void PreviewBitBtnClick();
    void PrintBitBtnClick();

    // The field editors, the number box and the buttons that move are those
    // of CardArea, read-only here.
    std::array<QLabel*, 18> fieldLabels{};  // "1. Title" ... "18. Memo"
    QLabel* lblDateOfAction;
    QLabel* lblKorttitunnistenro;
    QLabel* Label10;
    QLabel* Label20;

    QPushButton* Button1;  // "Open"
    QPushButton* btnPoistu;

    // The listing, preview and print buttons (F8 and F7 press the first two
    // when they are enabled).
    QPushButton* btnListaus;
    QPushButton* Button2;
    QPushButton* PreviewBitBtn;
    QPushButton* PrintBitBtn;

    // "FILTER FROM ONE FIELD", "BOOLEAN FILTERING FROM TWO FIELDS", "Sorting order".
    FieldSearchGroup* fieldSearch;
    BooleanSearchGroup* booleanSearch;
    SortGroup* sortGroup;

    QMenuBar* MainMenu1;
    QMenu* Poimitutkortit1;  // "Picked cards"
    QAction* Tallenna1;
    QAction* Tallennanimell1;
    QAction* Tallennatekstinsivunvaihdot1;
    QAction* Esikatselu1;
    QAction* Tulosta1;
    QAction* Suljelomake1;
    QMenu* Tools1;
    QAction* Suodatakorttialue1;
    QMenu* Setup1;
    QAction* Kenttvalinnat1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Enter runs only what the box it is pressed in runs: the window has no
    // default button.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildCardArea(QWidget* area);
    void BuildButtons(QWidget* area);
    void BuildGroups(QWidget* area);
    void BuildMenus();
    void BuildTabOrder();
    QPushButton* Button(QWidget* area, const char* name, const QString& caption, QRect geometry);
    bool HasPickedSet() const;
    void MoveTo(int row);
    void DiscardPickedSet();
    // The card area's question: the window's function keys and Esc.
    bool WindowKeyPress(QKeyEvent* key, QWidget* control) override;

    WindowContext& context_;
    CardStore& s_;
    Platform& platform_;
    PickedWindowLink link_;
    bool open_ = false;  // between ShowPicked and Close
    // Saving the picked cards as a card file; the save dialog's file name
    // is kept from one save to the next.
    PickedCardsSave pickedSave_;
    CardTextSaver textSaver_;
    // The window's print dialog, kept for the run; it first opens with all
    // pages chosen.
    PrintDialogState printDialog_;
};
