// libFuzzer target for ReadCardFile, in both encodings.
//
// Every input is read twice: by ReadCardFile, and by the plain line-by-line
// reader below, which follows the card file layout in the most direct way
// (one line at a time, each decoded on its own). The two must agree on the
// outcome and on every card. On top of that:
//   - the outcome's own invariants hold (TooManyCards only above the
//     capacity, MemoTooLong with 32001 lines and a valid card index, progress
//     called for each card in turn, rows past the cards read left alone);
//   - a table read Ok (up to RoundTripLimit cards) is written back with
//     WriteCardFile and read again, and gives the same cards.
//
// Input layout:
//   byte 0   bit 0     encoding: 0 UTF-8, 1 ANSI
//            bits 1-3  capacity, an index into Capacities
//            bit 4     the rows handed to the reader already hold 4 cards
//            bits 5-7  padding: 5, 6 and 7 insert a long run of bytes (below),
//                      other values none
//   with padding, 2 bytes: where to insert it (modulo the file size + 1),
//                 2 bytes: its size adjustment and its kind
//   the rest: the file's bytes
//
// Padding lets small inputs reach what only big files show: lines and Memos
// that straddle the reader's 256 KiB buffer refills, and Memos at the limit
// of 32000 lines.
#include "cardfile.h"
#include "generalerror.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int Capacities[8] = {0, 1, 2, 3, 5, 16, 200, 32000};
constexpr int RoundTripLimit = 64;
constexpr size_t PrefilledRows = 4;
constexpr size_t ReadChunk = size_t(1) << 18;  // what the reader reads at a time
constexpr int MemoLineLimit = 32000;

// ---------------------------------------------------------------------------
// Failure reports

QByteArray Shown(const QString& s)
{
    QByteArray out;
    const QString cut = s.size() > 120 ? s.left(120) : s;
    for (QChar c : cut) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u < 0x7F && u != u'\\')
            out += char(u);
        else
            out += QByteArray("\\u") + QByteArray::number(u, 16).rightJustified(4, '0');
    }
    if (cut.size() != s.size())
        out += QByteArray("... (") + QByteArray::number(s.size()) + " UTF-16 units)";
    return out;
}

[[noreturn]] void Fail(const char* fmt, ...)
{
    std::fprintf(stderr, "\n*** card file fuzz check failed: ");
    va_list ap;
    va_start(ap, fmt);
    std::vfprintf(stderr, fmt, ap);
    va_end(ap);
    std::fprintf(stderr, "\n");
    std::abort();
}

const char* ResultName(CardFileReadResult r)
{
    switch (r) {
    case CardFileReadResult::Ok:
        return "Ok";
    case CardFileReadResult::NotCardFile:
        return "NotCardFile";
    case CardFileReadResult::TooManyCards:
        return "TooManyCards";
    case CardFileReadResult::MemoTooLong:
        return "MemoTooLong";
    }
    return "?";
}

void ExpectSameCell(const char* what, size_t row, int cell, const QString& got, const QString& want)
{
    if (got != want)
        Fail("%s: card %zu cell %d differs\n  got  \"%s\"\n  want \"%s\"", what, row, cell, Shown(got).constData(),
            Shown(want).constData());
}

void ExpectSameCard(const char* what, size_t row, const Card& got, const Card& want, int cells = FieldCount)
{
    for (int c = 0; c < cells; ++c)
        ExpectSameCell(what, row, c, got[c], want[c]);
}

// ---------------------------------------------------------------------------
// The plain reader

