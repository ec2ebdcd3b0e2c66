// The main window: the card editor and the place every command starts from.
#pragma once

#include "cardarea.h"
#include "cardfile.h"
#include "cardfilesession.h"
#include "cardtextsave.h"
#include "keypreview.h"
#include "platform.h"
#include "windowlinks.h"
#include "windows.h"

#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <array>
#include <memory>
#include <vector>

class BooleanSearchGroup;
class RecoveryKeeper;
class DeferredCardView;
class FieldSearchGroup;
class QAction;
class QMenu;
class SortGroup;

class TForm1 : public QMainWindow, public CardArea {
    Q_OBJECT
public:
    explicit TForm1(WindowContext& context);
    ~TForm1() override;

    // The start-up steps; args are the command-line arguments after the
    // program's name.
    void FormCreate(const QStringList& args);

    // Store and show the current card.
    void btnTallennaClick();
    void btnPaivitaClick();
    // Enable and disable everything that needs an open card file.
    void btnAktivoiClick();
    void btnDeaktivoiClick();

    // File menu.
    void Uusi1Click();
    void Avaa1Click();
    void Tallenna1Click();
    void Tallennanimell1Click();
    void Sulje1Click();
    void Lopeta1Click();

    // Card navigation.
    void btnHomeClick() override;
    void btnEndClick() override;
    void btnTaakseClick() override;
    void btnEteenClick() override;
    void btn10taakseClick() override;
    void btn10eteenClick() override;
    void btnGoClick() override;

    // Card commands.
    void btnLisaaClick();
    void Liskortti1Click();
    void btnPoistaClick();
    void Poistakortti1Click();
    void Palautapoistettukortti1Click();
    void Kopioikortti1Click();
    void LiitkorttiuutenaClick();
    void Liitkortti1Click();
    void Lisaikaleima1Click();
    void Lisaikaleimavvvvkkpvhhmmss1Click();
    void Button1Click();
    void Button2Click();

    // Find in the Memo.
    void EtsiMemokentst1Click();
    void Etsiseuraava1Click();

    // Importing card files.
    void TuokortistoClick();
    void InputexternalANSIcardfiletothecurrentcardfile1Click();

    // Listing.
    void btnListausClick();
    void Button3Click();

    // Saving as text, preview and printing.
    void Tallennatekstiksi1Click();
    void Tallennatekstiksisivunvaihtojenkanssa1Click();
    void Esikatselu1Click();
    void Tulosta1Click();
    void PreviewBitBtnClick();  // "Previe&w": the preview of the cards
    void PrintBitBtnClick();  // "&Print": printing the cards

    // Search, pick and sort.
    void btnSelaaeteenClick();
    void btnSelaataakseClick();
    void btnSelaaboleteenClick();
    void btnSelaaboltaakseClick();
    void btnPoimiClick();
    void btnBolpoimiClick();
    void btnLajitteluClick();

    // Tools.
    void Tyokalut1Click();
    void KoClick();
    void Poiminta2Click();
    void Booleanpoiminta2Click();
    void Lajittelu1Click();
    void Poimikorttialue1Click();
    void EtsiKorvaavalitustakentst1Click();

    // Options.
    void Kenttavalinnat1Click();
    void ShowHints1Click();
    void ScreenSaverOptions1Click();
    void ScreenSaverDemo1Click();

    // Help.
    void Ohje1Click();
    void Avaamanuali1Click();
    void LicenseClick();
    void About1Click();

    // The hint switch ("Show Hints") turns the hints of its controls off and
    // on again. A window or group that brings such a control registers it
    // here with its hint (instead of setting the hint itself); while hints
    // are off, the control shows none.
    void AddSwitchedHint(QWidget* control, const QString& hint);
    bool HintsShown() const { return hintsShown_; }

    // What the other windows reach of this one.
    MainWindowLink& Link() { return link_; }

    // The recovery copy of unsaved changes (recoverykeeper.h).
    RecoveryKeeper& Recovery() { return *recovery_; }

    // The field editors, the number box and the buttons that move are those
    // of CardArea (editable here).
    QLabel* lblKorttitunnistenro;
    QLabel* Label22;
    QLabel* Label10;
    QLabel* Label23;
    QLabel* lblDateOfAction;
    std::array<QLabel*, 17> fieldLabels{};

