#pragma once
// The arithmetic of the curve presets "Linear", "log" and "exp": which points a
// preset rewrites and the value each of them gets. Pure: no control is touched.

#include <array>

namespace korven {

constexpr int curve_point_count = 33;

// Point values 0..255 of the 33 control points; point k stands at input level 8 x k.
using CurveValues = std::array<int, curve_point_count>;

enum class PresetShape { linear, log, exp };

// The five preset fields as read: the lower limit a >> lo, the upper limit
// b >> hi (input level >> output level) and the shape factor.
struct PresetInputs {
    double a = 0;
    double lo = 0;
    double b = 256;
    double hi = 256;
    double factor = 1;
};

// The curve after a preset. Only points first..last were rewritten (none
// when first > last, as for refused limits); all others are as they were.
struct PresetResult {
    CurveValues values{};
    int first = 0;
    int last = -1;
};

// Rewrites the run of points between the two limits with the chosen curve.
// Limits outside the accepted ranges leave every point as it was. Whatever
// the numbers, every value is a whole number from 0 to 255.
PresetResult preset_values(PresetShape shape, const PresetInputs& inputs,
                           const CurveValues& current);

}  // namespace korven
