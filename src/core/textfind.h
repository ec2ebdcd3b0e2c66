// Forward find in a text, and the mapping between an editor's positions
// (one position per line break) and positions in the text with CR LF breaks.
#pragma once

#include <QString>

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
