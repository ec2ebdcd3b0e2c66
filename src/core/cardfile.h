// The card file (.kqk): a line-oriented text file, UTF-8 with a byte-order
// mark and CR LF line ends (an older ANSI form is read for import only).
//
//   line 1   a warning header (readers skip it)
//   line 2   the format tag; readers test only that it contains "f1g0h0i1"
//   line 3   N, the number of cards
//   per card k = 1..N: 17 field lines, the start marker "¤#<&%¤#<&%KQ==k",
//   the Memo's lines, the end marker "¤#>&%¤#>&%KQ==k", the Card ID line.
#pragma once

#include "card.h"

#include <QIODevice>
#include <QString>
#include <functional>

extern const QString FormatTag;
// Header written by Save and Save As of the main window.
extern const QString MainFileHeaderText;
// Header written by the picked cards window.
extern const QString PickedFileHeaderText;
extern const QString MemoStartMarker;  // followed by the card's number
extern const QString MemoEndMarker;  // followed by the card's number
// Any line holding this ends a Memo on reading.
extern const QString MemoEndTest;

constexpr int MaxMemoLines = 32000;

enum class CardEncoding { Utf8, Ansi };

enum class CardFileReadResult { Ok, NotCardFile, TooManyCards, MemoTooLong };

// A field of a card: the card's 0-based index and the field's cell.
struct TextPlace {
    int cardIndex = 0;
    int cell = 0;
    bool operator==(const TextPlace&) const = default;
};

struct CardFileReadOutcome {
    CardFileReadResult result = CardFileReadResult::Ok;
    // Ok and TooManyCards: N from the count line. N may be 0 or negative in a
    // hand-made file; the reader then fills no row and never touches row -1.
    // Open takes such a file as one empty card with a fresh Card ID, as New
    // makes it; import adds no cards from it.
    int count = 0;
    int memoLines = 0;  // MemoTooLong: the Memo lines taken (always 32001)
    int cardIndex = -1;  // MemoTooLong: 0-based index of that card
    // Ok: every field whose bytes were not all UTF-8 (each bad byte or
    // sequence reads as U+FFFD, and a Save writes it so), in file order.
    // Always empty for the ANSI encoding, where every byte is a character.
    std::vector<TextPlace> notUtf8;
};

// "card 12, field 18 Memo": a place as the user finds it (card numbers
// count from 1; cardOffset is added, for cards appended after others).
QString TextPlaceText(const TextPlace& place, int cardOffset = 0);

// What the window tells the user once after a file with such fields is
// shown: how many fields, where the first is, and what a Save will do with
// them. Empty when places is.
QString NotUtf8Notice(const std::vector<TextPlace>& places, int cardOffset = 0);

// True when the file starts with EF BB BF. A file that cannot be opened, and
// anything but a regular file (checked before it is opened, see
// fileinspect.h), throws GeneralError.
bool HasUtf8Bom(const QString& path);

// Reads a card file into rows from row 0 on (rows grows to N when smaller).
// capacity is the number of cards the caller can take; progress, when given,
// gets the 0-based index of each card before it is read. A file that cannot
// be opened or read, anything but a regular file, or a count line that is
// not a whole number, throws GeneralError before any row is touched.
//
// Memory: the lines that are skipped or only searched (the header, the
// format tag, the start markers, anything after the last card) are read in
// pieces and never held, and the count line is held up to 1024 bytes; what
// is held is the cards themselves.
CardFileReadOutcome ReadCardFile(const QString& path, CardEncoding encoding, int capacity, CardRows& rows,
    const std::function<void(int)>& progress = {});

// What encoding a card table onto a device came to.
struct CardFileEncodeResult {
    enum Status { Ok, DeviceFailed, Refused };
    Status status = Ok;
    int cardIndex = -1;  // Refused: the 0-based index of the card
    QString reason;  // Refused: which card cannot be saved, and why
};

// Encodes count rows in the card file layout with the given header onto an
// open device. Each card is checked while it is encoded: a line break in a
// field other than the Memo, a Memo line holding "¤#>&%" or a Memo of more
// than 32000 lines would not read back, and such a card stops the encoding.
CardFileEncodeResult EncodeCardFile(QIODevice& device, const CardRows& rows, int count, const QString& header);

struct CardFileWriteResult {
    enum Status { Ok, Refused, WriteFailed };
    Status status = Ok;
    int cardIndex = -1;  // Refused: the 0-based index of the card
    QString errorKind;  // Refused and WriteFailed: the kind of error
    QString errorText;  // Refused and WriteFailed: what went wrong
};

// Writes count rows into the card file at path through SafeSave, so a
// failure part-way, or a card that would not read back, leaves the previous
// file whole. A file that cannot be created (also an existing read-only one)
// throws GeneralError.
CardFileWriteResult WriteCardFile(const QString& path, const CardRows& rows, int count, const QString& header);
