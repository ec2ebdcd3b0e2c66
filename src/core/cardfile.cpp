#include "cardfile.h"

#include "convert.h"
#include "fileinspect.h"
#include "generalerror.h"
#include "safesave.h"
#include "textcodec.h"

#include <QFile>
#include <QSet>
#include <QStringDecoder>
#include <cerrno>
#include <cstring>
#include <unistd.h>

const QString FormatTag = QStringLiteral("KQa0b5c1d0e2f1g0h0i1");
const QString MainFileHeaderText =
    QStringLiteral("IF YOU SEE THIS TEXT, YOU ARE IN WRONG PLACE!! THIS IS CARDOMO DATA FILE. THIS TEXT FILE IS "
                   "ONLY FOR THE USE OF CARDOMO SOFTWARE! PLEASE ABORT WITHOUT MAKING A N Y CHANGES IN THIS FILE!");
const QString PickedFileHeaderText =
    QStringLiteral("IF YOU SEE THIS TEXT, YOU ARE IN WRONG PLACE!! THIS IS CARDOMO DATA FILE. THIS TEXT FILE IS "
                   "ONLY FOR THE USE OF CARDOMO SOFTWARE! PLEASE ABORT WITHOUT MAKING ANY CHANGES IN THIS FILE!");
const QString MemoStartMarker = QStringLiteral("\u00A4#<&%\u00A4#<&%KQ==");
const QString MemoEndMarker = QStringLiteral("\u00A4#>&%\u00A4#>&%KQ==");
const QString MemoEndTest = QStringLiteral("\u00A4#>&%");

namespace {

// Opens a regular file for reading, refusing anything else at once.
void OpenForReading(QFile& file, const QString& path)
{
    const int fd = OpenRegularFile(path);
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw GeneralError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    }
}

// Sequential line reading over a file with a growable buffer. A line is a
// byte range inside the buffer; ranges stay valid until the next refill.
// While a mark is set, the bytes from the mark on stay in the buffer, so the
// lines of one Memo can be decoded in one piece.
class LineReader {
public:
    LineReader(QFile& file, CardEncoding encoding) : file_(file), encoding_(encoding) { }

    struct Line {
        qsizetype begin = 0;  // offset in the buffer
        qsizetype size = 0;  // content bytes, line end excluded
        bool crlf = false;  // ended by CR LF (not LF, lone CR or the end of the file)
        bool past = false;  // read past the end of the file: an empty line
    };

    // Skips a UTF-8 byte-order mark at the very start.
    void SkipBom()
    {
        Ensure(3);
        if (end_ - pos_ >= 3 && std::memcmp(buf_.constData() + pos_, "\xEF\xBB\xBF", 3) == 0)
            pos_ += 3;
    }

    // The next line in pieces, none of which is held past the next call: a
    // line that is ignored or only searched costs no memory however long it
    // is. A piece is a byte range in the buffer; last marks the line's end
    // (its line end consumed, or the end of the file).
    struct Piece {
        qsizetype begin = 0;
        qsizetype size = 0;
        bool last = false;
    };
    Piece NextPiece()
    {
        for (;;) {
            const char* b = buf_.constData();
            const qsizetype found = FindLineEnd(b + pos_, end_ - pos_);
            if (found >= 0) {
                const qsizetype at = pos_ + found;
                if (encoding_ == CardEncoding::Utf8 && b[at] == '\r' && at + 1 >= end_ && !eof_) {
                    // CR at the buffer's end: is LF next? The bytes before it go out first.
                    if (found > 0) {
                        const Piece piece{pos_, found, false};
                        pos_ = at;
                        return piece;
                    }
                    Refill();
                    continue;
                }
                const Piece piece{pos_, found, true};
                pos_ = (encoding_ == CardEncoding::Utf8 && b[at] == '\r' && at + 1 < end_ && b[at + 1] == '\n')
                    ? at + 2
                    : at + 1;
                return piece;
            }
            if (pos_ < end_) {
                const Piece piece{pos_, end_ - pos_, false};
                pos_ = end_;
                return piece;
            }
            if (eof_ || !Refill())
                return Piece{pos_, 0, true};
        }
    }

