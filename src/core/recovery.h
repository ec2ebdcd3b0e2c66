// Recovery copies: while a card file has unsaved changes, a copy of its whole
// card table is kept in the user's state folder, so that a crash, a kill or
// the end of a session loses none of them. A copy is a card file of its own,
// readable by its owner alone, named after the full path of the card file it
// belongs to; nothing but a Save or the user's choice removes it.
#pragma once

#include "card.h"
#include "cardfile.h"

#include <QDateTime>
#include <QString>

// $XDG_STATE_HOME/cardomo, or ~/.local/state/cardomo when XDG_STATE_HOME is
// unset, empty or not an absolute path.
QString RecoveryFolder();

// The copy of the card file at cardFilePath in folder: the card file's name
// (cut short when long), a dash, 16 hex digits of the SHA-256 of its full
// path (a relative path counts from the current folder) and ".kqk".
// "/home/a/Books.kqk" -> "<folder>/Books.kqk-1f0e...9a.kqk".
QString RecoveryCopyPath(const QString& folder, const QString& cardFilePath);

struct RecoveryWriteResult {
    enum Status { Ok, Refused, Failed };
    Status status = Ok;
    // Refused: which card cannot be written and why; Failed: the system's
    // reason, with the path it concerns.
    QString errorText;
};

// Writes count rows as a card file (the main window's header) at copyPath
// through the safe save, with mode 0600, making the folder first (mode 0700).
// Never throws: a folder or file that cannot be made is Failed.
RecoveryWriteResult WriteRecoveryCopy(const QString& copyPath, const CardRows& rows, int count);

// What lies at copyPath for the card file at cardFilePath: no copy, a copy
// written after the card file was last written (or of a card file that is
// not on the disk), or an older one.
struct RecoveryCopyFound {
    enum Kind { None, Newer, Older };
    Kind kind = None;
    QDateTime written;  // the copy's modification time, local
};
RecoveryCopyFound FindRecoveryCopy(const QString& copyPath, const QString& cardFilePath);

// Reads a copy. ok with at least one card in rows (grown to count rows);
// otherwise problem says what is wrong with it. Never throws.
struct RecoveryRead {
    bool ok = false;
    CardRows rows;
    int count = 0;
    QString problem;
};
RecoveryRead ReadRecoveryCopy(const QString& copyPath, int capacity);

// Renames the copy so that it stays beside the others but is never taken for
// a card file's current copy: "<name>.kqk" -> "<name>-kept-20261211-061502.kqk"
// from the time it was written, with "-2", "-3" ... before ".kqk" when that
// name is taken. Returns the new path; empty when it could not be renamed.
QString SetRecoveryCopyAside(const QString& copyPath, const QDateTime& written);

// Removes the copy; true when no such file is left.
bool RemoveRecoveryCopy(const QString& copyPath);
