// Sorting a card table by a key built from twelve chosen fields, ascending or
// descending, with the card file's own quicksort: rows with equal keys end in
// the order that routine gives them (two equal rows change places).
#pragma once

#include "cardstore.h"

#include <QChar>
#include <QString>
#include <array>
#include <vector>

// Follows every field's text in a sort key.
constexpr QChar SortKeySeparator = QChar(0x0014);

constexpr int SortKeyCount = 12;
// The field numbers (1 to 19) of the twelve key choosers, key 1 first: a
// chooser's index + 1. The same field may stand in several keys.
using SortKeyFields = std::array<int, SortKeyCount>;
// The choosers' first selections: key k is field k.
inline constexpr SortKeyFields DefaultSortKeyFields = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};

enum class SortDirection { Ascending, Descending };

// The texts of the twelve key fields of row, each followed by SortKeySeparator.
QString SortKey(const Card& row, const SortKeyFields& fields);

// Sorts rows lo..hi by their keys (keys[k] belongs to rows[k]), moving keys
// and whole rows together. Keys compare with CompareOrdinal. The routine is a
// quicksort on the middle row's key with two indices moving towards each
// other, exchanging also when they meet; it works through the smaller part
// first and loops on the larger, so no order of the keys nests it deeper than
// about log2(hi - lo) levels. It runs on a compact list of row numbers and
// moves each row once at the end, into the place the exchanges give it.
void SortRows(CardRows& rows, std::vector<QString>& keys, int lo, int hi, SortDirection direction);

// The main window's sort, after the handler has stored the shown card: with
// no cards nothing happens; otherwise the cards are sorted by their keys in
// exactly SortRows' order (a key text is built only for the rows whose first
// twenty-four key units do not tell them apart), CurrentCard becomes
// CardCount - 1 (the last card of the new order, for the handler to show) and
// CardFileChanged is set.
void SortCardTable(CardStore& store, const SortKeyFields& fields, SortDirection direction);

// The picked cards window's sort: the picked set is sorted and CurrentPicked
// becomes PickedCount - 1. CardFileChanged is not touched.
void SortPickedTable(CardStore& store, const SortKeyFields& fields, SortDirection direction);
