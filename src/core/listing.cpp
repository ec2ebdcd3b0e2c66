#include "listing.h"

#include "cardblock.h"
#include "filenames.h"

#include <algorithm>
#include <cstring>

const QString ListingSeparator = cardblock::Separator.toString();
const QString ListingBanner = QStringLiteral("== Cardomo 0.5 beta (v.0.5.1.0.2) Note Card Software ==");

namespace {

constexpr std::array<QStringView, FieldSelection::BoxCount> Captions{
    u"Title 1",
    u"Title 2",
    u"Title 3",
    u"Day",
    u"Month",
    u"Year",
    u"Page",
    u"Topic",
    u"Keywords",
    u"File link",
    u"Code 1",
    u"Code 2",
    u"Code 3",
    u"Action Year",
    u"Action Month",
    u"Action Day",
    u"Action Hour:min",
    u"Memo",
    u"Card ID",
    u"Show the line between the cards",
};

constexpr QStringView Topic = u" Topic:          ";
constexpr QStringView Keywords = u" Keywords:  ";
constexpr QStringView FileLink = u" File link:      ";
constexpr QStringView ActionDate = u" Action date:  ";

// The short code labels serve every listing but that of the picked cards.
const CardBlockLayout ShortCodes{
    Topic, Keywords, FileLink, u" Code1:        ", u" Code2:        ", u" Code3:        ", ActionDate, u" ", 1};
const CardBlockLayout CurrentCardLayout{
    Topic, Keywords, FileLink, u" Code1:        ", u" Code2:        ", u" Code3:        ", ActionDate, u"  ", 1};
const CardBlockLayout PickedLayout{
    Topic, Keywords, FileLink, u" Code1:          ", u" Code2:          ", u" Code3:          ", ActionDate, u" ", 2};

const CardBlockLayout& LayoutOf(ListingKind kind)
{
    switch (kind) {
    case ListingKind::CurrentCard:
        return CurrentCardLayout;
    case ListingKind::PickedCards:
        return PickedLayout;
    case ListingKind::AllCards:
    case ListingKind::CurrentPickedCard:
        break;
    }
    return ShortCodes;
}

bool IsPicked(ListingKind kind)
{
    return kind == ListingKind::PickedCards || kind == ListingKind::CurrentPickedCard;
}

bool UsesSelection(ListingKind kind)
{
    return kind == ListingKind::AllCards || kind == ListingKind::PickedCards;
}

// Appends to the listing text.
struct AppendSink {
    QString& text;
    void Text(QStringView s) { text.append(s); }
    void Number(int n)
    {
        char16_t digits[12];
        text.append(QStringView(digits, cardblock::WriteNumber(digits, n)));
    }
    void Eol() { text.append(u"\r\n"); }
};

// Writes into room already made in the listing text.
struct RawSink {
    char16_t* out;
    void Text(QStringView s)
    {
        const qsizetype n = s.size();
        const char16_t* p = s.utf16();
        if (n <= 8) {  // labels' ends, separators, short codes: no call
            for (qsizetype i = 0; i < n; ++i)
                out[i] = p[i];
        } else {
            std::memcpy(out, p, static_cast<size_t>(n) * sizeof(char16_t));
        }
        out += n;
    }
    void Number(int n) { out = cardblock::WriteNumber(out, n); }
    void Eol()
    {
        out[0] = u'\r';
        out[1] = u'\n';
        out += 2;
    }
};

template <typename Sink> void EmitFooter(Sink& out, ListingKind kind, const QString& cardFileName)
{
    switch (kind) {
    case ListingKind::AllCards:
    case ListingKind::CurrentCard:
        out.Eol();
        out.Eol();
        out.Text(cardFileName);
        out.Eol();
        break;
    case ListingKind::PickedCards:
        out.Text(u"Picked from the file ");
        out.Text(cardFileName);
        out.Eol();
        break;
    case ListingKind::CurrentPickedCard:
        out.Text(u"Picked cards from the file ");
        out.Text(cardFileName);
        out.Eol();
        break;
    }
    out.Eol();
    out.Text(ListingBanner);
    out.Eol();
    out.Eol();
}

}  // namespace

FieldSelection FieldSelection::Nothing()
{
    FieldSelection s;
    s.DeselectAll();
    return s;
}

QString FieldSelectionCaption(int box)
{
    if (box < 0 || box >= FieldSelection::BoxCount)
        return QString();
    return Captions[static_cast<size_t>(box)].toString();
}

QString ListingWaitCaption(ListingKind kind, int k, int n)
{
    if (IsPicked(kind))
        return u"Collecting the listing " + QString::number(k) + u'/' + QString::number(n) + u"   CARDOMO 0.5 beta";
    return u"Collecting listing " + QString::number(k) + u'/' + QString::number(n) + u"  CARDOMO 0.5 beta";
}

QString ListingWindowCaption(ListingKind kind, const QString& cardFileName)
{
    switch (kind) {
    case ListingKind::AllCards:
        return u"Listing  " + FileNamePart(cardFileName) + u" - CARDOMO 0.5 beta";
    case ListingKind::CurrentCard:
        return u"Listing  " + cardFileName + u" - CARDOMO 0.5 beta";
    case ListingKind::PickedCards:
    case ListingKind::CurrentPickedCard:
        break;
    }
    return QStringLiteral("Listing of the picked cards - CARDOMO 0.5 beta");
}

