// Puts RTF text into a QTextDocument for the read-only manual viewers.
#pragma once

#include "rtfparse.h"

#include <QString>
#include <QStringList>

class QTextDocument;

// Replaces the content of document with the paragraphs of rtf: each paragraph
// one block with its alignment, indents and spacing, each run a fragment in
// its format. The document keeps no undo history and counts as unmodified.
void FillTextDocument(QTextDocument& document, const RtfDocument& rtf);

// Reads the RTF file at path into document, replacing what it held, and gives
// back what was wrong with the file (RtfDocument::problems; empty for a sound
// one). A file that cannot be read throws GeneralError with the file system's
// reason and leaves document as it was.
QStringList LoadRtfFile(QTextDocument& document, const QString& path);
