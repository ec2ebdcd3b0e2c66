// Date and time formats of the user's locale, as the program uses them.
#pragma once

#include <QString>

// A time format without its time-zone part ("t" and the blanks or
// separators that lead up to it): "HH:mm:ss t" becomes "HH:mm:ss". Quoted
// text stays as it is.
QString WithoutTimeZone(const QString& timeFormat);

// The user's short date format and long time format (without its time-zone
// part), in QDateTime::toString style, from the system locale. The listing
// and the text export write the date and time of their header in these.
QString UserShortDateFormat();
QString UserLongTimeFormat();
