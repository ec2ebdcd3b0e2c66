// Appending the cards of another card file to the open card file: the part of
// the two import commands that needs no window. The command stores the shown
// card, asks for the file, calls AppendCardFile, shows outcome.message when
// it is not empty, and shows the current card when outcome.imported().
#pragma once

#include "cardfile.h"
#include "cardstore.h"

#include <QString>

enum class ImportResult {
    Imported,  // the cards were appended (also a file of no cards)
    NoCardFileOpen,  // store.FileOpen is false: nothing done, no message
    NoSuchFile,
    NameNotUtf8,  // the name (as Qt decoded it) stands for a file whose name is not UTF-8
    WrongEncoding,  // a UTF-8 import of a file without BOM, or an ANSI import of one with it
    NotCardFile,
    TooManyCards,
    MemoTooLong,
};

struct ImportOutcome {
    ImportResult result = ImportResult::Imported;
    QString message;  // the message to show; empty when there is none
    int cardsAdded = 0;  // Imported: the number of cards appended
    // Imported: the fields that held bytes that are not UTF-8, with the
    // indices the cards now have in CardTable, and the notice to show once
    // the imported cards are shown (empty when there were none).
    std::vector<TextPlace> notUtf8;
    QString notice;
    bool imported() const { return result == ImportResult::Imported; }
};

// Appends every card of the card file at path, in file order and with all 19
// fields (Card IDs included, never checked against the cards already there),
// after the last card of store. encoding is the command's: Utf8 imports only
// a file that starts with the UTF-8 byte-order mark, Ansi (the old format,
// Windows-1252) only a file that does not.
//
// On success: CardCount grows by the number of cards N, CurrentCard is the
// last card (the last imported one) and CardFileChanged is set. A file whose
// count line says 0, or less, adds no card but still moves to the last card
// and marks the card file changed; CardCount never falls.
//
// Every refusal gives its message and leaves store exactly as it was: a
// missing file, a name that is not UTF-8 (fileinspect.h), the wrong encoding, a file that is no card file, more cards
// than the card file has room for (MaxCardCount - CardCount), and a Memo of
// more than 32000 lines (the cards read before it are dropped). A file that
// cannot be opened or read, anything but a regular file (a named pipe, a
// device, a folder: refused before a byte is read), or a file whose count
// line is not a whole number, throws GeneralError, also with store untouched.
ImportOutcome AppendCardFile(CardStore& store, const QString& path, CardEncoding encoding);

// Appends cards that came from elsewhere (another program's table) after the
// last card of store, as AppendCardFile appends a card file's: refused with
// the same message, and store untouched, when they are more than the card
// file has room for; otherwise CardCount grows, CurrentCard is the last card
// and CardFileChanged is set.
ImportOutcome AppendCards(CardStore& store, CardRows cards);
