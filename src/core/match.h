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
qsizetype FirstOccurrence(QStringView part, QStringView text);

// -1, 0 or +1: the code units compared pairwise from the first as unsigned
// 16-bit numbers, the first pair that differs deciding; a proper prefix is
// the smaller text. A character beyond U+FFFF compares by its surrogate code
// units, so it is smaller than U+FFFF.
int CompareOrdinal(QStringView a, QStringView b);

// The operators, in the order of the operator chooser: an operator's value
// is its chooser index (static_cast<MatchOperator>(chooser->currentIndex())).
enum class MatchOperator {
    Contains,        // "~": the field contains the search string
    Less,            // "<"
    Greater,         // ">"
    GreaterOrEqual,  // ">="
    LessOrEqual,     // "<="
    Equal,           // "=": same length, same code units
    NotContains,     // "<>": the field does NOT contain the search string
};
constexpr int MatchOperatorCount = 7;
// The operator chooser's entries, in chooser order.
inline constexpr std::array<QStringView, MatchOperatorCount> MatchOperatorTexts = {
    u"~", u"<", u">", u">=", u"<=", u"=", u"<>",
};

// The operator's rule applied to cell fieldNumber - 1 of row. fieldNumber is
// 1 to 19 (a field chooser's index + 1).
bool FieldMatches(const Card& row, int fieldNumber, MatchOperator op, QStringView s);

// How the two halves of the Boolean test join (A the first half, B the
// second); a connective's value is its chooser index.
enum class BooleanConnective {
    And,  // "AND": A and B
    Or,   // "OR": A or B or both
    Xor,  // "XOR": exactly one of A and B
    Not,  // "NOT": A and not B
};
constexpr int BooleanConnectiveCount = 4;
inline constexpr std::array<QStringView, BooleanConnectiveCount> BooleanConnectiveTexts = {
    u"AND", u"OR", u"XOR", u"NOT",
};

// Each half is the "~" test: field1 contains s1 (A), field2 contains s2 (B);
// the connective joins them. The two field numbers (1 to 19) may be equal.
bool BooleanMatches(const Card& row, int field1, QStringView s1, BooleanConnective connective,
                    int field2, QStringView s2);

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

    bool operator()(const Card& row) const
    {
        return BooleanMatches(row, field1, text1, connective, field2, text2);
    }
};
