// The UTF-8 encoder's body, compiled twice: once for any x86-64 processor
// (textcodec.cpp) and once with SSSE3 (textcodec_ssse3.cpp), which encodes
// eight units below U+0800 at a time. Each file gets its own copy.
#pragma once

#include "textcodec.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__SSSE3__)
#include <tmmintrin.h>
#endif

namespace {

#if defined(__SSE2__)
// The number of CR and LF units among eight.
inline int BreakUnits(__m128i v)
{
    const __m128i breaks =
        _mm_or_si128(_mm_cmpeq_epi16(v, _mm_set1_epi16(u'\r')), _mm_cmpeq_epi16(v, _mm_set1_epi16(u'\n')));
    const auto mask = static_cast<unsigned>(_mm_movemask_epi8(breaks));
    return mask == 0 ? 0 : __builtin_popcount(mask) / 2;  // most blocks have none
}
#endif

#if defined(__SSSE3__)
// Each unit is first laid out as its two bytes; a shuffle keeps the bytes
// that belong (one for ASCII, two below U+0800).
struct TwoByteShuffles {
    alignas(16) unsigned char mask[256][16];
    unsigned char size[256];
    TwoByteShuffles()
    {
        for (int m = 0; m < 256; ++m) {
            int k = 0;
            for (int j = 0; j < 8; ++j) {
                mask[m][k++] = static_cast<unsigned char>(2 * j);
                if (m & (1 << j))
                    mask[m][k++] = static_cast<unsigned char>(2 * j + 1);
            }
            size[m] = static_cast<unsigned char>(k);
            while (k < 16)
                mask[m][k++] = 0x80;
        }
    }
};

const TwoByteShuffles Shuffles;

// Encodes s[0..7] when every unit is below U+0800 and, when the text is
// scanned, none is U+00A4 (which may begin "¤#>&%"); false leaves them
// alone. A scan counts the CR and LF units.
inline bool EncodeTwoByteBlock(const char16_t* s, unsigned char*& o, Utf8Scan* scan)
{
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    __m128i reject = _mm_cmpeq_epi16(_mm_and_si128(v, _mm_set1_epi16(static_cast<short>(0xF800))), _mm_setzero_si128());
    reject = _mm_xor_si128(reject, _mm_set1_epi16(-1));
    if (scan)
        reject = _mm_or_si128(reject, _mm_cmpeq_epi16(v, _mm_set1_epi16(0xA4)));
    if (_mm_movemask_epi8(reject) != 0)
        return false;
    if (scan)
        scan->breakUnits += BreakUnits(v);
    const __m128i two = _mm_cmpgt_epi16(v, _mm_set1_epi16(0x7F));
    const __m128i lead = _mm_or_si128(_mm_srli_epi16(v, 6), _mm_set1_epi16(0xC0));
    const __m128i first = _mm_or_si128(_mm_andnot_si128(two, v), _mm_and_si128(two, lead));
    const __m128i second =
        _mm_slli_epi16(_mm_or_si128(_mm_and_si128(v, _mm_set1_epi16(0x3F)), _mm_set1_epi16(0x80)), 8);
    const __m128i pairs = _mm_or_si128(first, second);
    const int m = _mm_movemask_epi8(_mm_packs_epi16(two, _mm_setzero_si128()));
    const __m128i shuffle = _mm_load_si128(reinterpret_cast<const __m128i*>(Shuffles.mask[m]));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm_shuffle_epi8(pairs, shuffle));
    o += Shuffles.size[m];
    return true;
}
#endif

char* EncodeUtf8Body(char* out, QStringView text, Utf8Scan* scan)
{
    const qsizetype n = text.size();
    const char16_t* s = text.utf16();
    auto* o = reinterpret_cast<unsigned char*>(out);
    qsizetype i = 0;
    while (i < n) {
#if defined(__SSSE3__)
        // Eight units at a time while none needs three bytes or more: one
        // pass serves ASCII and the accented letters of European text alike.
        while (i + 8 <= n && EncodeTwoByteBlock(s + i, o, scan))
            i += 8;
        if (i == n)
            break;
#elif defined(__SSE2__)
        // Eight units at a time while they are ASCII; a scan counts the CR
        // and LF units among them.
        const __m128i high = _mm_set1_epi16(static_cast<short>(0xFF80));
        while (i + 8 <= n) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
            const __m128i notAscii =
                _mm_xor_si128(_mm_cmpeq_epi16(_mm_and_si128(v, high), _mm_setzero_si128()), _mm_set1_epi16(-1));
            const int mask = _mm_movemask_epi8(notAscii);
            _mm_storel_epi64(reinterpret_cast<__m128i*>(o), _mm_packus_epi16(v, v));
            if (mask != 0) {
                // Keep the plain units before the first other one.
                const int plain = __builtin_ctz(static_cast<unsigned>(mask)) / 2;
                for (int k = 0; scan && k < plain; ++k)
                    scan->breakUnits += s[i + k] == u'\r' || s[i + k] == u'\n' ? 1 : 0;
                o += plain;
                i += plain;
                break;
            }
            if (scan)
                scan->breakUnits += BreakUnits(v);
            o += 8;
            i += 8;
        }
        if (i == n)
            break;
#endif
        char32_t c = s[i];
        if (c < 0x80) {
            if (scan && (c == u'\n' || c == u'\r'))
                ++scan->breakUnits;
            *o++ = static_cast<unsigned char>(c);
            ++i;
            continue;
        }
        if (c < 0x800) {
            if (c == 0xA4 && scan && i + 4 < n && s[i + 1] == u'#' && s[i + 2] == u'>' && s[i + 3] == u'&'
                && s[i + 4] == u'%')
                scan->memoEnd = true;
            o[0] = static_cast<unsigned char>(0xC0 | (c >> 6));
            o[1] = static_cast<unsigned char>(0x80 | (c & 0x3F));
            o += 2;
            ++i;
            continue;
        }
        if (c >= 0xD800 && c <= 0xDFFF) {
            if (c <= 0xDBFF && i + 1 < n && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
                o[0] = static_cast<unsigned char>(0xF0 | (c >> 18));
                o[1] = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
                o[2] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
                o[3] = static_cast<unsigned char>(0x80 | (c & 0x3F));
                o += 4;
                i += 2;
                continue;
            }
            c = 0xFFFD;  // an unpaired surrogate
        }
        o[0] = static_cast<unsigned char>(0xE0 | (c >> 12));
        o[1] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
        o[2] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        o += 3;
        ++i;
    }
    return reinterpret_cast<char*>(o);
}

}  // namespace
