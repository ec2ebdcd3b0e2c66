#include "textcodec.h"

#include "utf8encode.inc.h"

#if defined(__x86_64__)
char* EncodeUtf8Ssse3(char* out, QStringView text, Utf8Scan* scan);

namespace {
const bool HasSsse3 = __builtin_cpu_supports("ssse3");
}
#endif

char* EncodeUtf8(char* out, QStringView text, Utf8Scan* scan)
{
#if defined(__x86_64__)
    if (HasSsse3)
        return EncodeUtf8Ssse3(out, text, scan);
#endif
    return EncodeUtf8Body(out, text, scan);
}

int CountLineBreaks(QStringView text)
{
    int breaks = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r')
            ++breaks;
        else if (text[i] == u'\n' && !(i > 0 && text[i - 1] == u'\r'))
            ++breaks;
    }
    return breaks;
}

namespace {
constexpr char16_t Cp1252High[32] = {
    0x20AC,
    0x0081,
    0x201A,
    0x0192,
    0x201E,
    0x2026,
    0x2020,
    0x2021,
    0x02C6,
    0x2030,
    0x0160,
    0x2039,
    0x0152,
    0x008D,
    0x017D,
    0x008F,
    0x0090,
    0x2018,
    0x2019,
    0x201C,
    0x201D,
    0x2022,
    0x2013,
    0x2014,
    0x02DC,
    0x2122,
    0x0161,
    0x203A,
    0x0153,
    0x009D,
    0x017E,
    0x0178,
};
}

QString DecodeAnsi(const char* bytes, qsizetype size)
{
    QString s(size, Qt::Uninitialized);
    char16_t* d = reinterpret_cast<char16_t*>(s.data());
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        d[i] = (b >= 0x80 && b < 0xA0) ? Cp1252High[b - 0x80] : char16_t(b);
    }
    return s;
}
