// Date and time formats of the user's locale, as the program uses them.
#pragma once

#include <QString>

// A time format without its time-zone part ("t" and the blanks or
// separators that lead up to it): "HH:mm:ss t" becomes "HH:mm:ss". Quoted
// text stays as it is.
QString WithoutTimeZone(const QString& timeFormat);
