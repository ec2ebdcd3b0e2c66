// Text encodings of card files: UTF-8 out (unpaired surrogates become
// U+FFFD) and the single-byte ANSI code page (Windows-1252) in.
#pragma once

#include <QByteArray>
#include <QString>

// What EncodeUtf8 saw in a text on its way out.
struct Utf8Scan {
    int breakUnits = 0;  // CR and LF units, each counted (CR LF counts two)
    bool memoEnd = false;  // the text holds "¤#>&%", which ends a Memo on reading
};

// The line breaks in text as a reader sees them: CR LF, a lone CR and a lone
// LF each count once.
int CountLineBreaks(QStringView text);

// Writes the UTF-8 form of text from out on and returns the end; out must
// have room for three bytes per UTF-16 unit. With scan, also tells what
// the text holds.
char* EncodeUtf8(char* out, QStringView text, Utf8Scan* scan = nullptr);

// Decodes Windows-1252 bytes. The five bytes the code page leaves undefined
// (81, 8D, 8F, 90, 9D) become the control characters of the same value.
QString DecodeAnsi(const char* bytes, qsizetype size);
