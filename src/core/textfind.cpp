#include "textfind.h"

#include "inputrules.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// IsLineBreak for the loops over whole listings: most characters are above
// LF and below U+2028, which one comparison each tells.
inline bool BreaksLine(char16_t c)
{
    if (c > u'\r')
        return c == 0x2028 || c == 0x2029;
    return c == u'\r' || c == u'\n';
}

// The first line break in [p, end), or end: eight characters a step where
// the processor allows.
const char16_t* NextBreak(const char16_t* p, const char16_t* const end)
{
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi16(u'\r');
    const __m128i lf = _mm_set1_epi16(u'\n');
    const __m128i ls = _mm_set1_epi16(static_cast<short>(0x2028));
    const __m128i ps = _mm_set1_epi16(static_cast<short>(0x2029));
    for (; end - p >= 8; p += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(v, cr), _mm_cmpeq_epi16(v, lf)),
            _mm_or_si128(_mm_cmpeq_epi16(v, ls), _mm_cmpeq_epi16(v, ps)));
        const int mask = _mm_movemask_epi8(hit);
        if (mask != 0)
            return p + __builtin_ctz(static_cast<unsigned>(mask)) / 2;
    }
#endif
    while (p < end && !BreaksLine(*p))
        ++p;
    return p;
}

}  // namespace

qsizetype FindForward(const QString& text, qsizetype from, const QString& what)
{
    if (what.isEmpty() || from < 0 || from > text.size())
        return -1;
    return text.indexOf(what, from, Qt::CaseSensitive);
}

qsizetype CrLfPosition(const QString& raw, qsizetype rawPosition)
{
    qsizetype breaks = 0;
    for (qsizetype i = 0; i < rawPosition && i < raw.size(); ++i)
        breaks += IsLineBreak(raw[i]) ? 1 : 0;
    return rawPosition + breaks;
}

qsizetype RawPosition(const QString& raw, qsizetype crlfPosition)
{
    qsizetype t = 0;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const qsizetype width = IsLineBreak(raw[i]) ? 2 : 1;
        if (t + width > crlfPosition)
            return i;
        t += width;
    }
    return raw.size();
}

QString RawToCrLf(const QString& raw)
{
    QString out;
    out.reserve(raw.size() + raw.size() / 16);
    for (QChar c : raw) {
        if (IsLineBreak(c))
            out += QStringLiteral("\r\n");
        else
            out += c;
    }
    return out;
}

QString EditorText(QStringView text, int linesPerParagraph)
{
    int lines = 0;
    return EditorText(text, linesPerParagraph, lines);
}

QString EditorText(QStringView text, int linesPerParagraph, int& lines)
{
    QString out(text.size(), Qt::Uninitialized);
    char16_t* o = reinterpret_cast<char16_t*>(out.data());
    const char16_t* p = text.utf16();
    const char16_t* const end = p + text.size();
    while (p < end) {
        const char16_t* const stop = NextBreak(p, end);
        std::memcpy(o, p, static_cast<size_t>(stop - p) * sizeof(char16_t));
        o += stop - p;
        p = stop;
        if (p == end)
            break;
        if (*p++ == u'\r' && p < end && *p == u'\n')
            ++p;
        if (++lines >= linesPerParagraph) {
            *o++ = u'\n';
            lines = 0;
        } else {
            *o++ = QChar::LineSeparator;
        }
    }
    out.truncate(o - reinterpret_cast<const char16_t*>(out.constData()));
    return out;
}

void KeptLineBreaks::Reset(QStringView text)
{
    breaks_.clear();
    const char16_t* const begin = text.utf16();
    const char16_t* const end = begin + text.size();
    qsizetype crlfs = 0;  // CR LF pairs before p: one raw character each
    for (const char16_t* p = NextBreak(begin, end); p < end; p = NextBreak(p, end)) {
        const char16_t c = *p;
        if (c == u'\r' && p + 1 < end && p[1] == u'\n') {
            // CR LF: the form every break reads back in
            ++crlfs;
            p += 2;
            continue;
        }
        breaks_.emplace_back((p - begin) - crlfs, QChar(c));
        ++p;
    }
}

void KeptLineBreaks::Changed(qsizetype position, qsizetype removed, qsizetype added)
{
    if (breaks_.empty())
        return;
    auto at = [](const std::pair<qsizetype, QChar>& b, qsizetype p) { return b.first < p; };
    const auto first = std::lower_bound(breaks_.begin(), breaks_.end(), position, at);
    const auto behind = std::lower_bound(first, breaks_.end(), position + removed, at);
    for (auto b = behind; b != breaks_.end(); ++b)
        b->first += added - removed;
    breaks_.erase(first, behind);
}

QString KeptLineBreaks::Text(QStringView raw) const
{
    QString out;
    out.reserve(raw.size() + raw.size() / 16);
    auto kept = breaks_.begin();
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (!IsLineBreak(c)) {
            out += c;
            continue;
        }
        while (kept != breaks_.end() && kept->first < i)
            ++kept;
        if (kept != breaks_.end() && kept->first == i)
            out += kept->second;
        else
            out += QStringLiteral("\r\n");
    }
    return out;
}
