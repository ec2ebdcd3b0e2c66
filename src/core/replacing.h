// Find and replace across cards: the replacement step in one field's text,
// the checks and the confirmation text of "Replace all", and the field that a
// chooser text names. The run itself (showing each card of the range, editing
// its field, storing it, letting events through and watching Esc) belongs to
// the find and replace window; everything it decides comes from here.
#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// One replacement in a field's text.
struct TextReplacement {
    qsizetype start = 0;  // where the replaced occurrence began in the old text
    QString text;  // the whole text after the replacement
    qsizetype caret = 0;  // right after the inserted replacement, nothing selected
};

// The step the run makes in a field's text. from is the end of the field's
// selection (the caret when nothing is selected), counted in characters from
// the beginning of the stored text (a Memo with its line breaks as CR LF;
// an editor that keeps one character per line break converts its positions
// with CrLfPosition and RawPosition of textfind.h).
// Looks for the first occurrence of find that starts at or after from,
// comparing UTF-16 code units exactly (case-sensitive, no normalisation),
// and replaces it by replacement as typing over the selected occurrence
// would. The search always covers the whole rest of the text; it never looks
// before from, so it never looks inside an earlier replacement.
//
// No occurrence, an empty find, or from beyond the end of text gives nothing;
// a negative from counts as 0. A find equal to its replacement still counts
// as an occurrence (the text stays the same, the caret moves past it).
//
// The replacement is kept whole, even where it makes the field longer than
// the main window's typing limit for that field: the limits hold for typing
// only, and a field may hold longer text (as one read from a card file may).
// The window that runs the replacement relies on this and must insert the
// text without cutting it.
std::optional<TextReplacement> ReplaceNextOccurrence(
    QStringView text, qsizetype from, QStringView find, QStringView replacement);

struct TextReplaceResult {
    QString text;
    qsizetype replacements = 0;  // how many occurrences were replaced
};

// The run's whole loop over one text: ReplaceNextOccurrence from the start,
// then again from each new caret, until no occurrence is left. Occurrences
// are replaced from left to right and never overlap: b by "" in abcabc gives
// acac, a by aa in aaa gives aaaaaa, aa by x in aaa gives xa.
TextReplaceResult ReplaceEveryOccurrence(QStringView text, QStringView find, QStringView replacement);

// The texts of the find and replace window's boxes and of its field chooser.
struct ReplaceAllBoxes {
    QString find;  // "Find:"
    QString replacement;  // "Replace:"
    QString firstIndex;  // "The first" (order number, 1-based)
    QString lastIndex;  // "The last"
    QString field;  // the field chooser's text, e.g. "18 Memo"
};

// What the checks of "Replace all" found: the message of the first check
// that failed, or the range of order numbers to run over.
struct ReplaceAllCheck {
    QString message;  // empty when every check passed
    int first = 0;  // 1-based order numbers, valid when passed()
    int last = 0;
    bool passed() const { return message.isEmpty(); }
};

// The checks of "Replace all", in this order; the first that fails gives its
// message:
//   1. an index box is empty: "One of the text fields is empty";
//   2. the find box is empty: "The field for the word to find is empty";
//   3. first < 1: "The index number of the first index can not be smaller than 1";
//   4. last < first: "The first index number can not be greater than the last index number";
//   5. last > cardCount: "The last index can not be greater than the number of
//      the cards in whole " followed by cardCount.
// An index box that holds no whole number throws GeneralError ("'x' is not a
// valid integer value") where its number is first needed: the first index
// for check 3, the last index for check 4. So "0" and "x" fail check 3
// without a conversion error, and "5" and "x" throw for "x".
ReplaceAllCheck CheckReplaceAll(const ReplaceAllBoxes& boxes, int cardCount);

// The question asked before a run, e.g. for cards 1 to 20 of "18 Memo":
// Finding in cards  1 - 20  from the field 18 Memo string "a" and replacing
// it with "b", do you want to proceed?
// The index boxes are quoted as typed.
QString ReplaceConfirmationText(const ReplaceAllBoxes& boxes);

// The cell (0 to 17) of the field that a field chooser's text names: the text
// must be one of the chooser entries "1 Title1" ... "18 Memo" exactly.
// "19 Card ID", and any text that is none of the entries, give nothing: the
// run then changes no card and ends with ReplaceNotFoundMessage.
std::optional<int> ReplaceFieldCell(QStringView chooserText);

// The message after a run that replaced nothing (with its trailing blank).
extern const QString ReplaceNotFoundMessage;  // "Strings to replace not found "
// The message after a run that replaced at least one occurrence.
extern const QString ReplaceCompletedMessage;  // "Find-replace action completed"
