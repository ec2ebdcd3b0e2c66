// Every file the program writes goes through SafeSave: the bytes go to a
// temporary file beside the target, which replaces the target only once all
// of it is written and on the disk. A failure or a crash part-way leaves the
// previous file whole.
//
// What it costs: the volume needs room for a second copy while saving, and a
// hard link to the old file keeps the old contents (the saved file is a new
// one). Owner, group and mode of an existing file are carried over where the
// system allows. A writable file in a folder that cannot take a new file is
// the one case written in place.
#pragma once

#include <QIODevice>
#include <QString>
#include <functional>

struct SaveResult {
    enum Status { Ok, WriteFailed, Stopped };
    Status status = Ok;
    // WriteFailed: the kind of error ("WriteError", "ResourceError" for a
    // full disk or a size limit, "RenameError") and the system's reason.
    QString errorKind;
    QString errorText;
};

// Writes what write puts onto the device (opened for writing) into path.
// write returns false when it stopped: with the device in error the save is
// WriteFailed, otherwise Stopped (the writer refused its input); either way
// the target stays as it was. A file that cannot be created (also an existing
// read-only one, whose refusal QSaveFile-style fallbacks must not write
// around) throws GeneralError with the system's reason.
//
// ownerOnly makes the saved file readable and writable by its owner alone
// (mode 0600), whatever the old file's mode was, from the moment it exists.
SaveResult SafeSave(const QString& path, const std::function<bool(QIODevice&)>& write, bool ownerOnly = false);

// Writes all n bytes or fails: a device that takes only part of them is asked
// for the rest, so that a full disk reports its own reason.
bool WriteAll(QIODevice& device, const char* bytes, qint64 n);

// An existing file that the user may not write, or whose write bits are all
// off (which holds for the superuser too).
bool IsReadOnlyFile(const QString& path);
