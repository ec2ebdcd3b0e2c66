// Testing a card field against a search string: the two text primitives, the
// seven operators of the single-field test and the four connectives of the
// Boolean test over two fields. Every test is exact over UTF-16 code units:
// no case folding, no trimming, no normalisation, no locale.
#pragma once

#include "card.h"

#include <QString>
#include <QStringView>
#include <array>

// The 1-based position in text at which the first occurrence of part begins,
// or 0 when there is none. An empty part gives 0, whatever text is.
inline qsizetype FirstOccurrence(QStringView part, QStringView text)
{
    const qsizetype m = part.size();
    const qsizetype lastStart = text.size() - m;
    if (m == 0 || lastStart < 0)
        return 0;
    // Look for the first unit (a vectorised scan) where a match can start,
    // then compare the rest unit for unit.
    const QStringView starts = text.first(lastStart + 1);
    const QChar first = part.front();
    const QStringView rest = part.sliced(1);
    for (qsizetype at = starts.indexOf(first, 0, Qt::CaseSensitive); at >= 0;
         at = starts.indexOf(first, at + 1, Qt::CaseSensitive)) {
        if (text.sliced(at + 1, m - 1) == rest)
            return at + 1;
    }
    return 0;
}

// -1, 0 or +1: the code units compared pairwise from the first as unsigned
// 16-bit numbers, the first pair that differs deciding; a proper prefix is
// the smaller text. A character beyond U+FFFF compares by its surrogate code
// units, so it is smaller than U+FFFF.
inline int CompareOrdinal(QStringView a, QStringView b)
{
    // Qt's case-sensitive comparison is exactly this order (it never looks
    // at code points or locale); only its sign is kept.
    const int c = a.compare(b, Qt::CaseSensitive);
    return (c > 0) - (c < 0);
}

// The operators, in the order of the operator chooser: an operator's value
// is its chooser index (static_cast<MatchOperator>(chooser->currentIndex())).
enum class MatchOperator {
    Contains,  // "~": the field contains the search string
    Less,  // "<"
    Greater,  // ">"
    GreaterOrEqual,  // ">="
    LessOrEqual,  // "<="
    Equal,  // "=": same length, same code units
    NotContains,  // "<>": the field does NOT contain the search string
};
constexpr int MatchOperatorCount = 7;
// The operator chooser's entries, in chooser order.
inline constexpr std::array<QStringView, MatchOperatorCount> MatchOperatorTexts = {
    u"~",
    u"<",
    u">",
    u">=",
    u"<=",
    u"=",
    u"<>",
};

// The operator's rule applied to cell fieldNumber - 1 of row. fieldNumber is
// 1 to 19 (a field chooser's index + 1).
bool FieldMatches(const Card& row, int fieldNumber, MatchOperator op, QStringView s);

// How the two halves of the Boolean test join (A the first half, B the
// second); a connective's value is its chooser index.
enum class BooleanConnective {
    And,  // "AND": A and B
    Or,  // "OR": A or B or both
    Xor,  // "XOR": exactly one of A and B
    Not,  // "NOT": A and not B
};
constexpr int BooleanConnectiveCount = 4;
inline constexpr std::array<QStringView, BooleanConnectiveCount> BooleanConnectiveTexts = {
    u"AND",
    u"OR",
    u"XOR",
    u"NOT",
};

// Each half is the "~" test: field1 contains s1 (A), field2 contains s2 (B);
// the connective joins them. The two field numbers (1 to 19) may be equal.
bool BooleanMatches(
    const Card& row, int field1, QStringView s1, BooleanConnective connective, int field2, QStringView s2);

// The single-field test as one value, read from a group's three controls.
struct FieldTest {
    int fieldNumber = 1;
    MatchOperator op = MatchOperator::Contains;
    QString text;

    bool operator()(const Card& row) const { return FieldMatches(row, fieldNumber, op, text); }
};

// The Boolean test as one value, read from a group's five controls.
struct BooleanTest {
    int field1 = 1;
    QString text1;
    BooleanConnective connective = BooleanConnective::And;
    int field2 = 1;
    QString text2;

    bool operator()(const Card& row) const { return BooleanMatches(row, field1, text1, connective, field2, text2); }
};

// Calls f once with a callable bool(const Card&) that applies test with its
// operator (or connective) already chosen, so a loop over many cards does not
// choose it again for every card. Gives what f gives.
template <typename F> decltype(auto) WithFieldTest(const FieldTest& test, F&& f)
{
    const size_t cell = static_cast<size_t>(test.fieldNumber - 1);
    const QStringView s = test.text;
    switch (test.op) {
    case MatchOperator::Contains:
        return f([cell, s](const Card& r) { return FirstOccurrence(s, r[cell]) > 0; });
    case MatchOperator::Less:
        return f([cell, s](const Card& r) { return CompareOrdinal(r[cell], s) < 0; });
    case MatchOperator::Greater:
        return f([cell, s](const Card& r) { return CompareOrdinal(r[cell], s) > 0; });
    case MatchOperator::GreaterOrEqual:
        return f([cell, s](const Card& r) { return CompareOrdinal(r[cell], s) >= 0; });
    case MatchOperator::LessOrEqual:
        return f([cell, s](const Card& r) { return CompareOrdinal(r[cell], s) <= 0; });
    case MatchOperator::Equal:
        return f([cell, s](const Card& r) { return QStringView(r[cell]) == s; });
    case MatchOperator::NotContains:
        break;
    }
    return f([cell, s](const Card& r) { return FirstOccurrence(s, r[cell]) == 0; });
}

template <typename F> decltype(auto) WithBooleanTest(const BooleanTest& test, F&& f)
{
    const size_t c1 = static_cast<size_t>(test.field1 - 1);
    const size_t c2 = static_cast<size_t>(test.field2 - 1);
    const QStringView s1 = test.text1;
    const QStringView s2 = test.text2;
    switch (test.connective) {
    case BooleanConnective::And:
        return f([=](const Card& r) { return FirstOccurrence(s1, r[c1]) > 0 && FirstOccurrence(s2, r[c2]) > 0; });
    case BooleanConnective::Or:
        return f([=](const Card& r) { return FirstOccurrence(s1, r[c1]) > 0 || FirstOccurrence(s2, r[c2]) > 0; });
    case BooleanConnective::Xor:
        return f([=](const Card& r) { return (FirstOccurrence(s1, r[c1]) > 0) != (FirstOccurrence(s2, r[c2]) > 0); });
    case BooleanConnective::Not:
        break;
    }
    return f([=](const Card& r) { return FirstOccurrence(s1, r[c1]) > 0 && FirstOccurrence(s2, r[c2]) == 0; });
}