    // Reads past the next line without keeping it. A hole in a sparse file
    // holds only zeros, and so no line end: it is stepped over unread.
    void Skip()
    {
        while (!NextPiece().last) {
            if (pos_ == end_ && mark_ < 0 && !eof_)
                SkipHole();
        }
    }

    Line Next()
    {
        Line line;
        for (;;) {
            const char* b = buf_.constData();
            const qsizetype found = FindLineEnd(b + pos_, end_ - pos_);
            if (found >= 0) {
                const qsizetype at = pos_ + found;
                line.begin = pos_;
                line.size = found;
                if (encoding_ == CardEncoding::Utf8) {
                    if (b[at] == '\r') {
                        if (at + 1 >= end_ && !eof_) {  // CR at the buffer's end: is LF next?
                            Refill();  // moves the buffer: look for the line again
                            continue;
                        }
                        if (at + 1 < end_ && b[at + 1] == '\n') {
                            line.crlf = true;
                            pos_ = at + 2;
                        } else {
                            pos_ = at + 1;
                        }
                    } else {
                        pos_ = at + 1;
                    }
                } else {  // ANSI: the line ends at LF; CRs are dropped from the text
                    line.crlf = found > 0 && b[at - 1] == '\r';
                    pos_ = at + 1;
                }
                return line;
            }
            if (!eof_ && Refill())
                continue;
            if (pos_ < end_) {  // a last line without a line end
                line.begin = pos_;
                line.size = end_ - pos_;
                pos_ = end_;
                return line;
            }
            line.begin = pos_;
            line.past = true;
            return line;
        }
    }

    const char* Data(const Line& l) const { return buf_.constData() + l.begin; }
    const char* At(qsizetype offset) const { return buf_.constData() + offset; }

    void SetMark() { mark_ = pos_; }
    void ClearMark() { mark_ = -1; }
    qsizetype Mark() const { return mark_; }

private:
    qsizetype FindLineEnd(const char* p, qsizetype n) const
    {
        if (encoding_ == CardEncoding::Ansi) {
            const void* lf = std::memchr(p, '\n', static_cast<size_t>(n));
            return lf ? static_cast<const char*>(lf) - p : -1;
        }
        for (qsizetype i = 0; i < n; ++i) {
            const char c = p[i];
            if (c == '\n' || c == '\r')
                return i;
        }
        return -1;
    }

    void Ensure(qsizetype n)
    {
        while (end_ - pos_ < n && !eof_ && Refill()) { }
    }

    // Moves the kept bytes to the front and reads more; false at the end.
    bool Refill()
    {
        const qsizetype keep = mark_ >= 0 ? mark_ : pos_;
        const qsizetype shift = keep;
        if (shift > 0) {
            std::memmove(buf_.data(), buf_.constData() + shift, static_cast<size_t>(end_ - shift));
            end_ -= shift;
            pos_ -= shift;
            if (mark_ >= 0)
                mark_ -= shift;
        }
        if (buf_.size() - end_ < ChunkSize)
            buf_.resize(std::max<qsizetype>(buf_.size() * 2, end_ + ChunkSize));
        const qint64 got = file_.read(buf_.data() + end_, buf_.size() - end_);
        if (got < 0)
            throw GeneralError(QStringLiteral("Read error: %1").arg(file_.errorString()));
        if (got == 0) {
            eof_ = true;
            return false;
        }
        end_ += got;
        return true;
    }

    // Moves the read position to the next data of the file, past a hole.
    void SkipHole()
    {
        const int fd = file_.handle();
        const qint64 at = file_.pos();
        if (fd < 0)
            return;
        const off_t data = ::lseek(fd, static_cast<off_t>(at), SEEK_DATA);
        if (data > at)
            file_.seek(data);
        else if (data < 0 && errno == ENXIO)  // nothing but a hole up to the end
            file_.seek(file_.size());
        else
            file_.seek(at);  // (the descriptor's position as the file expects it)
    }

