// The text area of the listing window: an editable, word-wrapped text that
// gives back exactly the text it was given until the user edits it.
#pragma once

#include "textfind.h"

#include <QPlainTextEdit>

class ListingTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    // Lines per paragraph of the editor's own text: a listing of many short
    // lines loads and closes many times faster in paragraphs than in lines.
    static constexpr int LinesPerParagraph = 32;

    explicit ListingTextEdit(QWidget* parent);

    // Shows text (line breaks as CR LF) with the caret at its start.
    void SetText(QString text);
    // The text as the area holds it, line breaks as CR LF: the text last set,
    // unchanged, until the user edits it; after an edit, every line break
    // the edit did not take out keeps its form (a lone CR or LF, U+2028,
    // U+2029), and the ones it brought in are CR LF.
    QString Text() const;
    void Clear();
    // Whether the area shows more than limit display lines: its lines
    // wrapped at word boundaries to the area's width. Only a text of at most
    // limit lines is wrapped to tell.
    bool ShowsMoreLinesThan(int limit) const;

private:
    QString held_;
    KeptLineBreaks kept_;
};
