// The readout of the picture pixel under the mouse pointer, at every zoom.
#include <gtest/gtest.h>

#include <string>

#include "tests/display/picture_files.h"

namespace korven::test {
namespace {

using CursorReadout = DisplayTest;

std::string readout_at(int x, int y)
{
    fe::testing::move_mouse(ui().FORM2, x, y);
    return text("TEXT9");
}

TEST_F(CursorReadout, BeforeAnyLoadEveryPointIsOutside)
{
    EXPECT_EQ(readout_at(14, 14), "(X,Y)=(----,----)");
    EXPECT_EQ(readout_at(200, 100), "(X,Y)=(----,----)");
}

TEST_F(CursorReadout, OneToOneReadsThePixelUnderThePointer)
{
    load_picture(coordinate_picture(1000, 800));
    EXPECT_EQ(readout_at(14, 14), "(X,Y)=(   0,   0)");
    EXPECT_EQ(readout_at(19, 137), "(X,Y)=(   5, 123)");
    // Over the scroll bars (the pointer reaches the bar controls first) at the
    // picture's top-left corner: outside.
    EXPECT_EQ(readout_at(13, 20), "(X,Y)=(----,   6)");
    EXPECT_EQ(readout_at(20, 0), "(X,Y)=(   6,----)");
    // Scrolled away from the corner: the columns and rows just before the view.
    move_slider("HSCROLL1", 100);
    move_slider("VSCROLL1", 1);
    EXPECT_EQ(readout_at(13, 13), "(X,Y)=(  99,   0)");
    EXPECT_EQ(readout_at(373, 14), "(X,Y)=( 459,   1)");
}

TEST_F(CursorReadout, BeyondThePicturesEdgeInAWiderWindow)
{
    load_picture(coordinate_picture(300, 200));
    fe::testing::resize_by_user(ui().FORM2, 500, 400);
    EXPECT_EQ(readout_at(313, 213), "(X,Y)=( 299, 199)");
    EXPECT_EQ(readout_at(314, 100), "(X,Y)=(----,  86)");
    EXPECT_EQ(readout_at(100, 214), "(X,Y)=(  86,----)");
}

TEST_F(CursorReadout, EnlargedEachBlockOfWindowPixelsReadsOnePicturePixel)
{
    load_picture(coordinate_picture(1000, 800));
    State& s = state();  // enlarged by 4 at column 100, as a click on the picture leaves it
    s.zoom_in_factor = 4;
    s.view_left = 100;
    for (int x = 14; x <= 17; ++x) EXPECT_EQ(readout_at(x, 14), "(X,Y)=( 100,   0)") << x;
    EXPECT_EQ(readout_at(18, 14), "(X,Y)=( 101,   0)");
    EXPECT_EQ(readout_at(13, 22), "(X,Y)=(  99,   2)");
}

TEST_F(CursorReadout, ReducedEachWindowPixelStandsForSeveralPicturePixels)
{
    load_picture(coordinate_picture(1000, 800));
    click("CHECK7");  // out 1/2
    ASSERT_EQ(state().zoom_out_divisor, 2);
    ASSERT_EQ(state().view_left, 0);
    EXPECT_EQ(readout_at(15, 14), "(X,Y)=(   2,   0)");
    EXPECT_EQ(readout_at(513, 413), "(X,Y)=( 998, 798)");
    EXPECT_EQ(readout_at(514, 414), "(X,Y)=(----,----)");
}

TEST_F(CursorReadout, LargeColumnsKeepTheirLastFourDigitsAndFarPointsStayOutside)
{
    load_picture(coordinate_picture(20000, 2));
    move_slider("HSCROLL1", 12345);
    EXPECT_EQ(readout_at(14, 15), "(X,Y)=(2345,   1)");
    EXPECT_EQ(readout_at(9669, 14), "(X,Y)=(----,   0)");  // column 22000
    // 350 window pixels at 1/200 are 70000 columns: beyond any 16-bit column,
    // not wrapped round into the picture.
    state().view_left = 0;
    state().zoom_out_divisor = 200;
    EXPECT_EQ(readout_at(364, 14), "(X,Y)=(----,   0)");
}

}  // namespace
}  // namespace korven::test