    static constexpr qsizetype ChunkSize = 1 << 18;

    QFile& file_;
    CardEncoding encoding_;
    QByteArray buf_;
    qsizetype pos_ = 0;
    qsizetype end_ = 0;
    qsizetype mark_ = -1;
    bool eof_ = false;
};

class CardFileParser {
public:
    CardFileParser(QFile& file, CardEncoding encoding) : in_(file, encoding), encoding_(encoding)
    {
        if (encoding == CardEncoding::Utf8)
            in_.SkipBom();
    }

    QString Decode(const char* p, qsizetype n) const
    {
        if (n == 0)
            return QString();
        if (encoding_ == CardEncoding::Utf8) {
            QString text = utf8_.decode(QByteArrayView(p, n));  // a U+FEFF at a line's start is kept
            if (utf8_.hasError()) {
                notUtf8_ = true;
                utf8_.resetState();
            }
            return text;
        }
        if (!std::memchr(p, '\r', static_cast<size_t>(n)))
            return DecodeAnsi(p, n);
        QByteArray clean;
        clean.reserve(n);
        for (qsizetype i = 0; i < n; ++i)
            if (p[i] != '\r')
                clean.append(p[i]);
        return DecodeAnsi(clean.constData(), clean.size());
    }

    QString ReadText()
    {
        const auto l = in_.Next();
        return Decode(in_.Data(l), l.size);
    }

    void SkipLine() { in_.Skip(); }

    // Reads the next line and tells whether its text holds needle (ASCII),
    // looking at it piece by piece.
    bool LineContains(const QByteArray& needle)
    {
        const qsizetype keep = needle.size() - 1;
        QByteArray seam;  // the last bytes of the text so far, for a match across pieces
        bool hit = false;
        for (;;) {
            const LineReader::Piece piece = in_.NextPiece();
            if (!hit && piece.size > 0) {
                QByteArrayView bytes(in_.At(piece.begin), piece.size);
                QByteArray clean;
                if (encoding_ == CardEncoding::Ansi && bytes.contains('\r')) {  // CRs are dropped from the text
                    clean = bytes.toByteArray();
                    clean.replace("\r", "");
                    bytes = clean;
                }
                QByteArray across = seam + bytes.first(std::min(keep, bytes.size())).toByteArray();
                hit = across.contains(needle) || bytes.contains(needle);
                seam = QByteArray(seam + bytes.last(std::min(keep, bytes.size())).toByteArray()).right(keep);
            }
            if (piece.last)
                return hit;
        }
    }

    // Reads the next line as text, at most limit bytes of it; a longer line
    // gives its first limit bytes followed by "…" and the rest is skipped.
    QString ReadShortText(qsizetype limit)
    {
        QByteArray bytes;
        bool cut = false;
        for (;;) {
            const LineReader::Piece piece = in_.NextPiece();
            if (!cut) {
                const qsizetype take = std::min(piece.size, limit - bytes.size());
                bytes.append(in_.At(piece.begin), take);
                cut = take < piece.size;
            }
            if (piece.last)
                break;
        }
        QString text = Decode(bytes.constData(), bytes.size());
        if (cut)
            text += QChar(0x2026);
        return text;
    }

    // True once when a text decoded since the last call held bytes that are
    // not UTF-8 (shown as U+FFFD).
    bool TakeNotUtf8()
    {
        const bool was = notUtf8_;
        notUtf8_ = false;
        return was;
    }

    // A line's text; a short one (days, months, years, codes and topics
    // recur from card to card) shares one copy of its text with every other
    // card that holds the same, which saves the memory of a text of its own
    // per card.
    QString ReadShortShared()
    {
        QString text = ReadText();
        if (text.isEmpty() || text.size() > SharedUpTo)
            return text;
        const auto same = shared_.constFind(text);
        if (same != shared_.cend())
            return *same;
        if (shared_.size() < SharedMost)
            shared_.insert(text);
        return text;
    }

