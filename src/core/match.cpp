#include "match.h"

#include <QtGlobal>

bool FieldMatches(const Card& row, int fieldNumber, MatchOperator op, QStringView s)
{
    Q_ASSERT(fieldNumber >= 1 && fieldNumber <= FieldCount);
    const QStringView field(row[static_cast<size_t>(fieldNumber - 1)]);
    switch (op) {
    case MatchOperator::Contains:
        return FirstOccurrence(s, field) > 0;
    case MatchOperator::Less:
        return CompareOrdinal(field, s) < 0;
    case MatchOperator::Greater:
        return CompareOrdinal(field, s) > 0;
    case MatchOperator::GreaterOrEqual:
        return CompareOrdinal(field, s) >= 0;
    case MatchOperator::LessOrEqual:
        return CompareOrdinal(field, s) <= 0;
    case MatchOperator::Equal:
        return field == s;
    case MatchOperator::NotContains:
        return FirstOccurrence(s, field) == 0;
    }
    return false;
}

bool BooleanMatches(
    const Card& row, int field1, QStringView s1, BooleanConnective connective, int field2, QStringView s2)
{
    Q_ASSERT(field1 >= 1 && field1 <= FieldCount && field2 >= 1 && field2 <= FieldCount);
    const bool a = FirstOccurrence(s1, row[static_cast<size_t>(field1 - 1)]) > 0;
    // The second half is looked at only where it can change the answer.
    switch (connective) {
    case BooleanConnective::And:
        return a && FirstOccurrence(s2, row[static_cast<size_t>(field2 - 1)]) > 0;
    case BooleanConnective::Or:
        return a || FirstOccurrence(s2, row[static_cast<size_t>(field2 - 1)]) > 0;
    case BooleanConnective::Xor:
        return a != (FirstOccurrence(s2, row[static_cast<size_t>(field2 - 1)]) > 0);
    case BooleanConnective::Not:
        return a && FirstOccurrence(s2, row[static_cast<size_t>(field2 - 1)]) == 0;
    }
    return false;
}
