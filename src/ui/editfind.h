// Find Next over a text editor, shared by the find windows of the Memo and of
// the listing: the next occurrence after the editor's selection, compared
// character by character, is selected for a moment and the caret left after
// it; the search never wraps.
#pragma once

#include <QString>

class Platform;
class QPlainTextEdit;

// Looks for what in the text of target (line breaks counted as CR LF) after
// the end of its selection. Found: selects the match, gives target the focus
// so that it shows the match, waits 280 ms and puts the caret just after the
// match; returns true. Not found (an empty what never is): shows
// String "what" not found with an information icon and returns false, the
// selection as it was.
bool FindNextInEditor(Platform& platform, QPlainTextEdit& target, const QString& what);
