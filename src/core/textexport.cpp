#include "textexport.h"

#include "cardblock.h"
#include "listing.h"
#include "textcodec.h"

#include <QByteArray>
#include <cstring>
#include <limits>

const QString ListingSaveDialogTitle = QStringLiteral("Save the content of the form as UTF-8 text (*.txt)");

namespace {

constexpr qsizetype FlushAt = qsizetype(1) << 20;

// UTF-8 bytes gathered in a buffer and handed to the device in large pieces.
// After the first write that fails nothing more is written.
class Utf8Writer {
public:
    explicit Utf8Writer(QIODevice& device) : device_(device) { Grow(FlushAt + (qsizetype(1) << 12)); }

    // Makes room for n more bytes, flushing first when they would not fit.
    bool Room(qsizetype n)
    {
        if (n <= end_ - out_)
            return ok_;
        if (!Flush())
            return false;
        if (n > end_ - out_)
            Grow(n);
        return ok_;
    }
    // Flushes once the buffer holds a large piece.
    bool Step() { return out_ - base_ < FlushAt ? ok_ : Flush(); }
    bool Flush()
    {
        const qsizetype used = out_ - base_;
        if (ok_ && used > 0)
            ok_ = device_.write(base_, used) == used;
        out_ = base_;
        return ok_;
    }

    // The sink of a card block; the caller has made room for three bytes per
    // character first.
    void Text(QStringView s)
    {
        // Short texts (labels, dates, codes) are mostly ASCII: copy them
        // straight, and hand the rest to the encoder.
        const char16_t* p = s.utf16();
        const qsizetype n = s.size();
        if (n <= 24) {
            qsizetype i = 0;
            while (i < n && p[i] < 0x80) {
                out_[i] = static_cast<char>(p[i]);
                ++i;
            }
            out_ += i;
            if (i == n)
                return;
            s = s.sliced(i);
        }
        out_ = EncodeUtf8(out_, s);
    }
    void Number(int n) { out_ = cardblock::WriteNumber(out_, n); }
    void Eol()
    {
        out_[0] = '\r';
        out_[1] = '\n';
        out_ += 2;
    }
    void Raw(const char* bytes, qsizetype n)
    {
        std::memcpy(out_, bytes, static_cast<size_t>(n));
        out_ += n;
    }

    // Writes what body writes to a sink, after making room for it.
    template <typename Body> bool Put(Body&& body)
    {
        cardblock::SizeSink size;
        body(size);
        return Put(3 * size.size, body);
    }
    // The same when the caller knows at most how many bytes body writes.
    template <typename Body> bool Put(qsizetype maxBytes, Body&& body)
    {
        if (!Room(maxBytes))
            return false;
        body(*this);
        return Step();
    }

private:
    void Grow(qsizetype size)
    {
        const qsizetype used = out_ - base_;
        buf_.resize(size);
        base_ = buf_.data();
        out_ = base_ + used;
        end_ = base_ + buf_.size();
    }

    QIODevice& device_;
    QByteArray buf_;
    char* base_ = nullptr;
    char* out_ = nullptr;
    char* end_ = nullptr;
    bool ok_ = true;
};

const CardBlockLayout ExportLayout{u"   Topic:          ", u"   Keywords:  ", u"   File link:      ",
    u"   Code1:        ", u"   Code2:        ", u"   Code3:        ", u"   Action date:  ", u" ", 1};

constexpr char Bom[] = "\xEF\xBB\xBF";

}  // namespace

bool WriteTextExport(QIODevice& device, std::span<const Card> cards, const TextExportOptions& options)
{
    Utf8Writer out(device);
    out.Room(3);
    out.Raw(Bom, 3);
    const bool header = out.Put([&](auto& sink) {
        sink.Text(options.kind == TextExportKind::PickedCards ? u"Cardomo 0.5 beta - Saving of the picked cards  "
                                                              : u"Cardomo 0.5 beta - Text listing   ");
        sink.Text(options.date);
        sink.Text(u" ");
        sink.Text(options.time);
        sink.Eol();
        sink.Eol();
        sink.Text(u"Number of the cards ");
        sink.Number(static_cast<int>(cards.size()));
        sink.Eol();
        sink.Eol();
    });
    if (!header)
        return false;
    const FieldSelection every;
    int n = 0;
    auto block = [&](auto& sink, const Card& card) {
        cardblock::Emit(sink, ExportLayout, every, card, n);
        if (options.pageFeedPerCard) {
            sink.Text(u"\f");
            sink.Eol();
        }
    };
    // What a block holds besides its fields, with the longest number.
    cardblock::SizeSink frame;
    n = std::numeric_limits<int>::min();
    block(frame, Card{});
    n = 0;
    const size_t count = cards.size();
    for (size_t i = 0; i < count; ++i) {
        const Card& card = cards[i];
        ++n;
        // The texts of the cards live apart from one another: ask for those
        // of a card ahead while this one is encoded.
        if (i + 2 < count)
            for (const QString& cell : cards[i + 2])
                __builtin_prefetch(cell.constData());
        qsizetype chars = frame.size;
        for (const QString& cell : card)
            chars += cell.size();
        if (!out.Put(3 * chars, [&](Utf8Writer& sink) { block(sink, card); }))
            return false;
    }
    const bool footer = out.Put([&](auto& sink) {
        sink.Eol();
        sink.Eol();
        sink.Text(options.cardFileName);
        sink.Eol();
        sink.Eol();
        sink.Text(ListingBanner);
        sink.Eol();
        sink.Eol();
    });
    return footer && out.Flush();
}

bool WriteListingText(QIODevice& device, QStringView text)
{
    constexpr qsizetype Piece = qsizetype(1) << 16;
    Utf8Writer out(device);
    out.Room(3);
    out.Raw(Bom, 3);
    const qsizetype n = text.size();
    qsizetype from = 0;
    while (from < n) {
        // Up to the next line feed, in pieces that never part a surrogate pair.
        qsizetype lf = text.indexOf(u'\n', from);
        if (lf < 0)
            lf = n;
        qsizetype to = std::min(lf, from + Piece);
        if (to < lf && to > from && QChar::isHighSurrogate(text[to - 1].unicode()))
            --to;
        if (!out.Room(3 * (to - from) + 2))
            return false;
        out.Text(text.sliced(from, to - from));
        if (to == lf && lf < n) {
            if (lf == 0 || text[lf - 1] != u'\r')
                out.Raw("\r", 1);
            out.Raw("\n", 1);
            ++to;
        }
        if (!out.Step())
            return false;
        from = to;
    }
    return out.Flush();
}

QString TextExportDialogTitle(bool pageFeedPerCard)
{
    return pageFeedPerCard ? QStringLiteral("Save as text with page feeds (*.txt) (UTF-8)")
                           : QStringLiteral("Save as text (*.txt) (UTF-8)");
}

QString ReplaceFileQuestion(const QString& name)
{
    return u"The file " + name + u" already exists. Do you want to replace it?";
}

QString ListingSaveFailedMessage(const QString& errorText)
{
    return u"Exception Message: " + errorText
        + u". The recording disk may be out of space. The file may not have been saved correctly. Check the "
          u"issue and save to another disk before closing the job file.";
}
