// Forward find in a text, and the mapping between an editor's positions
// (one position per line break) and positions in the text with CR LF breaks.
#pragma once

#include <QChar>
#include <QString>
#include <QStringView>
#include <utility>
#include <vector>

// The position in text of the first occurrence of what that starts at or
// after from, comparing characters exactly; -1 when there is none or what
// is empty.
qsizetype FindForward(const QString& text, qsizetype from, const QString& what);

// An editor's raw text holds one character per line break (U+2029 between
// paragraphs, U+2028 for a line break inside one). These convert positions
// between it and the same text with CR LF line breaks.
qsizetype CrLfPosition(const QString& raw, qsizetype rawPosition);
qsizetype RawPosition(const QString& raw, qsizetype crlfPosition);
// raw with every line break as CR LF.
QString RawToCrLf(const QString& raw);

// text (line breaks as CR LF, a lone CR or LF, U+2028 or U+2029) in the form
// an editor loads fastest: its lines grouped into paragraphs of at most
// linesPerParagraph lines, '\n' between two paragraphs and U+2028 between
// the lines of one. An editor keeps and lays out a paragraph, not a line, as
// its unit, so a long text of short lines loads many times faster this way;
// the editor's raw text then holds U+2029 or U+2028 at each line break,
// which RawToCrLf turns back into CR LF.
QString EditorText(QStringView text, int linesPerParagraph);
// The same for a text given in pieces, each ending after a line break:
// lines counts the lines of the paragraph the last piece left open (0 for
// the first piece).
QString EditorText(QStringView text, int linesPerParagraph, int& lines);

// The line breaks of a text shown in an editor that are not CR LF (a lone CR
// or LF, U+2028, U+2029). The editor holds one raw character per line break
// whatever its form, so its raw text alone gives every break back as CR LF;
// these remember the others by their raw position, follow the editor's
// changes, and give the text back with every break the user did not touch in
// the form it had.
class KeptLineBreaks {
public:
    // text is what the editor was given (line breaks in any form, CR LF
    // counting as one).
    void Reset(QStringView text);
    // The editor replaced removed raw characters at position by added ones:
    // the breaks among them are gone, those behind them move.
    void Changed(qsizetype position, qsizetype removed, qsizetype added);
    // raw (the editor's text, one character per line break) with each kept
    // break in its form and every other break as CR LF.
    QString Text(QStringView raw) const;
    bool IsEmpty() const { return breaks_.empty(); }

private:
    std::vector<std::pair<qsizetype, QChar>> breaks_;  // raw position, the break as it was
};
