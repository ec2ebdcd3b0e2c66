// The three kinds of field editor of a card: the edit line, the one-line box
// and the Memo. The main window edits a card with them; the picked cards
// window shows one with them, read-only.
#pragma once

#include "textfind.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPoint>
#include <array>

class QLabel;

// What the find and replace run does in a field editor, as the user's editing
// would do it: it reads the text and the selection, puts the caret at the
// start, and replaces a stretch of the text by another text. Positions count
// characters of EditText().
class EditableField {
public:
    virtual ~EditableField() = default;
    // The editor's text as the run searches it: the Memo's with every line
    // break as CR LF, the others' as they are.
    virtual QString EditText() const = 0;
    // The end of the selection; the caret when nothing is selected.
    virtual qsizetype SelectionEnd() const = 0;
    // The caret to the beginning of the text, nothing selected.
    virtual void CaretToStart() = 0;
    // Selects length characters from start in the editor and replaces them
    // by text, as typing over a selection would; the caret then stands right
    // after the inserted text, nothing selected. Unlike typing, a change made
    // by the program is kept whole even beyond the editor's typing limit (a
    // field may hold longer text, as one read from a card file may), and the
    // editor's change handling runs as for any change. text holds no line
    // break: the run's replacement box keeps them out.
    virtual void ReplaceRange(qsizetype start, qsizetype length, const QString& text) = 0;
};

// An edit line: a single-line input whose maximum length limits typing and
// pasting only (text set by the program is never cut), and which takes no
// line break: an edit that brings one in is undone. Made read-only (as the
// picked cards window does), it tells a screen reader so: its text can be
// read, selected and copied, but it is no longer an editable text (a plain
// line edit would still say it is).
class FieldLine : public QLineEdit, public EditableField {
    Q_OBJECT
public:
    FieldLine(int maxTyped, QWidget* parent);
    QString Text() const { return text(); }
    // Shows a text: no change handling when equal; either way the undo
    // history starts afresh, so no undo reaches a card shown before.
    void SetText(const QString& text);

    QString EditText() const override { return text(); }
    qsizetype SelectionEnd() const override;
    void CaretToStart() override;
    void ReplaceRange(qsizetype start, qsizetype length, const QString& text) override;

    // Where the caret is drawn, in the line's own coordinates.
    QRect CaretRect() const { return cursorRect(); }

protected:
    void changeEvent(QEvent* event) override;

private:
    void Edited(const QString& text);
    int maxTyped_;
    QString previous_;
    bool programEdit_ = false;
};

// A box two text lines high, without word wrap, whose text stays one line:
// a change that brings in a line break is undone. A text shown with a line
// break already in it (from a card file) can still be edited.
class OneLineBox : public QPlainTextEdit, public EditableField {
    Q_OBJECT
public:
    OneLineBox(int maxTyped, QWidget* parent);
    QString Text() const;
    // Shows a text: no change handling when equal; either way the undo
    // history starts afresh, so no undo reaches a card shown before.
    void SetText(const QString& text);

    QString EditText() const override { return Text(); }
    qsizetype SelectionEnd() const override;
    void CaretToStart() override;
    void ReplaceRange(qsizetype start, qsizetype length, const QString& text) override;

private:
    void ContentsChange();
    int maxTyped_;
    QString previous_;
    bool fixing_ = false;
};

// The Memo: word-wrapped, many lines; its text is held with CR LF breaks.
class MemoEditor : public QPlainTextEdit, public EditableField {
    Q_OBJECT
public:
    explicit MemoEditor(QWidget* parent);
    // The text with CR LF line breaks. Until it is edited, exactly the text
    // last shown, also where the editor shows a lone CR or LF, U+2028 or
    // U+2029 as a line break like any other; after an edit, such a break
    // keeps its form unless the edit took it out.
    QString Text() const;
    // No change when equal; either way the undo history starts afresh.
    void SetText(const QString& crlfText);
    // Display lines as wrapped at the editor's width, an empty last line not
    // counted.
    int LineCount() const;

    // Positions count in the text with CR LF breaks; the editor holds one
    // character per break (RawPosition and CrLfPosition of textfind.h).
    QString EditText() const override;
    qsizetype SelectionEnd() const override;
    void CaretToStart() override;
    void ReplaceRange(qsizetype start, qsizetype length, const QString& text) override;

private:
    QString shown_;  // the text last shown
    QString shownRaw_;  // the editor's own form of it
    KeptLineBreaks kept_;  // its breaks that are not CR LF, as edits move them
};

// The editors of a card's fields 1 to 18 (cells 0 to 17) under their names,
// in the arrangement that the main window and the picked cards window share.
struct CardFieldEditors {
    std::array<QWidget*, 18> editors{};
    OneLineBox* memoTUNNISTE = nullptr;
    OneLineBox* Memo2 = nullptr;
    OneLineBox* Memo3 = nullptr;
    FieldLine* Edit5 = nullptr;
    FieldLine* Edit6 = nullptr;
    FieldLine* editVUOSI = nullptr;
    FieldLine* editSIVU = nullptr;
    OneLineBox* memoASIASANAT1 = nullptr;
    OneLineBox* memoASIASANAT2 = nullptr;
    OneLineBox* Memo1 = nullptr;
    FieldLine* editKOODI1 = nullptr;
    FieldLine* editKOODI2 = nullptr;
    FieldLine* Edit7 = nullptr;
    FieldLine* Edit8 = nullptr;
    FieldLine* Edit9 = nullptr;
    FieldLine* Edit10 = nullptr;
    FieldLine* Edit11 = nullptr;
    MemoEditor* memoMUISTIINPANO = nullptr;

protected:
    // Names fields 1 to 17 after editors[0] to editors[16], each of its kind
    // in the arrangement (one-line boxes for fields 1 to 3 and 8 to 10).
    void NameFieldEditors();
};

// Sets the label's font so that its whole text fits `room` pixels: as it is
// when it fits, else with its letters set closer (by up to a pixel each),
// and only then smaller.
void FitCaption(QLabel& label, int room);

// The label of the field in cell (0-based) at `at` in Arial 11 pixels, named
// "lblField" + the field's number, narrowed to end before clearOfX (the next
// label on its line; 0 for none), and the buddy of its editor, so that a screen
// reader names the field after its label.
QLabel* AddFieldLabel(QWidget* area, const QString& caption, int cell, QPoint at, int clearOfX, QWidget* editor);

// The x of the nearest label right of `at` on its line among places (each
// with a QPoint label); 0 for none.
template <class Places> int NextLabelX(const Places& places, QPoint at)
{
    int next = 0;
    for (const auto& other : places)
        if (other.label.y() == at.y() && other.label.x() > at.x() && (next == 0 || other.label.x() < next))
            next = other.label.x();
    return next;
}
