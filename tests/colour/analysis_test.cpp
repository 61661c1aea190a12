// The analysis pass against the step-by-step version and the examples of its definition.
#include "colour/analysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "tests/colour/analysis_reference.h"
#include "tests/colour/curve_samples.h"

namespace korven {
namespace {

// A chart whose every pixel tells whether a dot was drawn over it.
Picture patterned_chart()
{
    Picture chart(640, 648);
    for (int y = 0; y < chart.height(); ++y)
        for (int x = 0; x < chart.width(); ++x) chart.at(x, y) = 0xFF000000u | static_cast<Colour>(x ^ y);
    return chart;
}

Picture one_row(std::initializer_list<Colour> colours)
{
    Picture picture(static_cast<int>(colours.size()), 1);
    std::copy(colours.begin(), colours.end(), picture.pixels().begin());
    return picture;
}

// The chart pixels a pass changed.
std::vector<std::pair<int, int>> dots_drawn(const Picture& before, const Picture& after)
{
    std::vector<std::pair<int, int>> changed;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (after.at(x, y) != before.at(x, y)) changed.emplace_back(x, y);
    return changed;
}

// Large enough for the pass to share its rows with a helper thread, with many
// colours landing on one chart pixel, so the order of the dots matters.
TEST(AnalysisPass, EveryInstructionSetPlotsAndCountsAsTheStepByStepVersion)
{
    std::mt19937 random(10);
    Picture picture = testing::random_picture(random, 1100, 1000);
    const Colour special[] = {rgb(0, 0, 0),       rgb(255, 255, 255), rgb(1, 1, 1),
                              rgb(85, 85, 85),    rgb(100, 100, 55),  rgb(255, 0, 0),
                              rgb(0, 255, 0),     rgb(0, 0, 255),     rgb(0, 1, 0)};
    std::copy(std::begin(special), std::end(special), picture.pixels().begin());

    for (const float panel_top : {0.0f, 324.0f}) {
        Picture expected = patterned_chart();
        const reference::Histogram expected_counts = reference::dots(picture, panel_top, expected);
        for (const CodePath path : analysis_paths_here()) {
            Picture chart = patterned_chart();
            const BrightnessHistogram counts =
                analyse(picture.view(), reference::chroma_matrix(), panel_top, chart.view(), path);
            EXPECT_EQ(counts, expected_counts) << code_path_name(path) << " at " << panel_top;
            EXPECT_TRUE(chart == expected) << code_path_name(path) << " at " << panel_top;
        }
    }
}

TEST(AnalysisPass, OneColourPrimariesAndGreysLandWhereTheDefinitionSays)
{
    const ChromaMatrix matrix = reference::chroma_matrix();
    const Picture blank = patterned_chart();

    // One colour: one dot, and every pixel counted at its mean level.
    Picture one_colour(5, 4);
    std::fill(one_colour.pixels().begin(), one_colour.pixels().end(), rgb(200, 120, 40));
    Picture chart = blank;
    BrightnessHistogram counts = analyse(one_colour.view(), matrix, 0, chart.view());
    EXPECT_EQ(dots_drawn(blank, chart).size(), 1u);
    BrightnessHistogram expected{};
    expected[120] = 20;
    EXPECT_EQ(counts, expected);

    // Pure red, green and blue at the far ends of their axes, in full colour.
    chart = blank;
    counts = analyse(one_row({rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255)}).view(), matrix,
                     324, chart.view());
    EXPECT_EQ(chart.at(451, 324 + 14), rgb(255, 0, 0));
    EXPECT_EQ(chart.at(278, 324 + 314), rgb(0, 255, 0));
    EXPECT_EQ(chart.at(624, 324 + 314), rgb(0, 0, 255));
    EXPECT_EQ(dots_drawn(blank, chart).size(), 3u);
    EXPECT_EQ(counts[85], 3);

    // Every grey, black included, on the centre in the mean grey.
    chart = blank;
    counts = analyse(one_row({rgb(0, 0, 0), rgb(1, 1, 1), rgb(128, 128, 128), rgb(255, 255, 255)}).view(),
                     matrix, 0, chart.view());
    EXPECT_EQ(dots_drawn(blank, chart), (std::vector<std::pair<int, int>>{{451, 214}}));
    EXPECT_EQ(chart.at(451, 214), rgb(85, 85, 85));
    for (const int level : {0, 1, 128, 255}) EXPECT_EQ(counts[level], 1) << level;

    // No pixel: no dot, no count.
    chart = blank;
    counts = analyse(Picture().view(), matrix, 0, chart.view());
    EXPECT_EQ(counts, BrightnessHistogram{});
    EXPECT_TRUE(chart == blank);
}

}  // namespace
}  // namespace korven
