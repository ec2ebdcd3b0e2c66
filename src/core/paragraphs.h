// Text wrapped by hand at a fixed width (as the licence text is), made into
// paragraphs that a window wraps at its own width.
#pragma once

#include <QString>

// The lines of each paragraph joined into one line, with one space where a
// line ended (blanks at the join dropped); empty lines, which part the
// paragraphs, stay as they are. LF and CR LF line ends are read alike; the
// result has LF line ends and ends with a line end when text did.
QString UnwrapParagraphs(const QString& text);