    // The Memo test on the line as decoded text: does it contain "¤#>&%"?
    bool EndsMemo(const LineReader::Line& l) const
    {
        if (l.size < 5)
            return false;
        const char* p = in_.Data(l);
        if (encoding_ == CardEncoding::Utf8)
            return memmem(p, static_cast<size_t>(l.size), "\xC2\xA4#>&%", 6) != nullptr;
        if (!std::memchr(p, '\r', static_cast<size_t>(l.size)))
            return memmem(p, static_cast<size_t>(l.size), "\xA4#>&%", 5) != nullptr;
        return Decode(p, l.size).contains(MemoEndTest);
    }

    // Reads Memo lines up to the end marker. Returns the number of lines
    // taken, or MaxMemoLines + 1 when the Memo ran past the limit.
    int ReadMemo(QString& memo)
    {
        in_.SetMark();
        int counter = 0;
        bool plain = true;  // every Memo line ended by CR LF, no CR inside
        qsizetype contentEnd = 0;
        LineReader::Line l = in_.Next();
        while (!EndsMemo(l)) {
            if (l.past) {  // past the end every line is empty: the limit will be hit
                in_.ClearMark();
                return MaxMemoLines + 1;
            }
            if (!l.crlf
                || (encoding_ == CardEncoding::Ansi && std::memchr(in_.Data(l), '\r', static_cast<size_t>(l.size))))
                plain = false;
            contentEnd = l.begin + l.size - in_.Mark();
            l = in_.Next();
            if (++counter > MaxMemoLines) {
                in_.ClearMark();
                return counter;
            }
        }
        if (counter == 0) {
            memo = QString();
        } else if (plain) {
            // The lines with their CR LF ends, less the last one, are the Memo.
            memo = Decode(in_.At(in_.Mark()), contentEnd);
        } else {
            memo = JoinLines(counter);
        }
        in_.ClearMark();
        return counter;
    }

private:
    // Decodes the first count lines from the mark on, each followed by CR LF,
    // and drops the last CR LF.
    QString JoinLines(int count)
    {
        QString memo;
        const char* p = in_.At(in_.Mark());
        for (int i = 0; i < count; ++i) {
            qsizetype n = 0;
            if (encoding_ == CardEncoding::Utf8) {
                while (p[n] != '\r' && p[n] != '\n')
                    ++n;
                memo += Decode(p, n);
                p += n;
                if (p[0] == '\r' && p[1] == '\n')
                    p += 2;
                else
                    p += 1;
            } else {
                while (p[n] != '\n')
                    ++n;
                memo += Decode(p, n);
                p += n + 1;
            }
            if (i + 1 < count)
                memo += QStringLiteral("\r\n");
        }
        return memo;
    }

    static constexpr qsizetype SharedUpTo = 24;
    static constexpr qsizetype SharedMost = 1 << 16;
    QSet<QString> shared_;
    LineReader in_;
    CardEncoding encoding_;
    mutable bool notUtf8_ = false;
    mutable QStringDecoder utf8_{
        QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom};
};

}  // namespace

QString TextPlaceText(const TextPlace& place, int cardOffset)
{
    return QStringLiteral("card ") + QString::number(cardOffset + place.cardIndex + 1) + QStringLiteral(", field ")
        + QLatin1String(Fields[static_cast<size_t>(place.cell)].chooserEntry);
}

QString NotUtf8Notice(const std::vector<TextPlace>& places, int cardOffset)
{
    if (places.empty())
        return QString();
    const qsizetype n = static_cast<qsizetype>(places.size());
    return QStringLiteral("The file holds bytes that are not valid UTF-8 in ") + QString::number(n)
        + (n == 1 ? QStringLiteral(" field") : QStringLiteral(" fields")) + QStringLiteral(", shown as \uFFFD. ")
        + QStringLiteral("The first is in ") + TextPlaceText(places.front(), cardOffset)
        + QStringLiteral(". Save will write each of them as U+FFFD, and their original bytes will be lost.");
}

bool HasUtf8Bom(const QString& path)
{
    QFile f;
    OpenForReading(f, path);
    char b[3];
    const qint64 got = f.read(b, 3);
    return got == 3 && std::memcmp(b, "\xEF\xBB\xBF", 3) == 0;
}

