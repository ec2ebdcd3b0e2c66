// Text encodings of card files: UTF-8 out (unpaired surrogates become
// U+FFFD) and the single-byte ANSI code page (Windows-1252) in.
#pragma once

#include <QByteArray>
#include <QString>

// Appends the UTF-8 form of text to out.
void AppendUtf8(QByteArray& out, QStringView text);

// Decodes Windows-1252 bytes. The five bytes the code page leaves undefined
// (81, 8D, 8F, 90, 9D) become the control characters of the same value.
QString DecodeAnsi(const char* bytes, qsizetype size);
