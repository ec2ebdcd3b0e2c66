// Reading a card file the way Open and the command-line open read it: the
// byte-order mark test, the reader, and the message each refusal shows.
#pragma once

#include "cardfile.h"
#include "cardstore.h"

#include <QString>
#include <functional>
#include <vector>

// "The file with this name does not exist in this directory"
extern const QString NoSuchFileMessage;

// What reading a card file for Open came to.
struct OpenReadOutcome {
    bool ok = false;
    QString message;  // the refusal's message; empty when ok
    // The fields whose bytes were not UTF-8 (shown, and saved, as U+FFFD).
    std::vector<TextPlace> notUtf8;
};

// Renews the store's tables and reads path into CardTable, the capacity
// MaxCardCount: a file without the UTF-8 byte-order mark is refused with the
// message that points to the old-format import, and each refusal of the
// reader gives Open's own message for it. On success CardCount is the
// file's count line (0 or less for a hand-made file that holds no cards: the
// caller decides what that opens as). Nothing else of the store changes.
// A file that cannot be opened or read, or whose count line is not a whole
// number, throws GeneralError.
OpenReadOutcome ReadCardFileForOpen(
    CardStore& store, const QString& path, const std::function<void(int)>& progress = {});
