// Forward find in a text, and the mapping between an editor's positions
// (one position per line break) and positions in the text with CR LF breaks.
#pragma once

#include <QString>
#include <QStringView>

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
