// "Analysis" pressed as a person would: which panel is drawn, how it is shown,
// and the whole chart against the step-by-step version.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "files/image_files.h"
#include "colour/analysis_button.h"
#include "platform/draw.h"
#include "tests/colour/analysis_reference.h"
#include "tests/colour/curve_samples.h"
#include "tests/display/picture_files.h"

namespace korven::test {
namespace {

using AnalysisButton = DisplayTest;

bool rows_equal(const Picture& a, const Picture& b, int first, int last)
{
    for (int y = first; y <= last; ++y)
        if (!std::equal(a.row(y), a.row(y) + a.width(), b.row(y))) return false;
    return true;
}

TEST_F(AnalysisButton, BothPanelsEqualTheStepByStepChart)
{
    std::mt19937 random(7);
    Picture original = testing::random_picture(random, 61, 47);
    const Colour special[] = {rgb(0, 0, 0),    rgb(255, 255, 255), rgb(1, 1, 1),   rgb(128, 128, 128),
                              rgb(255, 0, 0),  rgb(0, 255, 0),     rgb(0, 0, 255), rgb(100, 100, 55)};
    std::copy(std::begin(special), std::end(special), original.pixels().begin());
    const Picture adjusted = testing::random_picture(random, 61, 47);
    load_picture(original, "mixed.bmp");
    put_picture(adjusted_slot, adjusted);  // as a DRAW would leave it
    click("BUTTON9");
    click("BUTTON9");  // past the analysis to the original
    ASSERT_EQ(state().shown_picture, original_slot);

    Picture expected(640, 648);
    click("BUTTON7");
    reference::analy(original, 0, expected);
    EXPECT_TRUE(state().analysis_picture == expected);

    click("BUTTON9");
    click("BUTTON9");  // the adjusted picture
    click("BUTTON7");
    reference::analy(adjusted, 1, expected);
    EXPECT_TRUE(state().analysis_picture == expected);
}

TEST_F(AnalysisButton, EachPanelFollowsItsPictureAndOutlivesLoads)
{
    const Picture& chart = state().analysis_picture;
    const Colour bar = draw::palette_colour(9);
    click("BUTTON7");  // nothing loaded, the picture window hidden
    EXPECT_EQ(state().shown_picture, original_slot);
    EXPECT_TRUE(chart == Picture(640, 648));

    // One colour of mean level 60: one bar of full height, in the lower panel
    // for the adjusted picture, reaching the row between the panels.
    Picture flat(400, 380);
    std::fill(flat.pixels().begin(), flat.pixels().end(), rgb(90, 60, 30));
    load_picture(flat, "flat.bmp");
    click("BUTTON7");
    EXPECT_EQ(caption(ui().FORM2), "KORVEN-Analysis/flat.bmp");
    EXPECT_EQ(state().shown_picture, analysis_slot);
    EXPECT_EQ(fe::testing::slider_maximum(control("HSCROLL1")), 640 - 360);
    EXPECT_EQ(fe::testing::slider_maximum(control("VSCROLL1")), 648 - 360);
    EXPECT_TRUE(enabled("HSCROLL1") && enabled("VSCROLL1"));
    EXPECT_EQ(fe::testing::canvas_pixel(ui().FORM2, 14 + 100, 14 + 330), draw::palette_colour(15));
    for (int y = 323; y <= 643; ++y) EXPECT_EQ(chart.at(65, y), bar) << y;
    EXPECT_EQ(std::count(chart.row(643) + 5, chart.row(643) + 261, bar), 1);
    EXPECT_TRUE(rows_equal(chart, Picture(640, 648), 0, 322));  // the upper panel is untouched

    const Picture lower_only = chart;
    click("BUTTON7");  // the analysis is shown already
    EXPECT_TRUE(chart == lower_only);

    click("BUTTON9");  // after the analysis, the original
    EXPECT_EQ(caption(ui().FORM2), "KORVEN-Original/flat.bmp");
    click("BUTTON7");
    EXPECT_TRUE(rows_equal(chart, lower_only, 323, 647));
    for (int y = 0; y <= 319; ++y) EXPECT_EQ(chart.at(65, y), bar) << y;  // its top row lies beyond the edge

    // "SAVE" writes the chart shown.
    answer_next_dialog(path("chart.bmp"));
    click("BUTTON6");
    Picture saved;
    ASSERT_TRUE(fe::load_file(saved, path("chart.bmp")).ok);
    EXPECT_TRUE(saved == chart);

    // Loading another picture keeps both panels.
    load_picture(coordinate_picture(50, 40), "other.bmp");
    EXPECT_TRUE(chart == saved);
}

TEST_F(AnalysisButton, AnEmptyPictureGetsTheFrameAndNoBar)
{
    ANALY(original_slot);  // nothing loaded: the original picture is 0 x 0
    const Picture& chart = state().analysis_picture;
    EXPECT_EQ(chart.at(4, 100), draw::palette_colour(0));    // left side of the frame
    EXPECT_EQ(chart.at(100, 320), draw::palette_colour(0));  // its base
    EXPECT_EQ(chart.at(451, 214), draw::palette_colour(1));  // the axes meet, no dot there
    EXPECT_EQ(std::count(chart.pixels().begin(), chart.pixels().end(), draw::palette_colour(9)), 0);
}

}  // namespace
}  // namespace korven::test
