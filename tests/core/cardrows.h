// Small card tables for the core's tests.
#pragma once

#include "cardstore.h"

#include <QString>
#include <initializer_list>
#include <utility>
#include <vector>

// A card with the given cells set (cell index, text); the rest empty.
inline Card CardWith(std::initializer_list<std::pair<int, const char*>> cells)
{
    Card c;
    for (const auto& [cell, text] : cells)
        c[static_cast<size_t>(cell)] = QString::fromUtf8(text);
    return c;
}

// A card whose field 1 holds title and whose Card ID is id.
inline Card TitledCard(const char* title, const char* id)
{
    return CardWith({{0, title}, {CardIdCell, id}});
}

// An open card file of these cards, the table at its full 32000 rows, the
// last card current.
inline CardStore OpenStore(const std::vector<Card>& cards)
{
    CardStore s;
    s.RenewTables();
    for (size_t i = 0; i < cards.size(); ++i)
        s.CardTable[i] = cards[i];
    s.CardCount = static_cast<int>(cards.size());
    s.CurrentCard = s.CardCount - 1;
    s.FileOpen = true;
    return s;
}

// The Card IDs of rows 0..count - 1, joined by blanks: the order of a table at a glance.
inline QString IdsOf(const CardRows& rows, int count)
{
    QString out;
    for (int i = 0; i < count; ++i) {
        if (i)
            out += u' ';
        out += rows[static_cast<size_t>(i)][CardIdCell];
    }
    return out;
}