CardFileReadOutcome ReadCardFile(
    const QString& path, CardEncoding encoding, int capacity, CardRows& rows, const std::function<void(int)>& progress)
{
    QFile f;
    OpenForReading(f, path);
    CardFileParser in(f, encoding);
    CardFileReadOutcome out;

    // Neither the header line nor the format tag line is held: a file that
    // is no card file may have a line of any length there.
    in.SkipLine();
    if (!in.LineContains(QByteArrayLiteral("f1g0h0i1"))) {
        out.result = CardFileReadResult::NotCardFile;
        return out;
    }
    // No whole number within 32 bits needs more bytes than this, leading
    // zeros aside; a longer line is reported as no number, cut short.
    const QString countLine = in.ReadShortText(1024);
    const int n = StrToInt(countLine);
    out.count = n;
    if (n > capacity) {
        out.result = CardFileReadResult::TooManyCards;
        return out;
    }
    if (n > 0 && rows.size() < static_cast<size_t>(n))
        rows.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        if (progress)
            progress(i);
        Card& card = rows[static_cast<size_t>(i)];
        for (int c = 0; c < MemoCell; ++c) {
            card[c] = in.ReadShortShared();
            if (in.TakeNotUtf8())
                out.notUtf8.push_back({i, c});
        }
        in.SkipLine();  // the start marker: neither its text nor its number is checked
        const int lines = in.ReadMemo(card[MemoCell]);
        if (lines > MaxMemoLines) {
            out.result = CardFileReadResult::MemoTooLong;
            out.memoLines = lines;
            out.cardIndex = i;
            out.notUtf8.clear();
            return out;
        }
        if (in.TakeNotUtf8())
            out.notUtf8.push_back({i, MemoCell});
        card[CardIdCell] = in.ReadText();
        if (in.TakeNotUtf8())
            out.notUtf8.push_back({i, CardIdCell});
    }
    return out;
}

namespace {

// Card file bytes go into a buffer that is handed to the file in large
// pieces. Each text is checked on its way in: a line break in a field other
// than the Memo, a Memo line holding "¤#>&%" or a Memo of more than 32000
// lines would not read back, and such a card stops the write.
class CardFileEncoder {
public:
    explicit CardFileEncoder(qsizetype flushAt) : flushAt_(flushAt) { buf_.resize(flushAt + (1 << 16)); }

    // Room for at least n more bytes; false when the file refused them.
    template <typename Flush> bool Reserve(qsizetype n, Flush&& flush)
    {
        if (used_ + n <= buf_.size())
            return true;
        if (!FlushTo(flush))
            return false;
        if (n > buf_.size())
            buf_.resize(n);
        return true;
    }

    void Raw(const char* bytes, qsizetype n)
    {
        std::memcpy(buf_.data() + used_, bytes, static_cast<size_t>(n));
        used_ += n;
    }
    void Line(QStringView text, Utf8Scan* scan = nullptr)
    {
        char* end = EncodeUtf8(buf_.data() + used_, text, scan);
        used_ = end - buf_.constData();
        Raw("\r\n", 2);
    }
    void Marker(const QByteArray& marker, int k)
    {
        Raw(marker.constData(), marker.size());
        char digits[12];
        int d = 0;
        do {
            digits[d++] = static_cast<char>('0' + k % 10);
            k /= 10;
        } while (k > 0);
        while (d > 0)
            buf_[used_++] = digits[--d];
        Raw("\r\n", 2);
    }
    bool Full() const { return used_ >= flushAt_; }

    template <typename Flush> bool FlushTo(Flush&& flush)
    {
        const bool ok = used_ == 0 || flush(buf_.constData(), used_);
        used_ = 0;
        return ok;
    }

private:
    QByteArray buf_;
    qsizetype used_ = 0;
    qsizetype flushAt_;
};

}  // namespace

