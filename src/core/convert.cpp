#include "convert.h"

#include "generalerror.h"

#include <cstdint>

int StrToInt(const QString& text)
{
    const qsizetype n = text.size();
    qsizetype i = (n > 0 && (text[0] == u'+' || text[0] == u'-')) ? 1 : 0;
    bool valid = i < n;
    for (qsizetype j = i; valid && j < n; ++j)
        valid = text[j] >= u'0' && text[j] <= u'9';
    bool ok = false;
    const qlonglong v = valid ? text.toLongLong(&ok) : 0;
    if (!ok || v < INT32_MIN || v > INT32_MAX)
        throw GeneralError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return static_cast<int>(v);
}
