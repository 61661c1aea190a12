#include "colour/level_table.h"

#include <gtest/gtest.h>

#include <random>

#include "core/numbers.h"
#include "tests/colour/curve_samples.h"
#include "tests/colour/draw_reference.h"

namespace korven {
namespace {

using testing::start_up_curve;

TEST(LevelTable, MatchesStepByStepTableForRandomCurves)
{
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        const PointLevels points = testing::random_curve(random);
        EXPECT_EQ(build_level_table(points, CurveMode::all_channels),
                  reference::level_table(points, -1));
        for (int channel = 0; channel < 3; ++channel)
            EXPECT_EQ(build_level_table(points, CurveMode::one_channel),
                      reference::level_table(points, channel));
    }
}

TEST(LevelTable, AllModeStandsPointKAtSum24kAndEndsAtPoint32)
{
    const LevelTable table = build_level_table(start_up_curve(), CurveMode::all_channels);
    for (int s = 0; s < 744; ++s) EXPECT_FLOAT_EQ(table[s], s / 3.0f) << "sum " << s;
    for (int s = 744; s <= 764; ++s)
        EXPECT_FLOAT_EQ(table[s], 248.0f + 7.0f * (s - 744) / 24.0f) << "sum " << s;
    EXPECT_EQ(table[765], 255.0f);

    PointLevels points{};
    for (int k = 0; k < 33; ++k) points[k] = static_cast<std::int16_t>((k * 97) % 256);
    const LevelTable steps = build_level_table(points, CurveMode::all_channels);
    for (int k = 0; k < 32; ++k) EXPECT_EQ(steps[24 * k], points[k]);
    EXPECT_EQ(steps[765], points[32]);
}

TEST(LevelTable, OneChannelKeepsWholeLevelsAndEndsAtPoint32)
{
    const LevelTable table = build_level_table(start_up_curve(), CurveMode::one_channel);
    for (int level = 0; level < 248; ++level) EXPECT_EQ(table[level], level);
    for (int j = 0; j <= 6; ++j)
        EXPECT_EQ(table[248 + j], round_to_int(248 + 7.0 * j / 8)) << "level " << 248 + j;
    EXPECT_EQ(table[252], 252.0f);  // 251.5 rounds up
    EXPECT_EQ(table[255], 255.0f);
    for (int slot = 256; slot < level_table_size; ++slot) EXPECT_EQ(table[slot], 0.0f);
}

}  // namespace
}  // namespace korven
