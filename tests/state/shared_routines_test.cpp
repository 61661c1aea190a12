// INICHNG and NMCUT, the two routines every picture-changing handler shares.
#include <gtest/gtest.h>

#include "tests/support/driver.h"

namespace korven::test {
namespace {

using SharedRoutines = ProgramTest;

void show(int width, int height)
{
    state().shown_width = static_cast<std::int16_t>(width);
    state().shown_height = static_cast<std::int16_t>(height);
}

TEST_F(SharedRoutines, SmallPictureLeavesBothBarsDisabledAtTheCorner)
{
    show(300, 200);
    state().view_left = 50;
    INICHNG(1, 2);
    EXPECT_EQ(state().view_left, 0);
    EXPECT_EQ(state().view_top, 0);
    EXPECT_FALSE(enabled("HSCROLL1"));
    EXPECT_FALSE(enabled("VSCROLL1"));
}

TEST_F(SharedRoutines, OffsetBeyondTheEndIsClampedAndTheRangeSet)
{
    show(1000, 800);
    state().view_left = 900;
    state().view_top = 30;
    INICHNG(0, 0);
    EXPECT_EQ(state().view_left, 640);
    EXPECT_EQ(state().view_top, 30);
    EXPECT_TRUE(enabled("HSCROLL1"));
    EXPECT_EQ(fe::testing::slider_maximum(control("HSCROLL1")), 640);
    EXPECT_EQ(fe::testing::slider_maximum(control("VSCROLL1")), 440);
    EXPECT_EQ(slider("HSCROLL1"), 640);
    EXPECT_EQ(slider("VSCROLL1"), 30);
}

TEST_F(SharedRoutines, ZoomResetsKeepOrHomeTheOffsets)
{
    show(2000, 2000);
    State& s = state();
    s.zoom_out_on = 1;
    s.zoom_out_divisor = 2;
    fe::set_check(ui().CHECK7, 1);
    fe::enable_window(ui().EDIT44, false);
    fe::set_check(ui().CHECK1, 1);
    s.trim_box_on = 1;
    s.view_left = 100;
    s.view_top = 1900;

    INICHNG(0, 0);  // keeps the zoom: the view is 720 wide
    EXPECT_EQ(s.view_width, 720);
    EXPECT_EQ(s.view_top, 1280);
    EXPECT_EQ(s.trim_box_on, 1);

    INICHNG(1, 1);  // zoom off, offsets kept but clamped
    EXPECT_EQ(s.zoom_out_divisor, 1);
    EXPECT_EQ(s.zoom_out_on, 0);
    EXPECT_FALSE(checked("CHECK7"));
    EXPECT_TRUE(enabled("EDIT44"));
    EXPECT_FALSE(checked("CHECK1"));
    EXPECT_EQ(s.trim_box_on, 0);
    EXPECT_EQ(s.view_width, 360);
    EXPECT_EQ(s.view_left, 100);
    EXPECT_EQ(s.view_top, 1280);

    INICHNG(0, 2);
    EXPECT_EQ(s.view_left, 0);
    EXPECT_EQ(s.view_top, 0);
}

TEST_F(SharedRoutines, ViewSizeRoundsDownAfterDividingByTheEnlargement)
{
    show(5000, 5000);
    state().zoom_in_factor = 3;
    state().picture_window_width = 383;  // 361 / 3 = 120.33
    INICHNG(0, 0);
    EXPECT_EQ(state().view_width, 120);
    EXPECT_EQ(state().view_height, 120);
}

TEST(FileTitle, CutsAtTheLastSeparator)
{
    EXPECT_EQ(NMCUT("C:\\images\\cat.bmp"), "cat.bmp");
    EXPECT_EQ(NMCUT("/home/me/photos/dog.bmp"), "dog.bmp");
    EXPECT_EQ(NMCUT("/home/me\\odd/mixed.bmp"), "mixed.bmp");
    EXPECT_EQ(NMCUT("plain.bmp"), "plain.bmp");
    EXPECT_EQ(NMCUT("C:\\images\\"), "");
    EXPECT_EQ(NMCUT(""), "");
}

}  // namespace
}  // namespace korven::test
