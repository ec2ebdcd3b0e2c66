// The rules the field editors apply to what the user types: line breaks stay
// out of every field but the Memo, typing keeps within a field's maximum
// length, and the Memo stops typing at its line limit.
#pragma once

#include <QString>
#include <QStringView>

// A line break in any form it can arrive in: CR, LF, U+2028 (line
// separator) and U+2029 (paragraph separator). The text find shares it.
bool IsLineBreak(QChar c);
bool HasLineBreak(QStringView text);

// What an edit did to a text: the characters of the text before it that
// stayed in front of and behind it, and how many came in between.
struct TextChange {
    qsizetype prefix = 0;
    qsizetype suffix = 0;
    qsizetype added = 0;
};
TextChange DiffTexts(QStringView before, QStringView after);

// True when the characters an edit brought in hold a line break.
bool AddsLineBreak(QStringView after, const TextChange& change);

// The number of characters to take off the end of what an edit brought in,
// so that typing and pasting keep the text within maxTyped characters (0: no
// limit). A text that was already longer (a shown card may hold one) takes
// nothing more; text set by the program is never cut.
qsizetype TypedExcess(QStringView after, const TextChange& change, int maxTyped);

// The Memo's line limits, counted in displayed lines: typing stops at the
// first, and the second is the absolute maximum its message names.
constexpr int MemoTypingLimit = 600;
constexpr int MemoAbsoluteLimit = 6000;
