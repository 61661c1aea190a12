#pragma once
// The tone curve as DRAW uses it and curve files keep it: 33 levels and the
// channels it works on. Plain values, no controls.

#include <array>
#include <cstdint>

namespace korven {

constexpr int curve_points = 33;

// How DRAW applies the curve: to all channels keeping their ratios, or to one.
enum class DrawMode : std::uint8_t { all, red, green, blue };

// Level k (0..255) is the output for input level 8 k; the last point stands at 255.
using CurveLevels = std::array<std::int16_t, curve_points>;

struct ToneCurve {
    CurveLevels levels{};
    DrawMode mode = DrawMode::all;
    friend bool operator==(const ToneCurve&, const ToneCurve&) = default;
};

// The input level of point k: 8 k, and 255 for the last point.
constexpr int curve_point_input(int k) { return k == curve_points - 1 ? 255 : 8 * k; }

// The curve a fresh start shows: every point at its own input level.
constexpr CurveLevels identity_levels()
{
    CurveLevels levels{};
    for (int k = 0; k < curve_points; ++k) levels[k] = static_cast<std::int16_t>(curve_point_input(k));
    return levels;
}

}  // namespace korven
