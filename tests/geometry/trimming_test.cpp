// The trimming box: its outline at every zoom and in every line colour, and
// cutting the adjusted picture down to it.
#include <gtest/gtest.h>

#include <array>

#include "platform/draw.h"
#include "tests/display/picture_files.h"

namespace korven::test {
namespace {

using TrimmingBox = DisplayTest;
using Trimming = DisplayTest;

Colour drawn(int x, int y) { return fe::testing::canvas_pixel(ui().FORM2, x, y); }

Picture crop(const Picture& picture, int left, int top, int width, int height)
{
    Picture part(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) part.at(x, y) = picture.at(left + x, top + y);
    return part;
}

void type_box(const char* x, const char* y, const char* width, const char* height)
{
    retype("EDIT4", x);
    retype("EDIT5", y);
    retype("EDIT6", width);
    retype("EDIT7", height);
}

TEST_F(TrimmingBox, OutlineEnclosesTheBoxAtEveryZoomAndFollowsTheFields)
{
    const Picture picture = coordinate_picture(1000, 800);
    load_picture(picture);
    const Colour black = draw::palette_colour(0);
    click("CHECK1");
    EXPECT_EQ(state().trim_box_on, 1);
    EXPECT_EQ(drawn(113, 113), black);
    EXPECT_EQ(drawn(178, 178), black);

    // Enlarged by 4 around picture point (135, 100): view_left 90, view_top 55.
    click("CHECK2");
    fe::testing::click_at(ui().FORM2, 14 + 135, 14 + 100);
    ASSERT_EQ(state().view_left, 90);
    ASSERT_EQ(state().view_top, 55);
    EXPECT_EQ(drawn(53, 250), black);
    EXPECT_EQ(drawn(310, 250), black);
    EXPECT_EQ(column_of(drawn(54, 250)), 100);
    EXPECT_EQ(column_of(drawn(309, 250)), 163);

    // Reduced by 2 at view_left 0.
    click("CHECK2");
    click("CHECK7");
    ASSERT_EQ(state().view_left, 0);
    EXPECT_EQ(drawn(63, 70), black);
    EXPECT_EQ(drawn(96, 70), black);
    // Typing moves the outline at once; the repaint covers the old one.
    retype("EDIT4", "120");
    EXPECT_EQ(drawn(73, 70), black);
    EXPECT_NE(drawn(63, 70), black);
    EXPECT_EQ(state().pictures[adjusted_slot], picture);  // the outline is only on the window
}

TEST_F(TrimmingBox, LineColorStepsThroughFiveColoursOnlyWhileTheBoxIsShown)
{
    load_picture(coordinate_picture(300, 200));
    click("BUTTON15");  // box not shown yet: no change
    EXPECT_EQ(state().line_color, 0);
    click("CHECK1");
    for (int colour : {3, 5, 9, 15, 0}) {
        click("BUTTON15");
        EXPECT_EQ(state().line_color, colour);
        EXPECT_EQ(drawn(113, 150), draw::palette_colour(colour)) << colour;
    }
    click("BUTTON9");  // another picture shown: the box is off and no colour changes
    click("BUTTON15");
    EXPECT_EQ(state().line_color, 0);
}

TEST_F(Trimming, CutsTheAdjustedPictureToTheBoxAndShrinksTheWindow)
{
    const Picture picture = coordinate_picture(640, 480);
    load_picture(picture);
    click("CHECK1");
    type_box("0", "0", "100", "100");
    click("BUTTON11");
    const State& s = state();
    EXPECT_EQ(s.pictures[adjusted_slot], crop(picture, 0, 0, 100, 100));
    EXPECT_EQ(s.picture_width[adjusted_slot], 100);
    EXPECT_EQ(fe::get_width(ui().FORM2), 122);
    EXPECT_EQ(fe::get_height(ui().FORM2), 148);
    EXPECT_FALSE(checked("CHECK1"));
    EXPECT_EQ(text("TEXT18"), "Adjasted>Size:(100,100)");
    EXPECT_EQ(s.pictures[original_slot], picture);
    EXPECT_EQ(column_of(drawn(113, 113)), 99);  // shown at once, without the outline
}

TEST_F(Trimming, BoxMustFitAndHavePixelsAndALargeBoxKeepsTheWindow)
{
    const Picture picture = coordinate_picture(640, 480);
    load_picture(picture);
    click("CHECK1");
    // One past the right or bottom edge, or no pixels: nothing at all happens.
    for (const auto& box : {std::array{"600", "0", "41", "10"}, {"0", "471", "10", "10"}, {"10", "10", "0", "10"},
                            {"10", "10", "10", "0"}}) {
        type_box(box[0], box[1], box[2], box[3]);
        const LoadState typed = load_state();
        click("BUTTON11");
        EXPECT_EQ(load_state(), typed) << box[0] << "," << box[1] << "," << box[2] << "," << box[3];
    }

    // Ending exactly at the right edge; larger than the view, so the window stays.
    type_box("240", "50", "400", "400");
    click("BUTTON11");
    EXPECT_EQ(state().pictures[adjusted_slot], crop(picture, 240, 50, 400, 400));
    EXPECT_EQ(fe::get_width(ui().FORM2), 382);
    EXPECT_EQ(fe::get_height(ui().FORM2), 408);
    EXPECT_TRUE(enabled("HSCROLL1"));

    // Without the box shown, "Trimming" does nothing.
    type_box("0", "0", "10", "10");
    click("BUTTON11");
    EXPECT_EQ(state().picture_width[adjusted_slot], 400);
}

}  // namespace
}  // namespace korven::test
