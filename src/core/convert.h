#pragma once

#include <QString>

// A whole decimal number (an optional sign, then digits) within 32 bits.
// Anything else throws GeneralError with the standard conversion message
// "'text' is not a valid integer value".
int StrToInt(const QString& text);
