// The main window: the card editor and the place every command starts from.
#pragma once

#include "cardstore.h"
#include "platform.h"

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <array>
#include <functional>
#include <vector>

class QAction;
class QMenu;
class TForm12;
class TForm15;

// An edit line: a single-line input whose maximum length limits typing and
// pasting only; text set by the program is never cut.
class FieldLine : public QLineEdit {
    Q_OBJECT
public:
    FieldLine(int maxTyped, QWidget* parent);
    void SetText(const QString& text);  // no change handling when equal

private:
    void Edited(const QString& text);
    int maxTyped_;
    QString previous_;
};

// A box two text lines high, without word wrap, whose text stays one line:
// a change that leaves a line break in it is undone.
class OneLineBox : public QPlainTextEdit {
    Q_OBJECT
public:
    OneLineBox(int maxTyped, QWidget* parent);
    QString Text() const;
    void SetText(const QString& text);  // no change handling when equal

private:
    void ContentsChange(int position, int removed, int added);
    int maxTyped_;
    QString previous_;
    bool fixing_ = false;
};

// The Memo: word-wrapped, many lines; its text is held with CR LF breaks.
class MemoEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit MemoEditor(QWidget* parent);
    QString Text() const;  // with CR LF line breaks
    void SetText(const QString& crlfText);  // no change when equal
    // Display lines as wrapped at the editor's width, an empty last line not
    // counted.
    int LineCount() const;
};

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    TForm1(CardStore& store, Platform& platform, QWidget* parent = nullptr);
    ~TForm1() override;

    // The start-up steps; args are the command-line arguments after the
    // program's name.
    void FormCreate(const QStringList& args);
    void SetWaitWindow(TForm12* form) { form12_ = form; }
    void SetMemoFindWindow(TForm15* form) { form15_ = form; }

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
    void btnHomeClick();
    void btnEndClick();
    void btnTaakseClick();
    void btnEteenClick();
    void btn10taakseClick();
    void btn10eteenClick();
    void btnGoClick();

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

    // Flags that carry the outcome of a Save to the Close that asked for it.
    bool SaveRefused = false;
    bool SaveFailed = false;

    // The editors of fields 1 to 18 (cells 0 to 17).
    std::array<QWidget*, 18> editors{};
    OneLineBox* memoTUNNISTE;
    OneLineBox* Memo2;
    OneLineBox* Memo3;
    FieldLine* Edit5;
    FieldLine* Edit6;
    FieldLine* editVUOSI;
    FieldLine* editSIVU;
    OneLineBox* memoASIASANAT1;
    OneLineBox* memoASIASANAT2;
    OneLineBox* Memo1;
    FieldLine* editKOODI1;
    FieldLine* editKOODI2;
    FieldLine* Edit7;
    FieldLine* Edit8;
    FieldLine* Edit9;
    FieldLine* Edit10;
    FieldLine* Edit11;
    MemoEditor* memoMUISTIINPANO;

    QLabel* lblKorttitunnistenro;
    QLabel* Label22;
    QLineEdit* editKORTTINRO;
    QLabel* Label10;
    QLabel* Label23;
    QLabel* lblDateOfAction;
    std::array<QLabel*, 17> fieldLabels{};

    QPushButton* btnTallenna;  // never visible
    QPushButton* btnPoista;    // never visible
    QPushButton* btnHome;
    QPushButton* btnEnd;
    QPushButton* btnTaakse;
    QPushButton* btnEteen;
    QPushButton* btn10taakse;
    QPushButton* btn10eteen;
    QPushButton* btnGo;
    QPushButton* btnLisaa;
    QPushButton* Button1;
    QPushButton* Button2;

    QMenu* File1;
    QAction* Uusi1;
    QAction* Avaa1;
    QAction* Tallenna1;
    QAction* Tallennanimell1;
    QAction* Sulje1;
    QAction* Lopeta1;

    QMenu* Edit1Menu;
    QAction* Palautapoistettukortti1;
    QAction* Liskortti1;
    QAction* Kopioikortti1;
    QAction* Liitkorttiuutena;
    QAction* Poistakortti1;
    QAction* Lisaikaleima1;
    QAction* Lisaikaleimavvvvkkpvhhmmss1;
    QAction* EtsiMemokentst1;
    QAction* Etsiseuraava1;
    QAction* Tallennakortti1;               // never visible
    QAction* KopioikorttileikepydlleVista2;  // never visible
    QAction* Liitkortti1;                    // never visible

    QMenu* Options1;
    QAction* UTF8mode1;  // never visible
    QAction* ANSImode1;  // never visible

signals:
    // Exit or the close box let the program end.
    void programEnded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildCardArea(QWidget* area);
    void BuildButtons(QWidget* area);
    void BuildMenus();
    void BuildTabOrder();
    QPushButton* Button(QWidget* area, const QString& caption, QRect geometry, void (TForm1::*handler)());
    QAction* Entry(QMenu* menu, const QString& caption, const QKeySequence& shortcut,
                   void (TForm1::*handler)());
    void Guard(const std::function<void()>& command);

    void SetEditorText(int cell, const QString& text);
    QString EditorText(int cell) const;
    void CommandLineOpen(const QString& path);
    bool ReadIntoTable(const QString& path, const std::function<void(int)>& progress);
    void OpenSucceeded(const QString& path);
    void FailedOpen();
    QString FileNamePart(const QString& path) const;
    void MoveTo(int card);
    bool MemoHasFocus() const;
    void InsertTimeStamp(const QString& stamp);
    void MemoChanged();
    bool FieldKeyPress(QKeyEvent* key);
    bool MemoKeyPress(QKeyEvent* key);
    bool NumberBoxKeyPress(QKeyEvent* key);
    bool WindowKeyPress(QKeyEvent* key);
    bool Wheel(QWheelEvent* wheel);

    CardStore& s_;
    Platform& platform_;
    TForm12* form12_ = nullptr;
    TForm15* form15_ = nullptr;

    // Everything that btnAktivoiClick enables and btnDeaktivoiClick disables.
    std::vector<QWidget*> fileControls_;
    std::vector<QAction*> fileEntries_;
    // Controls under the mouse pointer that keep the wheel for themselves.
    std::vector<QWidget*> wheelOwners_;
    int wheelRest_ = 0;
    bool memoChangeHandling_ = false;
};
