#include "files/monotone_curve.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/numbers.h"

namespace korven {

namespace {

// The tangent of the curve at each point: the mean of the slopes beside it,
// or flat where the curve turns. Each piece's two tangents are then scaled
// down together until the cubic between them cannot overshoot.
std::vector<double> monotone_tangents(std::span<const CurvePoint> points)
{
    const std::size_t n = points.size();
    std::vector<double> slope(n - 1), tangent(n);
    for (std::size_t i = 0; i + 1 < n; ++i)
        slope[i] = static_cast<double>(points[i + 1].output - points[i].output) /
                   (points[i + 1].input - points[i].input);
    tangent.front() = slope.front();
    tangent.back() = slope.back();
    for (std::size_t i = 1; i + 1 < n; ++i)
        tangent[i] = slope[i - 1] * slope[i] > 0 ? (slope[i - 1] + slope[i]) / 2 : 0;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        if (slope[i] == 0) {
            tangent[i] = tangent[i + 1] = 0;
            continue;
        }
        const double a = tangent[i] / slope[i], b = tangent[i + 1] / slope[i];
        if (a * a + b * b > 9) {
            const double shrink = 3 / std::sqrt(a * a + b * b);
            tangent[i] = shrink * a * slope[i];
            tangent[i + 1] = shrink * b * slope[i];
        }
    }
    return tangent;
}

}  // namespace

CurveLevels monotone_curve_levels(std::span<const CurvePoint> points)
{
    if (points.empty()) return identity_levels();
    const std::vector<double> tangent =
        points.size() > 1 ? monotone_tangents(points) : std::vector<double>(1, 0.0);
    CurveLevels levels{};
    for (int k = 0; k < curve_points; ++k) {
        const int x = curve_point_input(k);
        double y = 0;
        if (x <= points.front().input) {
            y = points.front().output;
        } else if (x >= points.back().input) {
            y = points.back().output;
        } else {
            // The piece from point i to point i + 1 holds x; the cubic Hermite form.
            const auto after = std::upper_bound(points.begin(), points.end(), x,
                                                [](int input, const CurvePoint& p) { return input < p.input; });
            const auto i = static_cast<std::size_t>(after - points.begin() - 1);
            const double h = points[i + 1].input - points[i].input;
            const double t = (x - points[i].input) / h, t2 = t * t, t3 = t2 * t;
            y = (2 * t3 - 3 * t2 + 1) * points[i].output + (t3 - 2 * t2 + t) * h * tangent[i] +
                (-2 * t3 + 3 * t2) * points[i + 1].output + (t3 - t2) * h * tangent[i + 1];
        }
        levels[k] = static_cast<std::int16_t>(std::clamp(round_to_int(y), 0, 255));
    }
    return levels;
}

}  // namespace korven
