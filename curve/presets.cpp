#include "curve/presets.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include "core/numbers.h"

namespace korven {

namespace {

constexpr double largest_single = std::numeric_limits<float>::max();

// A number as read from a field, stored into single precision. Beyond the
// float range it saturates, so "1e99" is the largest float, not an infinity.
float read_single(double value)
{
    if (std::isnan(value)) return 0.0f;
    return static_cast<float>(std::clamp(value, -largest_single, largest_single));
}

// A curve constant held in single precision; one beyond the float range
// becomes an infinity, which makes the formula unsound (see `sound`).
float hold_single(double value)
{
    constexpr float infinity = std::numeric_limits<float>::infinity();
    if (std::fabs(value) > largest_single) return value > 0 ? infinity : -infinity;
    return static_cast<float>(value);
}

struct Limits {
    float a, b, lo, hi;

    // Where x lies between the two input levels: 0 at a, 1 at b.
    double position(double x) const { return (x - a) / (static_cast<double>(b) - a); }

    // The output level a share w of the way from lo to hi.
    double output_at(double w) const
    {
        if (hi == lo) return lo;  // w may be infinite past b; the level is lo all the same
        return lo + (static_cast<double>(hi) - lo) * w;
    }
};

using Curve = std::function<double(double x)>;

Curve linear_curve(const Limits& l)
{
    return [l](double x) {
        const double slope = (static_cast<double>(l.hi) - l.lo) / (static_cast<double>(l.b) - l.a);
        return slope * (x - l.a) + l.lo;
    };
}

// "log" with f = 1 + u: the logarithm's argument runs from 1/f at a to f at b;
// g, L0 and c are held in single precision.
Curve log_formula(const Limits& l, double f)
{
    const float g = hold_single((f - 1.0f / f) / (static_cast<double>(l.b) - l.a));
    const float L0 = hold_single(std::log(1.0f / f));
    const float c = hold_single((static_cast<double>(l.hi) - l.lo) / (std::log(f) - L0));
    return [=](double x) { return c * (std::log(g * (x - l.a) + 1.0f / f) - L0) + l.lo; };
}

// The same curve in double precision, with f^2 - 1 written as u(2 + u): no
// constant overflows and tiny factors keep their precision.
Curve log_rearranged(const Limits& l, double u)
{
    return [=](double x) {
        return l.output_at(std::log1p(u * (2.0 + u) * l.position(x)) / (2.0 * std::log1p(u)));
    };
}

// "exp" with f = |factor|: the exponent runs from -f at a to f at b; g, E0
// and c are held in single precision.
Curve exp_formula(const Limits& l, double f)
{
    const float E0 = hold_single(std::exp(-f));
    const float g = hold_single(2.0f * f / (static_cast<double>(l.b) - l.a));
    const float c = hold_single((static_cast<double>(l.hi) - l.lo) / (std::exp(f) - E0));
    return [=](double x) { return c * (std::exp(g * (x - l.a) - f) - E0) + l.lo; };
}

// The same curve in double precision, (e^(2ft) - 1) / (e^(2f) - 1) of the way
// from lo to hi, rearranged so that no term overflows up to b: for large f it
// stays at lo and reaches hi only at b.
Curve exp_rearranged(const Limits& l, double f)
{
    return [=](double x) {
        const double t = l.position(x);
        const double rise = std::expm1(-2.0 * f * t) / std::expm1(-2.0 * f);
        const double share = std::exp(2.0 * f * (t - 1.0)) * rise;
        return l.output_at(share);
    };
}

// Whether a formula with its constants in single precision still gives a
// sound curve at every point asked for: finite, inside the span of its two
// output levels (within half a level, which rounds to the same level), and
// in order: rising strictly from lo towards hi (falling when hi is below lo).
// A point past b (b = 255 asks for 256) may leave the span, as the curve's
// own continuation does. Where the formula fails, the rearranged
// double-precision form of the same curve stands in. For the full-range
// curve (0 >> 0 to 256 >> 255) that happens for:
// - "exp" with a factor below about 3e-8: E0 = e^-f rounds to 1 in single
//   precision, so the curve starts near -(hi - lo), outside the span. Above
//   that the formula holds, although the rounding of E0 lifts its start
//   (point 0 is 84 for 3e-8, 22 for 1e-7, 2 for 1e-6, 0 from about 7e-6 on).
// - "exp" with a factor above about 104: c = (hi - lo) / (e^f - E0) leaves
//   the single-precision range at the bottom, so the curve misses hi at b
//   and, once c is 0, stops rising at all.
// - any constant beyond the single-precision range: huge output levels or
//   a tiny b - a.
bool sound(const Curve& formula, const Limits& l, int first, int last)
{
    const double low = std::min(l.lo, l.hi) - 0.5;
    const double high = std::max(l.lo, l.hi) + 0.5;
    const double direction = l.hi > l.lo ? 1.0 : l.hi < l.lo ? -1.0 : 0.0;
    double previous = 0;
    for (int k = first; k <= last; ++k) {
        const double x = 8.0 * k;
        const double y = formula(x);
        if (!std::isfinite(y)) return false;
        if (k > first && (direction == 0 ? y != previous : (y - previous) * direction <= 0)) return false;
        if (x <= l.b && (y < low || y > high)) return false;
        previous = y;
    }
    return true;
}

Curve curve_for(PresetShape shape, const Limits& limits, float factor, int first, int last)
{
    const double u = std::fabs(factor);
    if (shape == PresetShape::log) {
        const double f = 1.0f + u;
        if (f == 1.0f) return linear_curve(limits);
        Curve formula = log_formula(limits, f);
        return sound(formula, limits, first, last) ? formula : log_rearranged(limits, u);
    }
    if (shape == PresetShape::exp) {
        if (u == 0.0f) return linear_curve(limits);
        Curve formula = exp_formula(limits, u);
        return sound(formula, limits, first, last) ? formula : exp_rearranged(limits, u);
    }
    return linear_curve(limits);
}

// Rounded to the nearest level, then clamped to 0..255. Clamping first gives
// the same level and keeps an infinite value from ever becoming an integer.
int to_level(double y) { return round_to_int(std::clamp(y, 0.0, 255.0)); }

}  // namespace

PresetResult preset_values(PresetShape shape, const PresetInputs& inputs,
                           const CurveValues& current)
{
    PresetResult result{current};
    const float a = read_single(inputs.a);
    const float b = read_single(inputs.b);
    if (a >= b || a < -7 || b > 263) return result;
    const float lo = read_single(inputs.lo);
    const float hi = read_single(inputs.hi);
    if (lo < 0 && hi < 0) return result;
    if (lo > 255 && hi > 255) return result;

    // The points whose input levels lie between a and b; b = 255 counts as
    // 256 so that the top point is included. a >= -7 keeps first >= 0 and
    // b <= 263 keeps last <= 32.
    const int first = -floor_to_int(-a / 8.0);
    const int last = floor_to_int((b == 255 ? 256.0 : b) / 8.0);

    const float factor = read_single(inputs.factor);
    const Curve curve = curve_for(shape, Limits{a, b, lo, hi}, factor, first, last);
    for (int k = first; k <= last; ++k) {
        result.values[static_cast<std::size_t>(k)] = to_level(curve(8.0 * k));
    }
    result.first = first;
    result.last = last;
    return result;
}

}  // namespace korven
