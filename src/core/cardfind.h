// Find next and find previous over a card table: the nearest row after (or
// before) the current one that passes a test. The search never wraps round
// and never tests the current row itself.
#pragma once

#include "cardstore.h"
#include "match.h"

#include <QString>
#include <algorithm>

enum class SearchDirection { Forward, Backward };

enum class FindStatus {
    Found,  // row is the match
    NothingToSearch,  // the current row is the last (forward) or the first (backward): no message
    NotFound,  // rows were searched and none matched: the window shows NotFoundText()
};

struct FindOutcome {
    FindStatus status = FindStatus::NothingToSearch;
    int row = -1;  // the matching row when Found, else -1
};

// The message of a search or pick that found nothing.
inline QString NotFoundText()
{
    return QStringLiteral("Not found");
}

// Tests rows current + 1 .. count - 1 in turn (Forward) or current - 1 .. 0
// (Backward) with test(const Card&) and gives the first that passes.
template <typename Test>
FindOutcome FindMatch(const CardRows& rows, int count, int current, SearchDirection direction, const Test& test)
{
    count = std::min(count, static_cast<int>(rows.size()));
    if (direction == SearchDirection::Forward) {
        const int start = current + 1;
        if (start > count - 1)
            return {FindStatus::NothingToSearch, -1};
        for (int i = std::max(start, 0); i < count; ++i)
            if (test(rows[static_cast<size_t>(i)]))
                return {FindStatus::Found, i};
    } else {
        const int start = current - 1;
        if (start < 0)
            return {FindStatus::NothingToSearch, -1};
        for (int i = std::min(start, count - 1); i >= 0; --i)
            if (test(rows[static_cast<size_t>(i)]))
                return {FindStatus::Found, i};
    }
    return {FindStatus::NotFound, -1};
}

// The main window's find over CardTable: on Found, CurrentCard becomes the
// matching row; nothing else changes. Its handler does nothing without an
// open card file (the keys reach it even then), stores the shown card before
// the call, and shows the card after a Found. Called without an open card
// file it searches nothing (NothingToSearch).
FindOutcome FindCard(CardStore& store, SearchDirection direction, const FieldTest& test);
FindOutcome FindCard(CardStore& store, SearchDirection direction, const BooleanTest& test);

// The picked cards window's find over PickedTable: on Found, CurrentPicked
// becomes the matching row.
FindOutcome FindPicked(CardStore& store, SearchDirection direction, const FieldTest& test);
FindOutcome FindPicked(CardStore& store, SearchDirection direction, const BooleanTest& test);
