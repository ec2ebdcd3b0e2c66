#include "inputrules.h"

#include <algorithm>

bool IsLineBreak(QChar c)
{
    return c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

bool HasLineBreak(QStringView text)
{
    return std::any_of(text.begin(), text.end(), IsLineBreak);
}

TextChange DiffTexts(QStringView before, QStringView after)
{
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype p = 0;
    while (p < shorter && before[p] == after[p])
        ++p;
    qsizetype s = 0;
    while (s < shorter - p && before[before.size() - 1 - s] == after[after.size() - 1 - s])
        ++s;
    return {p, s, after.size() - p - s};
}

bool AddsLineBreak(QStringView after, const TextChange& change)
{
    return HasLineBreak(after.mid(change.prefix, change.added));
}

qsizetype TypedExcess(QStringView after, const TextChange& change, int maxTyped)
{
    if (maxTyped <= 0 || after.size() <= maxTyped || change.added == 0)
        return 0;
    const qsizetype kept = change.prefix + change.suffix;
    const qsizetype room = std::max<qsizetype>(0, maxTyped - kept);
    return std::max<qsizetype>(0, change.added - room);
}