bool ListingShowsWaitWindow(ListingKind kind, const CardStore& store)
{
    switch (kind) {
    case ListingKind::AllCards:
        return store.CardCount > 50;
    case ListingKind::CurrentCard:
        return false;
    case ListingKind::PickedCards:
    case ListingKind::CurrentPickedCard:
        break;
    }
    return store.PickedCount > 50;
}

ListingBuilder::ListingBuilder(ListingKind kind, const FieldSelection& selection)
    : kind_(kind), selection_(UsesSelection(kind) ? selection : FieldSelection())
{
}

void ListingBuilder::Header(const QString& date, const QString& time, int tableCount)
{
    QStringView title;
    switch (kind_) {
    case ListingKind::AllCards:
    case ListingKind::CurrentCard:
        title = u"Cardomo 0.5 beta - Card listing   ";
        break;
    case ListingKind::PickedCards:
        title = u"Cardomo 0.5 - Listing of the picked cards   ";
        break;
    case ListingKind::CurrentPickedCard:
        title = u"Cardomo 0.5 beta - Listing from the picking form   ";
        break;
    }
    AppendSink out{text_};
    out.Text(title);
    out.Text(date);
    out.Text(u" ");
    out.Text(time);
    out.Eol();
    out.Eol();
    if (kind_ == ListingKind::AllCards) {
        out.Text(u"Count of cards ");
        out.Number(tableCount);
        out.Text(u" ");
        out.Eol();
    } else if (kind_ == ListingKind::PickedCards) {
        out.Text(u"Number of the cards ");
        out.Number(tableCount);
        out.Eol();
    }
    out.Eol();
}

void ListingBuilder::AppendCard(const Card& card, int n)
{
    // The block's size first, then its characters straight into the room
    // made for them (the text grows geometrically when no room was reserved).
    const CardBlockLayout& layout = LayoutOf(kind_);
    cardblock::SizeSink size;
    cardblock::Emit(size, layout, selection_, card, n);
    const qsizetype at = text_.size();
    if (text_.capacity() < at + size.size)
        text_.reserve(std::max(at + size.size, 2 * text_.capacity()));
    text_.resize(at + size.size);
    RawSink out{reinterpret_cast<char16_t*>(text_.data()) + at};
    cardblock::Emit(out, layout, selection_, card, n);
}

void ListingBuilder::Footer(const QString& cardFileName)
{
    AppendSink out{text_};
    EmitFooter(out, kind_, cardFileName);
}

qsizetype ListingBuilder::CardBlockSize(const Card& card, int n) const
{
    cardblock::SizeSink size;
    cardblock::Emit(size, LayoutOf(kind_), selection_, card, n);
    return size.size;
}

qsizetype ListingBuilder::FooterSize(const QString& cardFileName) const
{
    cardblock::SizeSink size;
    EmitFooter(size, kind_, cardFileName);
    return size.size;
}

void ListingBuilder::ReserveFor(const CardRows& rows, int first, int end, const QString& cardFileName)
{
    first = std::max(first, 0);
    end = std::min(end, static_cast<int>(rows.size()));
    qsizetype more = FooterSize(cardFileName);
    for (int i = first; i < end; ++i)
        more += CardBlockSize(rows[static_cast<size_t>(i)], i + 1);
    text_.reserve(text_.size() + more);
}

ListingCollector::ListingCollector(
    ListingKind kind, const CardStore& store, const FieldSelection& selection, const QString& date, const QString& time)
    : rows_(IsPicked(kind) ? store.PickedTable : store.CardTable),
      builder_(kind, selection),
      cardFileName_(store.CardFileName),
      showsWait_(ListingShowsWaitWindow(kind, store))
{
    const int rowCount = static_cast<int>(rows_.size());
    tableCount_ = IsPicked(kind) ? store.PickedCount : store.CardCount;
    switch (kind) {
    case ListingKind::AllCards:
    case ListingKind::PickedCards:
        first_ = 0;
        end_ = std::clamp(tableCount_, 0, rowCount);
        break;
    case ListingKind::CurrentCard:
    case ListingKind::CurrentPickedCard: {
        const int current = kind == ListingKind::CurrentCard ? store.CurrentCard : store.CurrentPicked;
        const bool valid = current >= 0 && current < rowCount;
        first_ = valid ? current : 0;
        end_ = valid ? current + 1 : 0;
        break;
    }
    }
    next_ = first_;
    builder_.Header(date, time, tableCount_);
    builder_.ReserveFor(rows_, first_, end_, cardFileName_);
}

bool ListingCollector::AtEnd() const
{
    return next_ >= end_ || next_ >= static_cast<int>(rows_.size());
}

void ListingCollector::AppendNext()
{
    if (AtEnd())
        return;
    builder_.AppendCard(rows_[static_cast<size_t>(next_)], next_ + 1);
    ++next_;
}

QString ListingCollector::Finish()
{
    builder_.Footer(cardFileName_);
    return builder_.TakeText();
}
