// The in-memory state of the open card file, shared by every window.
#pragma once

#include "card.h"
#include "filestamp.h"

#include <QDateTime>
#include <QString>

struct CardStore {
    int MaxCardCount = 32000;

    // Rows 0 to CardCount - 1 are the cards; an empty table means "absent".
    CardRows CardTable;
    int CardCount = 0;
    int CurrentCard = 0;
    QString CardFileName;
    bool FileOpen = false;
    bool CardFileChanged = false;
    bool Utf8Mode = true;
    // The card file on the disk as this program last read or wrote it; not
    // existing when it has done neither (a new card file).
    FileStamp CardFileStamp;

    CardRows PickedTable;
    int PickedCount = 0;
    int CurrentPicked = 0;
    bool PickedWindowActive = false;

    // Set by the two "with page feeds" text saves for the save they run; the
    // save reads it and clears it on every way out.
    bool PageFeedPerCard = false;

    Card DeletedCard;
    bool DeletedCardHeld = false;

    // The program's own card copy buffer: fields 1 to 18 of the card copied
    // last. It outlives card files; the system clipboard is never used.
    std::array<QString, FieldCount - 1> CopiedCard;

    bool CardTablePresent() const { return !CardTable.empty(); }
    // Empties CardTable and PickedTable and allocates CardTable again with
    // MaxCardCount empty rows.
    void RenewTables();
    // Releases CardTable and PickedTable (the no-card-file state).
    void ReleaseTables();
};

// The Card ID of a new card: y2021m03d07h09mn05s02ms045 for 7 March 2021,
// 09:05:02.045 local time.
QString MakeCardId(const QDateTime& localNow);
