#pragma once
// The smooth curve through a few points of a curve file, as the 33 levels
// DRAW uses: GIMP's older curves files keep their curves as such points.

#include <span>

#include "files/tone_curve.h"

namespace korven {

// A point the curve passes through: an output level for an input level, both 0..255.
struct CurvePoint {
    int input = 0, output = 0;
};

// The levels of the curve through `points`, whose inputs must rise strictly.
// Between neighbouring points it is a monotone cubic (Fritsch and Carlson's
// tangents), so it never rises above or falls below the two points; before
// the first point and after the last it keeps their output. No point gives
// the identity, one point a constant curve.
CurveLevels monotone_curve_levels(std::span<const CurvePoint> points);

}  // namespace korven