CardFileEncodeResult EncodeCardFile(QIODevice& device, const CardRows& rows, int count, const QString& header)
{
    CardFileEncodeResult result;
    auto refused = [&](int i, const QString& reason) {
        result.status = CardFileEncodeResult::Refused;
        result.cardIndex = i;
        result.reason = QStringLiteral("Card ") + QString::number(i + 1) + QStringLiteral(" cannot be saved: ") + reason
            + QStringLiteral(". Nothing was written.");
        return result;
    };
    auto failed = [&]() {
        result.status = CardFileEncodeResult::DeviceFailed;
        return result;
    };
    auto write = [&](const char* bytes, qsizetype n) { return WriteAll(device, bytes, n); };

    static const QByteArray startMarker = MemoStartMarker.toUtf8();
    static const QByteArray endMarker = MemoEndMarker.toUtf8();
    CardFileEncoder out(1 << 20);
    const QString countText = QString::number(count);
    if (!out.Reserve(3 + 3 * (header.size() + FormatTag.size() + countText.size()) + 6, write))
        return failed();
    out.Raw("\xEF\xBB\xBF", 3);
    out.Line(header);
    out.Line(FormatTag);
    out.Line(countText);
    constexpr int PrefetchAhead = 4;  // cards whose texts are asked for ahead of their turn
    for (int i = 0; i < count; ++i) {
        const Card& card = rows[static_cast<size_t>(i)];
        // The texts of a card lie anywhere in memory: asking for those of a
        // later card now lets their loading overlap this card's encoding.
        if (i + PrefetchAhead < count)
            for (const QString& cell : rows[static_cast<size_t>(i + PrefetchAhead)])
                __builtin_prefetch(cell.constData());
        qsizetype need = 2 * (startMarker.size() + 16);
        for (const QString& cell : card)
            need += 3 * cell.size() + 2;
        if (!out.Reserve(need, write))
            return failed();
        const int k = i + 1;
        for (int c = 0; c < MemoCell; ++c) {
            Utf8Scan scan;
            out.Line(card[c], &scan);
            if (scan.breakUnits > 0)
                return refused(
                    i, QStringLiteral("field ") + QString::number(c + 1) + QStringLiteral(" holds a line break"));
        }
        out.Marker(startMarker, k);
        Utf8Scan memo;
        out.Line(card[MemoCell], &memo);
        if (memo.memoEnd)
            return refused(i, QStringLiteral("a line of its Memo holds \"") + MemoEndTest + u'"');
        // Counting the units overestimates the lines (CR LF is two units):
        // only near the limit are the lines counted as a reader counts them.
        if (memo.breakUnits + 1 > MaxMemoLines && CountLineBreaks(card[MemoCell]) + 1 > MaxMemoLines)
            return refused(i,
                QStringLiteral("its Memo has more than ") + QString::number(MaxMemoLines) + QStringLiteral(" lines"));
        out.Marker(endMarker, k);
        Utf8Scan id;
        out.Line(card[CardIdCell], &id);
        if (id.breakUnits > 0)
            return refused(
                i, QStringLiteral("field ") + QString::number(CardIdCell + 1) + QStringLiteral(" holds a line break"));
        if (out.Full() && !out.FlushTo(write))
            return failed();
    }
    if (!out.FlushTo(write))
        return failed();
    return result;
}

CardFileWriteResult WriteCardFile(const QString& path, const CardRows& rows, int count, const QString& header)
{
    CardFileWriteResult result;
    CardFileEncodeResult encoded;
    const SaveResult saved = SafeSave(path, [&](QIODevice& device) {
        encoded = EncodeCardFile(device, rows, count, header);
        return encoded.status == CardFileEncodeResult::Ok;
    });
    if (encoded.status == CardFileEncodeResult::Refused) {
        result.status = CardFileWriteResult::Refused;
        result.cardIndex = encoded.cardIndex;
        result.errorKind = QStringLiteral("CardNotWritable");
        result.errorText = encoded.reason;
    } else if (saved.status != SaveResult::Ok) {
        result.status = CardFileWriteResult::WriteFailed;
        result.errorKind = saved.errorKind;
        result.errorText = saved.errorText;
    }
    return result;
}
