// The three kinds of field editor of a card: the edit line, the one-line box
// and the Memo. The main window edits a card with them; the picked cards
// window shows one with them, read-only.
#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>

// An edit line: a single-line input whose maximum length limits typing and
// pasting only (text set by the program is never cut), and which takes no
// line break: an edit that brings one in is undone.
class FieldLine : public QLineEdit {
    Q_OBJECT
public:
    FieldLine(int maxTyped, QWidget* parent);
    QString Text() const { return text(); }
    void SetText(const QString& text);  // no change handling when equal

private:
    void Edited(const QString& text);
    int maxTyped_;
    QString previous_;
};

// A box two text lines high, without word wrap, whose text stays one line:
// a change that brings in a line break is undone. A text shown with a line
// break already in it (from a card file) can still be edited.
class OneLineBox : public QPlainTextEdit {
    Q_OBJECT
public:
    OneLineBox(int maxTyped, QWidget* parent);
    QString Text() const;
    void SetText(const QString& text);  // no change handling when equal

private:
    void ContentsChange();
    int maxTyped_;
    QString previous_;
    bool fixing_ = false;
};

// The Memo: word-wrapped, many lines; its text is held with CR LF breaks.
class MemoEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit MemoEditor(QWidget* parent);
    // The text with CR LF line breaks. Until it is edited, exactly the text
    // last shown, also where the editor shows a lone CR or LF, U+2028 or
    // U+2029 as a line break like any other.
    QString Text() const;
    void SetText(const QString& crlfText);  // no change when equal
    // Display lines as wrapped at the editor's width, an empty last line not
    // counted.
    int LineCount() const;

private:
    QString shown_;     // the text last shown
    QString shownRaw_;  // the editor's own form of it
};
