#pragma once
// The level table DRAW builds from the 33 curve points: in "All" mode indexed
// by the sum of a pixel's three channels (0..765), in single-channel mode by
// one channel level (0..255).

#include <array>
#include <cstdint>

namespace korven {

constexpr int point_count = 33;
constexpr int level_table_size = 766;

// Point k's output level (0..255); point k stands at input level 8 x k.
using PointLevels = std::array<std::int16_t, point_count>;

// Target levels with their fractions. Single-channel tables fill slots 0..255
// only, with whole numbers; the other slots stay 0.
using LevelTable = std::array<float, level_table_size>;

enum class CurveMode { all_channels, one_channel };

// Interpolates straight lines between neighbouring points. In "All" mode point
// k stands at channel sum 24 x k (mean level 8 x k), in single-channel mode at
// level 8 x k; the top slot (765 or 255) is point 32 itself. Point levels
// outside 0..255 (the sliders never give one) are taken as the nearest end.
LevelTable build_level_table(const PointLevels& point_levels, CurveMode mode);

}  // namespace korven
