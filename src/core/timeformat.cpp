#include "timeformat.h"

#include <QLocale>

QString WithoutTimeZone(const QString& timeFormat)
{
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < timeFormat.size(); ++i) {
        const QChar c = timeFormat[i];
        if (c == u'\'') {
            quoted = !quoted;
            out += c;
            continue;
        }
        if (quoted || c != u't') {
            out += c;
            continue;
        }
        while (i + 1 < timeFormat.size() && timeFormat[i + 1] == u't')
            ++i;  // "tt" and longer forms
        // The blanks before the zone go with it.
        while (!out.isEmpty() && out.back().isSpace())
            out.chop(1);
    }
    return out.trimmed();
}

QString UserShortDateFormat()
{
    return QLocale::system().dateFormat(QLocale::ShortFormat);
}

QString UserLongTimeFormat()
{
    return WithoutTimeZone(QLocale::system().timeFormat(QLocale::LongFormat));
}
