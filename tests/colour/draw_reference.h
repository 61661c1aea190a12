#pragma once
// DRAW the slow way: the level table and both passes one pixel at a time,
// written step by step from the rules, to check the fast kernels against.

#include <array>
#include <cstdint>

#include "core/picture.h"

namespace korven::reference {

using Points = std::array<std::int16_t, 33>;
using Table = std::array<float, 766>;

// channel_choice: -1 "All", 0 red, 1 green, 2 blue.
Table level_table(const Points& point_levels, int channel_choice);

// Rewrites `adjusted` from `original` (same size) as DRAW does.
void draw(const Picture& original, Picture& adjusted, const Points& point_levels,
          int channel_choice);

// The "All" result for one colour value.
Colour all_channels_pixel(Colour c, const Table& level_table);

}  // namespace korven::reference
