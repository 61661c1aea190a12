// Clicks on the picture, delivered as real pointer clicks: colour readout and
// coordinate copy, measuring, and the two zoom clicks.
#include <gtest/gtest.h>

#include <string>

#include "geometry/click_texts.h"
#include "tests/display/picture_files.h"

namespace korven::test {
namespace {

using PictureClicks = DisplayTest;

void click_picture(int x, int y) { fe::testing::click_at(ui().FORM2, x, y); }
std::string clipboard() { return fe::testing::clipboard_text(); }

TEST_F(PictureClicks, PlainClickShowsTheColourAndCopiesTheCoordinatesWhenAsked)
{
    Picture picture = coordinate_picture(640, 480);
    picture.at(5, 6) = rgb(0, 128, 255);
    load_picture(picture);
    fb::set_cb_text("before");
    click_picture(14 + 5, 14 + 6);
    EXPECT_EQ(text("TEXT16"), std::string(26, ' ') + "(RGB)=(  0,128,255)");
    EXPECT_EQ(clipboard(), "before");  // "Copy the Coordinate" is clear

    click("CHECK3");
    click_picture(14, 14);
    EXPECT_EQ(clipboard(), "   0,   0");
    EXPECT_EQ(text("TEXT16"), colour_readout_text(picture.at(0, 0)));
    click_picture(13, 14);  // over the vertical bar: column -1
    EXPECT_EQ(clipboard(), "----,   0");
    EXPECT_EQ(text("TEXT16"), colour_readout_text(picture.at(0, 0)));  // no readout outside

    load_picture(coordinate_picture(20000, 2), "wide.bmp");
    move_slider("HSCROLL1", 12345);
    click_picture(14, 15);
    EXPECT_EQ(clipboard(), "2345,   1");
}

TEST_F(PictureClicks, MeasuringTakesTwoClicksAndCountsPointsOverTheBars)
{
    load_picture(coordinate_picture(640, 480));
    click("CHECK5");
    EXPECT_EQ(state().measure_on, 1);
    click_picture(14 + 10, 14 + 10);
    EXPECT_EQ(text("TEXT16"), "from(  +10,  +10)");
    EXPECT_EQ(clipboard(), "from(  +10,  +10)");
    EXPECT_EQ(state().measure_on, 2);
    click_picture(14 + 13, 14 + 14);
    EXPECT_EQ(text("TEXT16"), "(   +3,   +4)[5,+53.1301degree]");
    EXPECT_EQ(clipboard(), text("TEXT16"));
    EXPECT_FALSE(checked("CHECK5"));
    EXPECT_EQ(state().measure_on, 0);

    click("CHECK5");
    click_picture(13, 20);  // on the vertical scroll bar
    EXPECT_EQ(clipboard(), "from(   -1,   +6)");
    click("CHECK5");  // cleared by the user: measuring stops
    click_picture(14 + 1, 14 + 1);
    EXPECT_EQ(text("TEXT16"), colour_readout_text(rgb(1, 1, 0)));  // pixel (1, 1)
}

TEST_F(PictureClicks, ClickedPointFollowsTheZoom)
{
    const Picture picture = coordinate_picture(1000, 800);
    load_picture(picture);
    click("CHECK3");
    // "in x" 4 with "Measure" checked: the first click zooms and leaves measuring armed.
    click("CHECK2");
    click("CHECK5");
    click_picture(14 + 135, 14 + 100);
    const State& s = state();
    EXPECT_EQ(s.zoom_in_factor, 4);
    EXPECT_EQ(s.view_left, 90);
    EXPECT_EQ(s.view_top, 55);
    EXPECT_EQ(s.measure_on, 1);
    EXPECT_EQ(column_of(fe::testing::canvas_pixel(ui().FORM2, 14, 14)), 90);
    click_picture(21, 14);  // INT(7 / 4) + 90
    EXPECT_EQ(text("TEXT16"), "from(  +91,  +55)");
    click("CHECK5");

    // Reduced by 2 at view_left 0: x = 21 is column 14.
    click("CHECK2");
    click("CHECK7");
    ASSERT_EQ(s.view_left, 0);
    click_picture(21, 14);
    EXPECT_EQ(clipboard(), "  14,   0");

    // "out 1/" cleared: the next click ends the reduction around picture point (200, 100).
    click("CHECK7");
    click_picture(14 + 100, 14 + 50);
    EXPECT_EQ(s.zoom_out_divisor, 1);
    EXPECT_EQ(s.view_width, 360);
    EXPECT_EQ(s.view_left, 20);
    EXPECT_EQ(s.view_top, 0);
    EXPECT_TRUE(enabled("EDIT44"));
    EXPECT_EQ(slider("HSCROLL1"), 20);
}

TEST_F(PictureClicks, ZoomInClickEndsAPendingReductionFirst)
{
    load_picture(coordinate_picture(1000, 800));
    click("CHECK7");
    click("CHECK7");  // reduction still shown, awaiting its ending click
    click("CHECK2");
    click_picture(14 + 100, 14 + 50);  // picture point (200, 100) at 1/2
    const State& s = state();
    EXPECT_EQ(s.zoom_in_factor, 4);
    EXPECT_EQ(s.zoom_out_divisor, 1);
    EXPECT_TRUE(enabled("EDIT44"));
    EXPECT_EQ(s.view_left, 155);
    EXPECT_EQ(s.view_top, 55);
    // What is drawn, the readout and the next click all agree on the scale.
    EXPECT_EQ(column_of(fe::testing::canvas_pixel(ui().FORM2, 18, 14)), 156);
    fe::testing::move_mouse(ui().FORM2, 18, 14);
    EXPECT_EQ(text("TEXT9"), "(X,Y)=( 156,  55)");
}

}  // namespace
}  // namespace korven::test
