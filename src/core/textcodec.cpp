#include "textcodec.h"

void AppendUtf8(QByteArray& out, QStringView text)
{
    const qsizetype n = text.size();
    const char16_t* s = text.utf16();
    const qsizetype start = out.size();
    out.resize(start + n * 3);  // no UTF-16 unit needs more than 3 bytes
    auto* o = reinterpret_cast<unsigned char*>(out.data() + start);
    unsigned char* const o0 = o;
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = s[i];
        if (c < 0x80) {
            *o++ = static_cast<unsigned char>(c);
            continue;
        }
        if (c >= 0xD800 && c <= 0xDFFF) {
            if (c <= 0xDBFF && i + 1 < n && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
                ++i;
                *o++ = static_cast<unsigned char>(0xF0 | (c >> 18));
                *o++ = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
                *o++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
                *o++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
                continue;
            }
            c = 0xFFFD;  // an unpaired surrogate
        }
        if (c < 0x800) {
            *o++ = static_cast<unsigned char>(0xC0 | (c >> 6));
            *o++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else {
            *o++ = static_cast<unsigned char>(0xE0 | (c >> 12));
            *o++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            *o++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        }
    }
    out.resize(start + (o - o0));
}

namespace {
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
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
