#include "colour/apply_curve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "core/numbers.h"
#include "tests/colour/curve_samples.h"
#include "tests/colour/draw_reference.h"

namespace korven {
namespace {

using testing::flat_curve;
using testing::random_curve;
using testing::random_picture;
using testing::start_up_curve;

// Every path this processor runs: AVX-512, AVX2 and the plain loops here.
const std::vector<CodePath> every_code = curve_paths_here();

// The kernels as DRAW calls them; channel -1 is "All".
void draw_with_kernels(const Picture& original, Picture& adjusted, const PointLevels& points,
                       int channel, CodePath code = CodePath::fastest)
{
    // Into a new picture, as DRAW does.
    Picture drawn = Picture::for_overwrite(adjusted.width(), adjusted.height());
    if (channel == -1)
        apply_all_channels(original.view(), drawn.view(),
                           build_level_table(points, CurveMode::all_channels), code);
    else
        apply_one_channel(original.view(), adjusted.view(), drawn.view(),
                          build_level_table(points, CurveMode::one_channel), channel, code);
    adjusted = std::move(drawn);
}

Picture drawn_all(const Picture& original, const PointLevels& points,
                  CodePath code = CodePath::fastest)
{
    Picture adjusted(original.width(), original.height());
    draw_with_kernels(original, adjusted, points, -1, code);
    return adjusted;
}

// One colour drawn in "All" mode, checked to come out the same in vector
// runs of pixels, in the pixels left over after them, and on every path.
Colour drawn_pixel(Colour colour, const PointLevels& points)
{
    Picture original(17, 1);
    for (Colour& pixel : original.pixels()) pixel = colour;
    const Picture fast = drawn_all(original, points, CodePath::fastest);
    for (CodePath code : every_code) {
        const Picture other = drawn_all(original, points, code);
        for (int x = 0; x < 17; ++x)
            EXPECT_EQ(other.at(x, 0), fast.at(0, 0)) << code_path_name(code) << ", pixel " << x;
    }
    return fast.at(0, 0);
}

// Every colour value once, row-major: pixel (x, y) is colour y x 4096 + x.
Picture every_colour()
{
    Picture picture(4096, 4096);
    for (std::size_t i = 0; i < picture.pixels().size(); ++i)
        picture.pixels()[i] = static_cast<Colour>(i);
    return picture;
}

// Every path, in "All" mode and on each channel, leave `earlier` exactly
// as the step-by-step version does.
::testing::AssertionResult kernels_equal_reference(const Picture& original, const Picture& earlier,
                                                   const PointLevels& points)
{
    for (int channel = -1; channel <= 2; ++channel) {
        Picture slow = earlier;
        reference::draw(original, slow, points, channel);
        for (CodePath code : every_code) {
            Picture fast = earlier;
            draw_with_kernels(original, fast, points, channel, code);
            if (fast != slow)
                return ::testing::AssertionFailure()
                       << code_path_name(code) << ": channel " << channel << " differs";
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(DrawKernels, EqualStepByStepDrawOnRandomPicturesAndCurves)
{
    std::mt19937 random(2024);
    for (int round = 0; round < 40; ++round) {
        const PointLevels points = random_curve(random);
        const Picture original = random_picture(random, 1 + round % 7 * 11, 1 + round % 5 * 9);
        const Picture earlier = random_picture(random, original.width(), original.height());
        ASSERT_TRUE(kernels_equal_reference(original, earlier, points)) << "round " << round;
    }
}

TEST(DrawKernels, EqualStepByStepDrawOnLargePictureSplitAcrossThreads)
{
    std::mt19937 random(99);
    const PointLevels points = random_curve(random);
    const Picture original = random_picture(random, 1203, 1000);
    const Picture earlier = random_picture(random, original.width(), original.height());
    ASSERT_TRUE(kernels_equal_reference(original, earlier, points));
}

// Every channel sum and every split of it into three channels, for curves that
// keep, raise (with many overflows) and lower the picture.
TEST(DrawAllChannels, EqualsStepByStepDrawForEveryColour)
{
    const Picture original = every_colour();
    std::mt19937 random(5);
    for (const PointLevels& points : {random_curve(random), flat_curve(171)}) {
        const auto table = reference::level_table(points, -1);
        Picture slow(original.width(), original.height());
        for (std::size_t i = 0; i < original.pixels().size(); ++i)
            slow.pixels()[i] = reference::all_channels_pixel(original.pixels()[i], table);
        for (CodePath code : every_code) {
            const Picture fast = drawn_all(original, points, code);
            if (fast == slow) continue;
            for (std::size_t i = 0; i < original.pixels().size(); ++i)
                ASSERT_EQ(fast.pixels()[i], slow.pixels()[i])
                    << code_path_name(code) << ", colour " << std::hex << i;
        }
    }
}

// Every target mean with every channel sum, each sum split evenly, onto one
// channel, and with one channel at a sixth of it (levels near a half when the
// mean is low): the fast paths recover the mean from the ratio and pull
// toward it without dividing, which must hold for all of them.
TEST(DrawAllChannels, EqualsStepByStepDrawForEveryMeanAndChannelSum)
{
    Picture original(level_table_size, 3);
    for (int s = 0; s < level_table_size; ++s) {
        const auto split = [&](int first) {
            const int second = std::min(255, (s - first + 1) / 2);
            return rgb(first, second, s - first - second);
        };
        original.at(s, 0) = split(s / 3);
        original.at(s, 1) = split(std::min(255, s));
        original.at(s, 2) = split(std::max(s / 6, s - 510));
    }
    for (int mean = 0; mean < 256; ++mean) {
        const auto table = reference::level_table(flat_curve(mean), -1);
        Picture slow(original.width(), original.height());
        for (std::size_t i = 0; i < original.pixels().size(); ++i)
            slow.pixels()[i] = reference::all_channels_pixel(original.pixels()[i], table);
        for (CodePath code : every_code)
            ASSERT_EQ(drawn_all(original, flat_curve(mean), code), slow)
                << code_path_name(code) << ", mean " << mean;
    }
}

TEST(DrawAllChannels, StartUpCurveKeepsPixelsWithSumsOfThreesPrimariesIncluded)
{
    const Picture original = every_colour();
    const Picture adjusted = drawn_all(original, start_up_curve());
    for (std::size_t i = 0; i < original.pixels().size(); ++i) {
        const Colour c = original.pixels()[i];
        const int s = red_of(c) + green_of(c) + blue_of(c);
        if (s % 3 == 0 && s < 744) {
            ASSERT_EQ(adjusted.pixels()[i], c) << std::hex << c;
        }
    }
    // A channel sum of 255 is scaled like any other, not turned grey.
    for (Colour c : {rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255), rgb(85, 85, 85)})
        EXPECT_EQ(drawn_pixel(c, start_up_curve()), c) << std::hex << c;
    EXPECT_EQ(drawn_pixel(rgb(255, 255, 255), start_up_curve()), rgb(255, 255, 255));
}

TEST(DrawAllChannels, BlackBecomesGreyOfFirstPointAndWhiteGreyOfLast)
{
    std::mt19937 random(11);
    for (int round = 0; round < 10; ++round) {
        const PointLevels points = random_curve(random);
        const int first = points[0], last = points[32];
        EXPECT_EQ(drawn_pixel(rgb(0, 0, 0), points), rgb(first, first, first));
        EXPECT_EQ(drawn_pixel(rgb(255, 255, 255), points), rgb(last, last, last));
    }
}

TEST(DrawAllChannels, OverflowPullsTowardMeanUntilLargestIs255)
{
    // Mean 200 for sum 300 doubles every channel: 400, 200, 0.
    EXPECT_EQ(drawn_pixel(rgb(200, 100, 0), flat_curve(200)), rgb(255, 200, 145));
    EXPECT_EQ(drawn_pixel(rgb(0, 200, 100), flat_curve(200)), rgb(145, 255, 200));

    std::mt19937 random(3);
    for (int round = 0; round < 20; ++round) {
        const PointLevels points = flat_curve(150 + round * 5);
        const Picture original = random_picture(random, 64, 64);
        const Picture adjusted = drawn_all(original, points);
        for (std::size_t i = 0; i < original.pixels().size(); ++i) {
            const Colour c = original.pixels()[i];
            const int s = red_of(c) + green_of(c) + blue_of(c);
            if (s == 0) continue;
            const float ratio = static_cast<float>(points[0]) / static_cast<float>(s) * 3.0f;
            const int largest = std::max({red_of(c), green_of(c), blue_of(c)});
            if (round_to_int(largest * ratio) <= 255) continue;
            const Colour d = adjusted.pixels()[i];
            EXPECT_EQ(std::max({red_of(d), green_of(d), blue_of(d)}), 255) << std::hex << c;
        }
    }
}

TEST(DrawAllChannels, TiedLargestChannelsLeaveLeadToTheEarlier)
{
    // Mean 171 for sum 200 scales 100 to 256.5: the leader becomes 255, the
    // tied follower lands just below it.
    const PointLevels points = flat_curve(171);
    EXPECT_EQ(drawn_pixel(rgb(100, 100, 0), points), rgb(255, 254, 3));
    EXPECT_EQ(drawn_pixel(rgb(100, 0, 100), points), rgb(255, 3, 254));
    EXPECT_EQ(drawn_pixel(rgb(0, 100, 100), points), rgb(3, 255, 254));
}

TEST(DrawOneChannel, StartUpCurveChangesOnlyTheTopLevelsOfItsChannel)
{
    Picture original(256, 1);
    for (int level = 0; level < 256; ++level) original.at(level, 0) = rgb(level, level, level);
    for (int channel = 0; channel < 3; ++channel) {
        Picture adjusted(256, 1);
        for (Colour& pixel : adjusted.pixels()) pixel = rgb(10, 20, 30);
        draw_with_kernels(original, adjusted, start_up_curve(), channel);
        for (int level = 0; level < 256; ++level) {
            int expected = level;
            if (level >= 248 && level < 255) expected = round_to_int(248 + 7.0 * (level - 248) / 8);
            int kept[3] = {10, 20, 30};
            kept[channel] = expected;
            EXPECT_EQ(adjusted.at(level, 0), rgb(kept[0], kept[1], kept[2]))
                << "channel " << channel << ", level " << level;
        }
    }
}

TEST(DrawOneChannel, PassesAccumulateUntilAllRebuildsFromOriginal)
{
    std::mt19937 random(17);
    const Picture original = random_picture(random, 40, 30);
    PointLevels inverted{};
    for (int k = 0; k < 33; ++k) inverted[k] = static_cast<std::int16_t>(255 - std::min(255, 8 * k));
    const LevelTable table = build_level_table(inverted, CurveMode::one_channel);
    const auto curve = [&](int level) { return static_cast<int>(table[level]); };

    Picture adjusted = original;
    draw_with_kernels(original, adjusted, inverted, 0);
    draw_with_kernels(original, adjusted, inverted, 1);
    for (std::size_t i = 0; i < original.pixels().size(); ++i) {
        const Colour c = original.pixels()[i];
        ASSERT_EQ(adjusted.pixels()[i], rgb(curve(red_of(c)), curve(green_of(c)), blue_of(c)));
    }

    draw_with_kernels(original, adjusted, start_up_curve(), -1);
    EXPECT_EQ(adjusted, drawn_all(original, start_up_curve()));
}

TEST(DrawKernels, PicturesOfDifferentSizesOnlyShareTheirCommonArea)
{
    Picture original(3, 2);
    for (Colour& pixel : original.pixels()) pixel = rgb(10, 20, 30);
    Picture adjusted(2, 3);
    for (Colour& pixel : adjusted.pixels()) pixel = rgb(1, 2, 3);
    apply_all_channels(original.view(), adjusted.view(),
                       build_level_table(flat_curve(0), CurveMode::all_channels));
    EXPECT_EQ(adjusted.at(1, 1), rgb(0, 0, 0));
    EXPECT_EQ(adjusted.at(1, 2), rgb(1, 2, 3));
    apply_one_channel(original.view(), original.view(), Picture().view(),
                      build_level_table(flat_curve(0), CurveMode::one_channel), 0);
}

}  // namespace
}  // namespace korven
