// What a path names, looked at before a byte of it is read. Only a regular
// file (or a symbolic link to one) is read as a card file: a named pipe would
// block the program in open or read, a device such as /dev/zero never ends,
// and neither is a card file. Every reader of a file the user names (the
// command-line open, File > Open, both imports, the command-line tool) asks
// here first, and so all of them refuse in the same words.
//
// File names that are not UTF-8: Qt decodes such a name with U+FFFD in place
// of the bad bytes and cannot give the bytes back, so the program cannot
// open, nor save back to, such a file. It says so instead of claiming that
// the file does not exist.
#pragma once

#include <QString>

enum class PathKind {
    Regular,  // a regular file, or a link to one
    Missing,  // nothing of that name (also a dangling link)
    NameNotUtf8,  // missing as decoded, but a file whose name is not UTF-8 decodes to it
    Folder,
    NamedPipe,
    CharacterDevice,
    BlockDevice,
    Socket,
    Unreachable,  // stat failed otherwise: no search permission, a link loop, ...
};

struct PathInspection {
    PathKind kind = PathKind::Missing;
    // Empty for Regular and Missing; otherwise the text to show, naming the
    // file: NotRegularFileText, NonUtf8NameText or the system's reason.
    QString message;
    bool regular() const { return kind == PathKind::Regular; }
};

// Looks at path with stat alone (nothing is opened, so nothing blocks).
PathInspection InspectPath(const QString& path);

// "Cannot open file "<path>". It is a named pipe, not a regular file: only a
// card file can be read." (a folder, a character device, a block device, a
// socket, or "not a regular file" alone for any other kind).
QString NotRegularFileText(const QString& path, PathKind kind);

// "Cannot open file "<path>". Its name is not valid UTF-8, which this
// program cannot keep. Please rename the file (with a name in UTF-8) and try
// again."
QString NonUtf8NameText(const QString& path);

// Opens path for reading and answers at once: the path is looked at first,
// the file is opened with O_NONBLOCK and looked at again through the open
// descriptor (so a file swapped for a pipe in between is refused too), then
// put back into blocking mode. Returns the descriptor (close-on-exec), which
// the caller owns. Anything but a regular file, and a file that cannot be
// opened, throws GeneralError: the texts above, or "Cannot open file
// "<path>". <the system's reason>".
int OpenRegularFile(const QString& path);
