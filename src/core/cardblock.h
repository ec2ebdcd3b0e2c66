// The card block that the listing text and the text export share: the
// separator line, the title line, the labelled lines, the action line, the
// Memo and the Card ID. It is written through a sink, which either counts the
// characters (to make room first) or writes them:
//
//     sink.Text(QStringView)   a piece of a line
//     sink.Number(int)         a number in plain decimal
//     sink.Eol()               the end of a line (CR LF)
#pragma once

#include "card.h"
#include "listing.h"

#include <QStringView>
#include <array>

struct CardBlockLayout {
    QStringView topic, keywords, fileLink, code1, code2, code3;
    QStringView actionDate;  // before field 14 on the action line
    QStringView dayGap;  // between Day and Month on the title line
    int composedGap = 1;  // empty lines after the title line and the action line
};

namespace cardblock {

inline constexpr QStringView Separator = u"===============================================";

// Characters of n in plain decimal.
inline qsizetype NumberSize(int n)
{
    qsizetype size = n < 0 ? 2 : 1;
    for (long long v = n < 0 ? -static_cast<long long>(n) : n; v >= 10; v /= 10)
        ++size;
    return size;
}

// Writes n in plain decimal to out (room for 11 characters); returns the end.
template <typename Char> Char* WriteNumber(Char* out, int n)
{
    Char digits[11];
    int d = 0;
    unsigned long long v =
        n < 0 ? static_cast<unsigned long long>(-static_cast<long long>(n)) : static_cast<unsigned long long>(n);
    do {
        digits[d++] = static_cast<Char>('0' + v % 10);
        v /= 10;
    } while (v > 0);
    if (n < 0)
        *out++ = static_cast<Char>('-');
    while (d > 0)
        *out++ = digits[--d];
    return out;
}

struct Piece {
    int cell;
    QStringView before;
    QStringView after;
};

// A line composed of the ticked pieces. It is written only when it holds
// some text; its empty lines follow in any case.
template <typename Sink, size_t N>
void Composed(Sink& out, const Card& card, const FieldSelection& selection, const std::array<Piece, N>& pieces, int gap)
{
    bool any = false;
    for (const Piece& p : pieces) {
        if (selection.Field(p.cell)
            && (!p.before.isEmpty() || !p.after.isEmpty() || !card[static_cast<size_t>(p.cell)].isEmpty())) {
            any = true;
            break;
        }
    }
    if (any) {
        for (const Piece& p : pieces) {
            if (!selection.Field(p.cell))
                continue;
            out.Text(p.before);
            out.Text(card[static_cast<size_t>(p.cell)]);
            out.Text(p.after);
        }
        out.Eol();
    }
    for (int i = 0; i < gap; ++i)
        out.Eol();
}

template <typename Sink>
void Labelled(Sink& out, const Card& card, const FieldSelection& selection, int cell, QStringView label)
{
    if (!selection.Field(cell))
        return;
    out.Text(label);
    out.Text(card[static_cast<size_t>(cell)]);
    out.Eol();
}

// One card block; n is the number on the separator line.
template <typename Sink>
void Emit(Sink& out, const CardBlockLayout& layout, const FieldSelection& selection, const Card& card, int n)
{
    if (selection.SeparatorLine()) {
        out.Text(Separator);
        out.Number(n);
        out.Eol();
    }
    const std::array<Piece, 7> title{{
        {0, {}, u"   "},
        {1, {}, u"   "},
        {2, {}, u"   "},
        {3, {}, layout.dayGap},
        {4, {}, u" "},
        {5, {}, u", "},
        {6, {}, {}},
    }};
    Composed(out, card, selection, title, layout.composedGap);
    Labelled(out, card, selection, 7, layout.topic);
    Labelled(out, card, selection, 8, layout.keywords);
    Labelled(out, card, selection, 9, layout.fileLink);
    Labelled(out, card, selection, 10, layout.code1);
    Labelled(out, card, selection, 11, layout.code2);
    Labelled(out, card, selection, 12, layout.code3);
    const std::array<Piece, 4> action{{
        {13, layout.actionDate, u" "},
        {14, {}, u" "},
        {15, {}, u" "},
        {16, {}, {}},
    }};
    Composed(out, card, selection, action, layout.composedGap);
    if (selection.Field(MemoCell)) {
        out.Text(card[MemoCell]);
        out.Eol();
    }
    out.Eol();
    if (selection.Field(CardIdCell)) {
        out.Text(u" ");
        out.Text(card[CardIdCell]);
        out.Eol();
    }
    out.Eol();
}

// Counts the characters a block would take.
struct SizeSink {
    qsizetype size = 0;
    void Text(QStringView s) { size += s.size(); }
    void Number(int n) { size += NumberSize(n); }
    void Eol() { size += 2; }
};

}  // namespace cardblock