    QPushButton* btnTallenna;  // never visible
    QPushButton* btnPoista;  // never visible
    QPushButton* btnLisaa;
    QPushButton* btnListaus;
    QPushButton* Button3;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* PrintBitBtn;
    QPushButton* PreviewBitBtn;

    // "SEARCH FROM ONE FIELD", "BOOLEAN SEARCH FROM TWO FIELDS", "SORTING ORDER".
    FieldSearchGroup* fieldSearch;
    BooleanSearchGroup* booleanSearch;
    SortGroup* sortGroup;

    QMenu* File1;
    QAction* Uusi1;
    QAction* Avaa1;
    QAction* Tallenna1;
    QAction* Tallennanimell1;
    QAction* Tallennatekstiksi1;
    QAction* Tallennatekstiksisivunvaihtojenkanssa1;
    QAction* Sulje1;
    QAction* Esikatselu1;
    QAction* Tulosta1;
    QAction* Lopeta1;

    QMenu* Edit1Menu;
    QAction* Palautapoistettukortti1;
    QAction* Tuokortisto;
    QAction* Liskortti1;
    QAction* Kopioikortti1;
    QAction* Liitkorttiuutena;
    QAction* Poistakortti1;
    QAction* Lisaikaleima1;
    QAction* Lisaikaleimavvvvkkpvhhmmss1;
    QAction* EtsiMemokentst1;
    QAction* Etsiseuraava1;
    QAction* Tallennakortti1;  // never visible
    QAction* KopioikorttileikepydlleVista2;  // never visible
    QAction* Liitkortti1;  // never visible
    QAction* InputexternalANSIcardfiletothecurrentcardfile1;

    QMenu* Tools1;
    QAction* Tyokalut1;
    QAction* Ko;
    QAction* Poiminta2;
    QAction* Booleanpoiminta2;
    QAction* Lajittelu1;
    QAction* Poimikorttialue1;
    QAction* EtsiKorvaavalitustakentst1;

    QMenu* Options1;
    QAction* Kenttavalinnat1;
    QAction* ShowHints1;
    QAction* ScreenSaverOptions1;
    QAction* ScreenSaverDemo1;
    QAction* UTF8mode1;  // never visible
    QAction* ANSImode1;  // never visible

    QMenu* Help1;
    QAction* Ohje1;
    QAction* Avaamanuali1;
    QAction* License;
    QAction* About1;

signals:
    // Exit or the close box let the program end.
    void programEnded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildCardArea(QWidget* area);
    void BuildButtons(QWidget* area);
    void BuildGroups(QWidget* area);
    void BuildMenus();
    void BuildTabOrder();
    QPushButton* Button(
        QWidget* area, const char* name, const QString& caption, QRect geometry, void (TForm1::*handler)());
    QAction* Entry(
        QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut, void (TForm1::*handler)());

    // The file commands: the card file session decides, the window shows.
    void CommandLineOpen(const QString& path);
    void OpenSucceeded(const QString& path);
    SessionStep ShowSessionSteps(const SessionStep& step);
    void MoveTo(int card);
    bool MemoHasFocus() const;
    void InsertTimeStamp(const QString& stamp);
    void MemoChanged();
    void ImportCardFile(CardEncoding encoding);
    bool FieldKeyPress(QKeyEvent* key);
    bool MemoKeyPress(QKeyEvent* key);
    // The card area's questions: the searches' keys, the editors' change
    // tracking, and the moves, which need an open card file.
    bool WindowKeyPress(QKeyEvent* key, QWidget* control) override;
    bool EditorKeyPress(QKeyEvent* key, int cell) override;
    bool CardsMove() const override;

    WindowContext& context_;
    CardStore& s_;
    Platform& platform_;
    CardFileSession session_;
    MainWindowLink link_;
    CardTextSaver textSaver_;
    // The window's print dialog, kept for the run; it first opens with a
    // page range chosen.
    PrintDialogState printDialog_;

    // Everything that btnAktivoiClick enables and btnDeaktivoiClick disables.
    std::vector<QWidget*> fileControls_;
    std::vector<QAction*> fileEntries_;
    // The controls of the hint switch with their hints.
    struct SwitchedHint {
        QPointer<QWidget> control;
        QString hint;
    };
    std::vector<SwitchedHint> switchedHints_;
    bool hintsShown_ = true;
    std::unique_ptr<RecoveryKeeper> recovery_;

    // Set while a run over many cards defers what the editors show.
    DeferredCardView* deferredView_ = nullptr;
};
