#include "curve/presets.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace korven {
namespace {

// The curve right after start-up: 8 x k, and 255 for the top point.
CurveValues start_up_curve()
{
    CurveValues values{};
    for (int k = 0; k < curve_point_count; ++k) values[k] = k == 32 ? 255 : 8 * k;
    return values;
}

CurveValues filled(int value)
{
    CurveValues values{};
    values.fill(value);
    return values;
}

const PresetInputs layout_inputs{};  // 0 >> 0, 256 >> 256, factor 1

PresetResult run(PresetShape shape, PresetInputs inputs, const CurveValues& current = filled(77))
{
    return preset_values(shape, inputs, current);
}

void expect_unchanged(const PresetResult& result, const CurveValues& before)
{
    EXPECT_GT(result.first, result.last);
    EXPECT_EQ(result.values, before);
}

TEST(PresetShapes, LayoutValuesGiveTheDocumentedCurves)
{
    const PresetResult linear = run(PresetShape::linear, layout_inputs);
    EXPECT_EQ(linear.values, start_up_curve());
    EXPECT_EQ(linear.first, 0);
    EXPECT_EQ(linear.last, 32);

    const CurveValues log = run(PresetShape::log, layout_inputs).values;
    EXPECT_EQ(log[0], 0);
    EXPECT_EQ(log[1], 17);
    EXPECT_EQ(log[16], 169);
    EXPECT_EQ(log[31], 252);
    EXPECT_EQ(log[32], 255);

    const CurveValues exp = run(PresetShape::exp, layout_inputs).values;
    EXPECT_EQ(exp[0], 0);
    EXPECT_EQ(exp[1], 3);
    EXPECT_EQ(exp[16], 69);
    EXPECT_EQ(exp[31], 238);
    EXPECT_EQ(exp[32], 255);
}

TEST(PresetShapes, FactorZeroAndNegativeFactors)
{
    PresetInputs inputs{.a = 20, .lo = 10, .b = 230, .hi = 200, .factor = 0};
    const CurveValues line = run(PresetShape::linear, inputs).values;
    EXPECT_EQ(run(PresetShape::log, inputs).values, line);
    EXPECT_EQ(run(PresetShape::exp, inputs).values, line);

    inputs.factor = 3;
    const CurveValues log3 = run(PresetShape::log, inputs).values;
    const CurveValues exp3 = run(PresetShape::exp, inputs).values;
    inputs.factor = -3;
    EXPECT_EQ(run(PresetShape::log, inputs).values, log3);
    EXPECT_EQ(run(PresetShape::exp, inputs).values, exp3);
    EXPECT_NE(log3, line);
    EXPECT_NE(exp3, line);
}

TEST(PresetShapes, CurveConstantsAreHeldInSinglePrecision)
{
    // Both values lie within a millionth of a half, on the side the
    // single-precision g, L0, E0 and c put them (exactly: 135.5 and 117.49999).
    const PresetInputs log_inputs{.a = 0, .lo = 15, .b = 256, .hi = 256, .factor = 2};
    EXPECT_EQ(run(PresetShape::log, log_inputs).values[8], 135);
    const PresetInputs exp_inputs{.a = -1, .lo = 32, .b = 249, .hi = 193, .factor = 1};
    EXPECT_EQ(run(PresetShape::exp, exp_inputs).values[23], 118);
}

TEST(PresetRange, OnlyPointsBetweenTheInputLevelsChange)
{
    const CurveValues before = filled(77);
    const PresetResult result =
        run(PresetShape::linear, {.a = 20, .lo = 0, .b = 100, .hi = 256}, before);
    EXPECT_EQ(result.first, 3);
    EXPECT_EQ(result.last, 12);
    for (int k = 0; k < curve_point_count; ++k) {
        if (k < 3 || k > 12) {
            EXPECT_EQ(result.values[k], 77) << k;
        }
    }
    EXPECT_EQ(result.values[3], 13);  // 256 / 80 x (24 - 20) = 12.8
    EXPECT_EQ(result.values[12], 243);
}

TEST(PresetRange, LimitsOfTheInputLevels)
{
    const CurveValues before = filled(77);
    EXPECT_EQ(run(PresetShape::linear, {.a = -7}, before).first, 0);
    EXPECT_EQ(run(PresetShape::linear, {.a = -7}, before).values[0], 7);  // 256 / 263 x 7
    expect_unchanged(run(PresetShape::linear, {.a = -8}, before), before);
    expect_unchanged(run(PresetShape::linear, {.a = -7.5}, before), before);

    const PresetResult top = run(PresetShape::linear, {.b = 263}, before);
    EXPECT_EQ(top.last, 32);
    EXPECT_EQ(top.values[32], 249);  // 256 / 263 x 256
    expect_unchanged(run(PresetShape::linear, {.b = 264}, before), before);
    expect_unchanged(run(PresetShape::linear, {.a = 100, .b = 100}, before), before);
    expect_unchanged(run(PresetShape::linear, {.a = 120, .b = 100}, before), before);

    // No input level between the limits: nothing to do.
    expect_unchanged(run(PresetShape::exp, {.a = 1, .b = 7}, before), before);
    expect_unchanged(run(PresetShape::log, {.a = 256.5, .b = 263}, before), before);
}

TEST(PresetRange, UpperLimit255IncludesTheTopPoint)
{
    const PresetResult line = run(PresetShape::linear, {.a = 0, .lo = 0, .b = 255, .hi = 255});
    EXPECT_EQ(line.last, 32);
    EXPECT_EQ(line.values[31], 248);
    EXPECT_EQ(line.values[32], 255);  // 256, clamped

    // Only exactly 255 counts as 256.
    EXPECT_EQ(run(PresetShape::linear, {.b = 254.9}).last, 31);
    EXPECT_EQ(run(PresetShape::linear, {.b = 255.1}).last, 31);

    const PresetResult low = run(PresetShape::exp, {.a = 0, .lo = 0, .b = 255, .hi = 100});
    EXPECT_EQ(low.values[32], 101);  // the curve goes on a little past b
}

TEST(PresetRange, OutputLevelsOutsideTheRange)
{
    const CurveValues before = filled(77);
    const CurveValues wide = run(PresetShape::linear, {.lo = -50, .hi = 300}, before).values;
    // y = 350 / 256 x x - 50 crosses 0 at x = 36.6 and 255 at x = 223.1.
    for (int k = 0; k <= 4; ++k) EXPECT_EQ(wide[k], 0) << k;
    EXPECT_EQ(wide[5], 5);
    EXPECT_EQ(wide[27], 245);
    for (int k = 28; k <= 32; ++k) EXPECT_EQ(wide[k], 255) << k;

    expect_unchanged(run(PresetShape::linear, {.lo = -1, .hi = -1}, before), before);
    expect_unchanged(run(PresetShape::log, {.lo = 256, .hi = 300}, before), before);
    EXPECT_EQ(run(PresetShape::linear, {.lo = -1, .hi = 0}, before).values[32], 0);
    EXPECT_EQ(run(PresetShape::linear, {.lo = 255, .hi = 256}, before).values[0], 255);
}

// The curve as a share of the way from lo to hi, straight from its
// definition in extended precision (for moderate factors only).
long double reference_share(PresetShape shape, long double factor, long double t)
{
    if (shape == PresetShape::log) {
        const long double f = 1 + std::fabs(factor);
        return (std::log((f - 1 / f) * t + 1 / f) + std::log(f)) / (2 * std::log(f));
    }
    const long double f = std::fabs(factor);
    return (std::exp(f * (2 * t - 1)) - std::exp(-f)) / (std::exp(f) - std::exp(-f));
}

TEST(PresetShapes, FollowTheirDefinitionOverManyFactors)
{
    const PresetInputs limit_sets[] = {
        {.a = 0, .lo = 0, .b = 256, .hi = 256},
        {.a = 20, .lo = 250, .b = 230, .hi = -30},
        {.a = -7, .lo = 10, .b = 255, .hi = 200},
        {.a = 97, .lo = 3, .b = 104.5, .hi = 250},
    };
    for (PresetShape shape : {PresetShape::log, PresetShape::exp}) {
        for (PresetInputs inputs : limit_sets) {
            for (double factor = 1e-3; factor < 2000; factor *= 1.37) {
                inputs.factor = factor;
                const PresetResult result = run(shape, inputs);
                for (int k = result.first; k <= result.last; ++k) {
                    const long double t = (8.0L * k - inputs.a) / (inputs.b - inputs.a);
                    const long double share = reference_share(shape, factor, t);
                    const long double y = inputs.lo + (inputs.hi - inputs.lo) * share;
                    const long double clamped = std::fmin(std::fmax(y, 0.0L), 255.0L);
                    const long double near_half = std::fabs(clamped - std::floor(clamped) - 0.5L);
                    const std::string where =
                        "factor " + std::to_string(factor) + " point " + std::to_string(k);
                    if (near_half > 0.01L) {
                        EXPECT_EQ(result.values[k], std::lround(clamped)) << where;
                    } else {
                        EXPECT_NEAR(result.values[k], clamped, 0.52) << where;
                    }
                }
            }
        }
    }
}

TEST(PresetHugeFactors, ExpRisesOnlyAtTheUpperLimit)
{
    CurveValues step = filled(0);
    step[32] = 255;
    for (double factor : {999999.0, -99999.0, 1e9, 1e99, 1e300}) {
        const PresetInputs inputs{.factor = factor};
        EXPECT_EQ(run(PresetShape::exp, inputs).values, step) << factor;
    }

    // Falling: hi at the top point, lo everywhere below.
    const CurveValues falling = run(PresetShape::exp, {.lo = 200, .hi = 10, .factor = 1e9}).values;
    for (int k = 0; k < 32; ++k) EXPECT_EQ(falling[k], 200) << k;
    EXPECT_EQ(falling[32], 10);

    // The top point past b = 255 and a short run just below it.
    for (double factor : {80.0, 1e9}) {
        const PresetInputs short_run{.a = 254.9, .lo = 0, .b = 255, .hi = 10, .factor = factor};
        EXPECT_EQ(run(PresetShape::exp, short_run).values[32], 255) << factor;
        const PresetInputs flat{.a = 254.9, .lo = 9, .b = 255, .hi = 9, .factor = factor};
        EXPECT_EQ(run(PresetShape::exp, flat).values[32], 9) << factor;
    }
}

TEST(PresetHugeFactors, LogRisesAtOnceAndFlattens)
{
    // For large f the share is about 1 + ln(t) / (2 ln f).
    for (double factor : {999999.0, 1e9, 1e30}) {
        const CurveValues values = run(PresetShape::log, {.factor = factor}).values;
        const double two_ln_f = 2 * std::log(factor + 1);
        EXPECT_EQ(values[0], 0);
        for (int k = 1; k < 32; ++k) {
            const double expected = std::fmin(256 * (1 + std::log(k / 32.0) / two_ln_f), 255);
            EXPECT_NEAR(values[k], expected, 0.51) << factor << " point " << k;
        }
        EXPECT_EQ(values[32], 255);
    }
    EXPECT_EQ(run(PresetShape::log, {.factor = 1e99}).values,
              run(PresetShape::log, {.factor = 1e300}).values);
}

TEST(PresetHugeFactors, ExtremeLimitsAndTinyRuns)
{
    // Output levels beyond single precision and a run of a tiny width.
    for (PresetShape shape : {PresetShape::linear, PresetShape::log, PresetShape::exp}) {
        for (double factor : {1.0, 1e9}) {
            const CurveValues wide = run(shape, {.lo = -1e99, .hi = 1e99, .factor = factor}).values;
            for (int value : wide) EXPECT_TRUE(value == 0 || value == 255);
            const PresetResult narrow =
                run(shape, {.a = 0, .lo = 0, .b = 1e-30, .hi = 255, .factor = factor});
            EXPECT_EQ(narrow.first, 0);
            EXPECT_EQ(narrow.last, 0);
            EXPECT_EQ(narrow.values[0], 0);
        }
    }
}

TEST(PresetTinyFactors, FollowTheSinglePrecisionFormulaWhileItHolds)
{
    for (double factor : {1e-5, 1e-9, 1e-30, 1e-300}) {
        EXPECT_EQ(run(PresetShape::log, {.factor = factor}).values, start_up_curve()) << factor;
        EXPECT_EQ(run(PresetShape::exp, {.factor = factor}).values, start_up_curve()) << factor;
    }
    // Up to 255: the formula's single-precision E0 puts these points at 127.59,
    // 135.55 and 143.51, a little above the exact curve (127.499, 135.468, 143.437) ...
    const CurveValues exp5 = run(PresetShape::exp, {.hi = 255, .factor = 1e-5}).values;
    EXPECT_EQ((std::vector{exp5[16], exp5[17], exp5[18]}), (std::vector{128, 136, 144}));
    // ... and with 1e-7 its rounding lifts the whole curve, which still rises
    // inside 0..255: the formula stands.
    const CurveValues exp7 = run(PresetShape::exp, {.hi = 255, .factor = 1e-7}).values;
    EXPECT_EQ((std::vector{exp7[0], exp7[16], exp7[32]}), (std::vector{22, 139, 255}));
    // Below about 3e-8 E0 is 1 and the formula starts far below 0; beyond
    // about 104 its c underflows and it stops rising: the exact curve stands in.
    const CurveValues exp8 = run(PresetShape::exp, {.hi = 255, .factor = 1e-8}).values;
    EXPECT_EQ((std::vector{exp8[0], exp8[16], exp8[32]}), (std::vector{0, 127, 255}));
    const CurveValues exp200 = run(PresetShape::exp, {.hi = 255, .factor = 200}).values;
    EXPECT_EQ((std::vector{exp200[31], exp200[32]}), (std::vector{0, 255}));
}

}  // namespace
}  // namespace korven
