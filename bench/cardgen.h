// Reproducible tables of cards that look like a card file in daily use:
// Finnish and English text with accents, now and then an emoji, about a
// third of the fields empty, dates, page numbers, codes, a file link here
// and there, and Memos from none to 200 lines, most of them short.
#pragma once

#include "card.h"

#include <cstdint>

constexpr std::uint64_t DefaultCardSeed = 20181206;

// count cards made from seed; the same seed gives the same cards everywhere.
CardRows GenerateCards(int count, std::uint64_t seed = DefaultCardSeed);
