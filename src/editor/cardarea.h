// The card area that the main window and the picked cards window share: the
// field editors, the order number box and the buttons that move from card to
// card in one arrangement, the editors' texts by cell, the tab order through
// them, and the keys and the mouse wheel that move from card to card. Each
// window brings its captions and decides what a move does to its own cards.
#pragma once

#include "card.h"
#include "fieldeditors.h"
#include "keypreview.h"

#include <QString>
#include <array>
#include <optional>
#include <vector>

class Platform;
class QEvent;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QWheelEvent;

// What the card-moving buttons, keys and wheel ask of the window.
enum class CardMove { First, Last, Previous, Next, TenBack, TenForward, Go };

// The main window edits the card in its card area; the picked cards window
// only shows one, read-only.
enum class CardAreaUse { Editing, Showing };

class CardArea : public CardFieldEditors {
public:
    explicit CardArea(Platform& platform);
    virtual ~CardArea();
    CardArea(const CardArea&) = delete;
    CardArea& operator=(const CardArea&) = delete;

    // The editor of cell (0 to 17) shows text, as FieldLine::SetText and its
    // kin do; EditorText reads it back.
    void SetEditorText(int cell, const QString& text);
    QString EditorText(int cell) const;
    // Fields 1 to 18 of row into the editors.
    void ShowFields(const Card& row);

    // The card order number box: Enter in it goes to the typed number.
    QLineEdit* editKORTTINRO = nullptr;
    QPushButton* btnHome = nullptr;
    QPushButton* btnEnd = nullptr;
    QPushButton* btnTaakse = nullptr;
    QPushButton* btnEteen = nullptr;
    QPushButton* btn10taakse = nullptr;
    QPushButton* btn10eteen = nullptr;
    QPushButton* btnGo = nullptr;

protected:
    // The captions of the buttons that move, in the window's own wording.
    struct MoveCaptions {
        QString home;
        QString end;
        QString previous;
        QString next;
        QString tenBack;
        QString tenForward;
        QString go;
    };

    // The editors of fields 1 to 17 on area, each with its label
    // (captions[cell], fitted to the room before the next label on its
    // line) in its place, then the Memo; read-only when only shown. Returns
    // the labels.
    std::array<QLabel*, MemoCell> BuildFieldEditors(
        QWidget* area, CardAreaUse use, const std::array<QString, MemoCell>& captions);
    // The card order number box on area.
    void BuildNumberBox(QWidget* area);
    // The buttons that move on area.
    void BuildMoveButtons(QWidget* area, const MoveCaptions& captions);
    // Controls of the window that keep the wheel for themselves, as the
    // editors do.
    void AddWheelOwners(const std::vector<QWidget*>& owners);
    // Tab goes through the fields of the card's top lines, then
    // besideFields, the Memo, the number box and the buttons that move, the
    // fields right of them, and then the window's controls after.
    void SetTabOrder(const std::vector<QWidget*>& besideFields, const std::vector<QWidget*>& after) const;

    // The window's preview of the keys and the wheel: a window installs
    // itself as the application's event filter and asks this first. Keys
    // reach the window's own keys (WindowKeyPress), then the keys that move,
    // the order number box's key rules, and the focused editor's
    // (EditorKeyPress); the wheel over anything but the editors and the
    // window's wheel owners moves by one card a notch. Empty for an event
    // that is not the window's key or wheel.
    std::optional<bool> PreviewEvent(QWidget* window, QObject* watched, QEvent* event);

    // What a move does (inside a command): the window's own handler of the
    // button that makes the move.
    void MoveCard(CardMove move);
    virtual void btnHomeClick() = 0;
    virtual void btnEndClick() = 0;
    virtual void btnTaakseClick() = 0;
    virtual void btnEteenClick() = 0;
    virtual void btn10taakseClick() = 0;
    virtual void btn10eteenClick() = 0;
    virtual void btnGoClick() = 0;
    // Whether the keys and the wheel move now.
    virtual bool CardsMove() const { return true; }
    // The window's own previewed keys; true when the focused control is not
    // to get the key as well.
    virtual bool WindowKeyPress(QKeyEvent* key, QWidget* control);
    // A key in the editor of cell that has the focus; true when the editor
    // is not to get it.
    virtual bool EditorKeyPress(QKeyEvent* key, int cell);

private:
    bool MoveKeyPress(QKeyEvent* key, QWidget* control);
    bool Wheel(QWidget* window, const QWheelEvent* wheel);
    void Run(CardMove move);

    Platform& platform_;
    std::vector<QWidget*> wheelOwners_;
    WheelNotches wheel_;
    RepeatedKeyFilter repeatedKeys_;
};