QString DecodeWindows1252(std::string_view b)
{
    static const char16_t high[32] = {
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
    QString s;
    s.reserve(qsizetype(b.size()));
    for (char ch : b) {
        const auto u = static_cast<unsigned char>(ch);
        s += QChar(u >= 0x80 && u < 0xA0 ? high[u - 0x80] : char16_t(u));
    }
    return s;
}

struct PlainLine {
    QString text;
    bool past = false;  // read past the end of the file
};

// UTF-8: a line ends at CR LF, LF or a lone CR. ANSI: a line ends at LF and
// every CR is dropped. Past the end every line is empty.
class PlainLines {
public:
    PlainLines(std::string_view data, CardEncoding encoding) : d_(data), enc_(encoding)
    {
        if (enc_ == CardEncoding::Utf8 && d_.substr(0, 3) == "\xEF\xBB\xBF")
            pos_ = 3;
    }

    PlainLine Next()
    {
        PlainLine line;
        const size_t n = d_.size();
        if (pos_ >= n) {
            line.past = true;
            return line;
        }
        size_t i = pos_;
        if (enc_ == CardEncoding::Utf8) {
            while (i < n && d_[i] != '\r' && d_[i] != '\n')
                ++i;
            const std::string_view bytes = d_.substr(pos_, i - pos_);
            // A U+FEFF that starts a line is text like any other.
            QStringDecoder utf8(
                QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
            line.text = utf8.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
            if (i < n)
                i += (d_[i] == '\r' && i + 1 < n && d_[i + 1] == '\n') ? 2 : 1;
        } else {
            std::string bytes;
            while (i < n && d_[i] != '\n') {
                if (d_[i] != '\r')
                    bytes += d_[i];
                ++i;
            }
            line.text = DecodeWindows1252(bytes);
            if (i < n)
                ++i;
        }
        pos_ = i;
        return line;
    }

private:
    std::string_view d_;
    CardEncoding enc_;
    size_t pos_ = 0;
};

std::optional<int> PlainCount(const QString& t)
{
    qsizetype i = 0;
    bool negative = false;
    if (!t.isEmpty() && (t[0] == u'+' || t[0] == u'-')) {
        negative = t[0] == u'-';
        i = 1;
    }
    if (i == t.size())
        return std::nullopt;
    long long v = 0;
    for (; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        v = std::min(v * 10 + (c - u'0'), 1LL << 32);
    }
    if (negative)
        v = -v;
    if (v < INT32_MIN || v > INT32_MAX)
        return std::nullopt;
    return int(v);
}

struct PlainResult {
    bool throws = false;  // the count line is not a whole number
    CardFileReadOutcome out;
    CardRows rows;  // the cards read; on MemoTooLong the last one holds fields 1 to 17 only
};

PlainResult PlainRead(std::string_view data, CardEncoding encoding, int capacity)
{
    static const QString memoEnd = QString::fromUtf8("\xC2\xA4#>&%");
    PlainResult r;
    PlainLines in(data, encoding);
    in.Next();
    if (!in.Next().text.contains(QLatin1String("f1g0h0i1"))) {
        r.out.result = CardFileReadResult::NotCardFile;
        return r;
    }
    const std::optional<int> count = PlainCount(in.Next().text);
    if (!count) {
        r.throws = true;
        return r;
    }
    r.out.count = *count;
    if (*count > capacity) {
        r.out.result = CardFileReadResult::TooManyCards;
        return r;
    }
    for (int i = 0; i < *count; ++i) {
        Card card;
        for (int c = 0; c < MemoCell; ++c)
            card[c] = in.Next().text;
        in.Next();  // the start marker
        QStringList memo;
        for (;;) {
            const PlainLine l = in.Next();
            if (l.text.contains(memoEnd))
                break;
            // Past the end every line is empty, so the limit would be hit.
            if (l.past || memo.size() == MemoLineLimit) {
                r.rows.push_back(card);
                r.out.result = CardFileReadResult::MemoTooLong;
                r.out.memoLines = MemoLineLimit + 1;
                r.out.cardIndex = i;
                return r;
            }
            memo.push_back(l.text);
        }
        card[MemoCell] = memo.join(QStringLiteral("\r\n"));
        card[CardIdCell] = in.Next().text;
        r.rows.push_back(card);
    }
    return r;
}

// ---------------------------------------------------------------------------
// Input decoding

struct FuzzCase {
    CardEncoding encoding = CardEncoding::Utf8;
    int capacity = 0;
    bool prefilled = false;
    std::string file;
};

unsigned U16(const uint8_t* p)
{
    return unsigned(p[0]) | (unsigned(p[1]) << 8);
}

FuzzCase Decode(const uint8_t* data, size_t size)
{
    FuzzCase fc;
    const uint8_t mode = data[0];
    fc.encoding = (mode & 1) ? CardEncoding::Ansi : CardEncoding::Utf8;
    fc.capacity = Capacities[(mode >> 1) & 7];
    fc.prefilled = (mode >> 4) & 1;
    const unsigned pad = mode >> 5;
    ++data;
    --size;
    if (pad < 5 || size < 4) {
        fc.file.assign(reinterpret_cast<const char*>(data), size);
        return fc;
    }
    const unsigned where = U16(data);
    const unsigned adjust = U16(data + 2);
    data += 4;
    size -= 4;
    const std::string body(reinterpret_cast<const char*>(data), size);
    const size_t at = where % (size + 1);

    std::string run;
    if (pad == 5) {
        // Memo lines around the limit: 31990 to 32009 CR LF line ends.
        const size_t lines = MemoLineLimit - 10 + adjust % 20;
        run.reserve(lines * 2);
        for (size_t i = 0; i < lines; ++i)
            run += "\r\n";
    } else {
        // Enough bytes that the byte after the run lies within 1 KiB of the
        // first (pad 6) or second (pad 7) buffer refill.
        static const char* const units[8] = {"x", "\r\n", "\n", "\r", "ab\r\n", "\r\r\n", "\xC2\xA4", "\n\r"};
        const std::string unit = units[(adjust >> 11) & 7];
        const size_t target = (pad == 6 ? 1 : 2) * ReadChunk - 1024 + (adjust & 0x7FF);
        const size_t want = target > at ? target - at : 0;
        run.reserve(want + unit.size());
        while (run.size() + unit.size() <= want)
            run += unit;
        run.append(unit, 0, want - run.size());  // part of a unit: a split sequence
    }
    fc.file = body.substr(0, at) + run + body.substr(at);
    return fc;
}

// ---------------------------------------------------------------------------

struct Files {
    QTemporaryDir dir;
    QString in = dir.filePath(QStringLiteral("in.kqk"));
    QString out = dir.filePath(QStringLiteral("out.kqk"));
};

Files& TheFiles()
{
    static Files f;
    if (!f.dir.isValid())
        Fail("cannot make a temporary folder");
    return f;
}

void WriteBytes(const QString& path, const std::string& bytes)
{
    std::FILE* f = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fclose(f) != 0)
        Fail("cannot write the input file");
}

Card Prefilled(size_t row)
{
    Card c;
    for (int cell = 0; cell < FieldCount; ++cell)
        c[cell] = QStringLiteral("\u2603 row %1 cell %2").arg(row).arg(cell);
    return c;
}

// What a row that the reader did not fill must still hold.
Card Untouched(const CardRows& before, size_t row)
{
    return row < before.size() ? before[row] : Card();
}

void CheckRound(const CardRows& rows, int count)
{
    const Files& files = TheFiles();
    CardFileWriteResult w;
    try {
        w = WriteCardFile(files.out, rows, count, MainFileHeaderText);
    } catch (const GeneralError& e) {
        Fail("WriteCardFile threw: %s", qPrintable(e.text()));
    }
    // A card read from a file has no line break outside its Memo, a Memo of
    // at most 32000 lines and no line in it holding the end test, so a table
    // that read Ok must always be writable.
    if (w.status != CardFileWriteResult::Ok)
        Fail("WriteCardFile did not write a table that read Ok: status %d, card %d: %s", int(w.status), w.cardIndex,
            qPrintable(w.errorText));
    CardRows back;
    CardFileReadOutcome o;
    try {
        o = ReadCardFile(files.out, CardEncoding::Utf8, count, back);
    } catch (const GeneralError& e) {
        Fail("reading the written file threw: %s", qPrintable(e.text()));
    }
    if (o.result != CardFileReadResult::Ok || o.count != count)
        Fail("the written file read back as %s with count %d, not Ok with %d", ResultName(o.result), o.count, count);
    if (back.size() < size_t(count))
        Fail("the written file read back into %zu rows for %d cards", back.size(), count);
    for (size_t j = 0; j < size_t(count); ++j)
        ExpectSameCard("round trip", j, back[j], rows[j]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const FuzzCase fc = Decode(data, size);
    const Files& files = TheFiles();
    WriteBytes(files.in, fc.file);

    CardRows rows;
    if (fc.prefilled)
        for (size_t j = 0; j < PrefilledRows; ++j)
            rows.push_back(Prefilled(j));
    const CardRows before = rows;
    std::vector<int> progress;

    CardFileReadOutcome got;
    bool threw = false;
    try {
        got = ReadCardFile(files.in, fc.encoding, fc.capacity, rows, [&](int i) { progress.push_back(i); });
    } catch (const GeneralError&) {
        threw = true;
    }

    const PlainResult want = PlainRead(fc.file, fc.encoding, fc.capacity);
    if (threw != want.throws)
        Fail("ReadCardFile %s, the plain reader %s", threw ? "threw" : "did not throw",
            want.throws ? "throws (count line not a whole number)" : "does not");

    auto expectRowsUntouchedFrom = [&](size_t from) {
        const size_t n = std::max(rows.size(), before.size());
        for (size_t j = from; j < n; ++j) {
            if (j >= rows.size())
                Fail("row %zu was removed (%zu rows, %zu before)", j, rows.size(), before.size());
            ExpectSameCard("row past the cards read", j, rows[j], Untouched(before, j));
        }
    };
    auto expectProgress = [&](int calls) {
        if (progress.size() != size_t(calls))
            Fail("progress called %zu times, expected %d", progress.size(), calls);
        for (int i = 0; i < calls; ++i)
            if (progress[size_t(i)] != i)
                Fail("progress call %d got %d", i, progress[size_t(i)]);
    };

    if (threw) {
        if (rows.size() != before.size())
            Fail("rows resized by a read that threw");
        expectRowsUntouchedFrom(0);
        expectProgress(0);
        return 0;
    }

    if (got.result != want.out.result || got.count != want.out.count || got.memoLines != want.out.memoLines
        || got.cardIndex != want.out.cardIndex)
        Fail("outcome differs: got %s count %d memoLines %d cardIndex %d; plain reader %s count %d memoLines %d "
             "cardIndex %d",
            ResultName(got.result), got.count, got.memoLines, got.cardIndex, ResultName(want.out.result),
            want.out.count, want.out.memoLines, want.out.cardIndex);

    const int n = got.count;
    const size_t filledSize = std::max(before.size(), size_t(std::max(n, 0)));
    switch (got.result) {
    case CardFileReadResult::NotCardFile:
    case CardFileReadResult::TooManyCards:
        if (got.result == CardFileReadResult::TooManyCards && n <= fc.capacity)
            Fail("TooManyCards with count %d and capacity %d", n, fc.capacity);
        if (rows.size() != before.size())
            Fail("rows resized by a %s read", ResultName(got.result));
        expectRowsUntouchedFrom(0);
        expectProgress(0);
        break;
    case CardFileReadResult::Ok:
        if (n > fc.capacity)
            Fail("Ok with count %d over capacity %d", n, fc.capacity);
        if (rows.size() != filledSize)
            Fail("Ok read of %d cards left %zu rows (%zu before)", n, rows.size(), before.size());
        expectProgress(std::max(n, 0));
        for (size_t j = 0; j < size_t(std::max(n, 0)); ++j)
            ExpectSameCard("against the plain reader", j, rows[j], want.rows[j]);
        expectRowsUntouchedFrom(size_t(std::max(n, 0)));
        if (n >= 0 && n <= RoundTripLimit)
            CheckRound(rows, n);
        break;
    case CardFileReadResult::MemoTooLong: {
        if (got.memoLines != MemoLineLimit + 1)
            Fail("MemoTooLong with %d lines", got.memoLines);
        if (got.cardIndex < 0 || got.cardIndex >= n || n > fc.capacity)
            Fail("MemoTooLong at card %d of %d (capacity %d)", got.cardIndex, n, fc.capacity);
        if (rows.size() != filledSize)
            Fail("MemoTooLong read of %d cards left %zu rows (%zu before)", n, rows.size(), before.size());
        const size_t at = size_t(got.cardIndex);
        expectProgress(got.cardIndex + 1);
        for (size_t j = 0; j < at; ++j)
            ExpectSameCard("against the plain reader", j, rows[j], want.rows[j]);
        ExpectSameCard("fields of the card with the long Memo", at, rows[at], want.rows[at], MemoCell);
        expectRowsUntouchedFrom(at + 1);
        break;
    }
    }
    return 0;
}
