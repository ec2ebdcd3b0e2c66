// Pieces of file paths that the save dialogs and captions show. Folders are
// separated by '/'.
#pragma once

#include <QString>

// The file name without its folder: "/home/a/Books.kqk" -> "Books.kqk".
QString FileNamePart(const QString& path);

// The file name without its folder and without its extension (what follows
// the last '.' of the name): "/home/a/Books.kqk" -> "Books". A name that only
// starts with a dot (".notes") keeps it.
QString FileNameWithoutExtension(const QString& path);

// path + ".txt" when path contains neither ".txt" nor ".TXT" anywhere (a
// case-sensitive test over the whole path, folders included); otherwise path.
QString WithTxtExtension(const QString& path);
