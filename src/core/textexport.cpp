#include "textexport.h"

#include "cardblock.h"
#include "listing.h"
#include "textcodec.h"

#include <QByteArray>
#include <cstring>

const QString ListingSaveDialogTitle = QStringLiteral("Save the content of the form as UTF-8 text (*.txt)");

namespace {

constexpr qsizetype FlushAt = qsizetype(1) << 18;

// UTF-8 bytes gathered in a buffer and handed to the device in large pieces.
// After the first write that fails nothing more is written.
class Utf8Writer {
public:
    explicit Utf8Writer(QIODevice& device) : device_(device) { buf_.resize(FlushAt + (qsizetype(1) << 12)); }

    // Makes room for n more bytes, flushing first when they would not fit.
    bool Room(qsizetype n)
    {
        if (used_ + n <= buf_.size())
            return ok_;
        if (!Flush())
            return false;
        if (n > buf_.size())
            buf_.resize(n);
        return ok_;
    }
    // Flushes once the buffer holds a large piece.
    bool Step() { return used_ < FlushAt ? ok_ : Flush(); }
    bool Flush()
    {
        if (ok_ && used_ > 0)
            ok_ = device_.write(buf_.constData(), used_) == used_;
        used_ = 0;
        return ok_;
    }

    // The sink of a card block; the caller has made room for three bytes per
    // character first.
    void Text(QStringView s) { used_ = EncodeUtf8(buf_.data() + used_, s) - buf_.constData(); }
    void Number(int n) { used_ = cardblock::WriteNumber(buf_.data() + used_, n) - buf_.constData(); }
    void Eol() { Raw("\r\n", 2); }
    void Raw(const char* bytes, qsizetype n)
    {
        std::memcpy(buf_.data() + used_, bytes, static_cast<size_t>(n));
        used_ += n;
    }

    // Writes what body writes to a sink, after making room for it.
    template <typename Body>
    bool Put(Body&& body)
    {
        cardblock::SizeSink size;
        body(size);
        if (!Room(3 * size.size))
            return false;
        body(*this);
        return Step();
    }

private:
    QIODevice& device_;
    QByteArray buf_;
    qsizetype used_ = 0;
    bool ok_ = true;
};

const CardBlockLayout ExportLayout{u"   Topic:          ", u"   Keywords:  ",    u"   File link:      ",
                                   u"   Code1:        ",   u"   Code2:        ", u"   Code3:        ",
                                   u"   Action date:  ",   u" ",                1};

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
    for (const Card& card : cards) {
        ++n;
        const bool written = out.Put([&](auto& sink) {
            cardblock::Emit(sink, ExportLayout, every, card, n);
            if (options.pageFeedPerCard) {
                sink.Text(u"\f");
                sink.Eol();
            }
        });
        if (!written)
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
