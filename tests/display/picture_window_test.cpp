// The picture window: how loading fits it, the redraw, scrolling, resizing
// and the two zoom boxes, used through the real controls.
#include <gtest/gtest.h>

#include "display/picture_window.h"
#include "platform/draw.h"
#include "tests/display/picture_files.h"

namespace korven::test {
namespace {

using PictureWindow = DisplayTest;

Colour drawn(int x, int y) { return fe::testing::canvas_pixel(ui().FORM2, x, y); }

// The window point shows the picture pixel (column, row) of a coordinate picture.
void expect_shows(int x, int y, int column, int row)
{
    const Colour colour = drawn(x, y);
    EXPECT_EQ(column_of(colour), column) << "window point " << x << "," << y;
    EXPECT_EQ(row_of(colour), row) << "window point " << x << "," << y;
}

int outer_width() { return fe::get_width(ui().FORM2); }
int outer_height() { return fe::get_height(ui().FORM2); }
int range_of(const char* bar) { return fe::testing::slider_maximum(control(bar)); }

TEST_F(PictureWindow, SmallPictureShrinksTheWindowToFitIt)
{
    load_picture(coordinate_picture(100, 50));
    EXPECT_TRUE(fe::is_window_visible(ui().FORM2));
    EXPECT_EQ(outer_width(), 122);
    EXPECT_EQ(outer_height(), 98);
    EXPECT_EQ(state().view_width, 100);
    EXPECT_EQ(state().view_height, 50);
    EXPECT_FALSE(enabled("HSCROLL1"));
    EXPECT_FALSE(enabled("VSCROLL1"));
    expect_shows(14, 14, 0, 0);
    expect_shows(113, 63, 99, 49);
}

TEST_F(PictureWindow, LargePictureKeepsTheWindowAndEnablesBothBars)
{
    load_picture(coordinate_picture(1000, 800));
    EXPECT_EQ(outer_width(), 382);
    EXPECT_EQ(outer_height(), 408);
    EXPECT_EQ(state().view_width, 360);
    EXPECT_EQ(state().view_height, 360);
    EXPECT_TRUE(enabled("HSCROLL1"));
    EXPECT_TRUE(enabled("VSCROLL1"));
    EXPECT_EQ(range_of("HSCROLL1"), 640);
    EXPECT_EQ(range_of("VSCROLL1"), 440);
    expect_shows(14, 14, 0, 0);
    expect_shows(373, 373, 359, 359);
}

TEST_F(PictureWindow, NarrowTallPictureShrinksOnlyTheWidth)
{
    load_picture(coordinate_picture(100, 800));
    EXPECT_EQ(outer_width(), 122);
    EXPECT_EQ(outer_height(), 408);
    EXPECT_FALSE(enabled("HSCROLL1"));
    EXPECT_TRUE(enabled("VSCROLL1"));
}

TEST_F(PictureWindow, FitComparesWithTheViewOfTheZoomBeforeTheLoad)
{
    load_picture(coordinate_picture(1000, 800), "first.bmp");
    state().zoom_in_factor = 4;  // as an applied enlargement leaves it
    state().view_width = 90;
    state().view_height = 90;
    load_picture(coordinate_picture(100, 50), "second.bmp");
    EXPECT_EQ(outer_width(), 382);  // 90 is not above 100
    EXPECT_EQ(outer_height(), 98);
    EXPECT_EQ(state().zoom_in_factor, 1);
    EXPECT_EQ(state().view_width, 360);
    EXPECT_EQ(state().view_height, 50);
    expect_shows(14, 14, 0, 0);
}

TEST_F(PictureWindow, CaptionNamesTheShownPictureAndTheLastFile)
{
    // "[*]" is part of the name here, not a marker of unsaved changes.
    load_picture(coordinate_picture(20, 20), "cat[*].bmp");
    EXPECT_EQ(caption(ui().FORM2), "KORVEN-Adjusted/cat[*].bmp");
    for (auto [slot, expected] :
         {std::pair{0, "KORVEN-Original/cat[*].bmp"}, {2, "KORVEN-Analysis/cat[*].bmp"}}) {
        state().shown_picture = static_cast<std::uint8_t>(slot);
        DRAW2();
        EXPECT_EQ(caption(ui().FORM2), expected);
    }
}

TEST_F(PictureWindow, RedrawClearsWhatThePictureNoLongerCovers)
{
    load_picture(coordinate_picture(1000, 800));
    const Colour background = drawn(0, 0);  // under the bars' corner, never drawn at the top-left
    put_picture(adjusted_slot, coordinate_picture(100, 50));
    state().shown_width = 100;
    state().shown_height = 50;
    DRAW2();
    expect_shows(113, 63, 99, 49);
    EXPECT_EQ(drawn(114, 63), background);
    EXPECT_EQ(drawn(113, 64), background);
    EXPECT_FALSE(enabled("HSCROLL1"));
}

TEST_F(PictureWindow, ScrollingDrawsTheNewViewAndClearsOnlyAtTheEnd)
{
    load_picture(coordinate_picture(1000, 800));
    const Colour background = drawn(0, 0);
    const Colour beyond = drawn(500, 100);  // picture pixel (486, 86), drawn by the load

    move_slider("HSCROLL1", 600);
    EXPECT_EQ(state().view_left, 600);
    expect_shows(14, 14, 600, 0);
    EXPECT_EQ(drawn(500, 100), beyond);  // past the picture's end, not drawn and not cleared

    move_slider("HSCROLL1", 640);
    EXPECT_EQ(state().view_left, 640);
    expect_shows(373, 14, 999, 0);
    EXPECT_EQ(drawn(500, 100), background);  // at the end the window is cleared first

    move_slider("VSCROLL1", 440);
    EXPECT_EQ(state().view_top, 440);
    expect_shows(373, 373, 999, 799);
    EXPECT_EQ(state().view_left, 640);
    EXPECT_EQ(caption(ui().FORM2), "KORVEN-Adjusted/picture.bmp");
}

TEST_F(PictureWindow, EnlargingTheWindowAtOneToOneShowsWhatIsAlreadyDrawn)
{
    load_picture(coordinate_picture(1000, 800));
    // Change the picture behind the window's back: a new paint would show it.
    mark_pixel(adjusted_slot, 450, 400, rgb(1, 2, 3));

    fe::testing::resize_by_user(ui().FORM2, 582, 508);
    EXPECT_EQ(state().picture_window_width, 582);
    EXPECT_EQ(state().view_width, 560);
    EXPECT_EQ(state().view_height, 460);
    EXPECT_EQ(range_of("HSCROLL1"), 440);
    EXPECT_EQ(range_of("VSCROLL1"), 340);
    expect_shows(464, 414, 450, 400);  // uncovered now, drawn by the load's paint
}

TEST_F(PictureWindow, ResizeMovesAViewThatWouldRunPastThePicture)
{
    load_picture(coordinate_picture(1000, 800));
    move_slider("HSCROLL1", 640);
    fe::testing::resize_by_user(ui().FORM2, 582, 408);
    EXPECT_EQ(state().view_left, 440);
    EXPECT_EQ(slider("HSCROLL1"), 440);
    expect_shows(14, 14, 440, 0);

    // Wider than the picture: the view returns to 0, the bar is disabled, and
    // the picture is drawn from its first column again.
    fe::testing::resize_by_user(ui().FORM2, 1100, 408);
    EXPECT_EQ(state().view_left, 0);
    EXPECT_FALSE(enabled("HSCROLL1"));
    expect_shows(14, 14, 0, 0);
}

TEST_F(PictureWindow, ZoomedViewIsRepaintedOnEveryResize)
{
    load_picture(coordinate_picture(1000, 800));
    click("CHECK7");
    mark_pixel(adjusted_slot, 1, 1, rgb(1, 2, 3));
    fe::testing::resize_by_user(ui().FORM2, 402, 408);
    EXPECT_EQ(state().view_width, 760);
    EXPECT_EQ(drawn(14, 14), rgb(1, 2, 3));
}

TEST_F(PictureWindow, ArmedEnlargementByFourShowsNinetyPixelsAsThreeHundredSixty)
{
    load_picture(coordinate_picture(1000, 800));
    click("CHECK2");
    EXPECT_TRUE(checked("CHECK2"));
    EXPECT_FALSE(enabled("EDIT8"));
    EXPECT_EQ(state().zoom_in_on, 1);
    EXPECT_EQ(state().zoom_in_factor, 1);  // armed only

    // What a click at window point (214, 164) does once armed.
    State& s = state();
    s.zoom_in_factor = 4;
    s.view_left = 200;
    s.view_top = 150;
    s.view_width = 90;
    s.view_height = 90;
    s.view_left = 155;
    s.view_top = 105;
    DRAW2();
    expect_shows(14, 14, 155, 105);
    expect_shows(17, 17, 155, 105);
    expect_shows(18, 14, 156, 105);
    expect_shows(373, 373, 244, 194);
    EXPECT_EQ(drawn(374, 200), drawn(0, 0));

    // Clearing "in x" returns to one to one around the same centre (200, 150).
    click("CHECK2");
    EXPECT_EQ(s.zoom_in_factor, 1);
    EXPECT_EQ(s.zoom_in_on, 0);
    EXPECT_TRUE(enabled("EDIT8"));
    EXPECT_EQ(s.view_width, 360);
    EXPECT_EQ(s.view_left, 20);
    EXPECT_EQ(s.view_top, 0);
    EXPECT_EQ(slider("HSCROLL1"), 20);
    EXPECT_EQ(range_of("HSCROLL1"), 640);
    expect_shows(14, 14, 20, 0);
}

TEST_F(PictureWindow, ClearingAnArmedEnlargementOnlyFreesTheField)
{
    load_picture(coordinate_picture(1000, 800));
    click("CHECK2");
    click("CHECK2");
    EXPECT_FALSE(checked("CHECK2"));
    EXPECT_TRUE(enabled("EDIT8"));
    EXPECT_EQ(state().zoom_in_on, 0);
    EXPECT_EQ(state().view_width, 360);
}

TEST_F(PictureWindow, ReductionByTwoShowsSevenHundredTwentyPixelsAtOnce)
{
    load_picture(coordinate_picture(1000, 800));
    const Colour background = drawn(0, 0);
    click("CHECK7");
    State& s = state();
    EXPECT_TRUE(checked("CHECK7"));
    EXPECT_FALSE(enabled("EDIT44"));
    EXPECT_EQ(s.zoom_out_divisor, 2);
    EXPECT_EQ(s.view_width, 720);
    EXPECT_EQ(s.view_height, 720);
    EXPECT_EQ(range_of("HSCROLL1"), 280);
    EXPECT_EQ(range_of("VSCROLL1"), 80);
    // Each window pixel shows one of the 2 x 2 block it stands for.
    for (auto [x, y] : {std::pair{14, 14}, {100, 250}, {373, 373}}) {
        EXPECT_EQ(column_of(drawn(x, y)) / 2, x - 14) << x;
        EXPECT_EQ(row_of(drawn(x, y)) / 2, y - 14) << y;
    }
    EXPECT_EQ(drawn(374, 100), background);
    EXPECT_EQ(drawn(100, 374), background);

    // Clearing the box leaves the reduction until a click on the picture ends it.
    click("CHECK7");
    EXPECT_FALSE(checked("CHECK7"));
    EXPECT_EQ(s.zoom_out_on, 0);
    EXPECT_EQ(s.zoom_out_divisor, 2);
    EXPECT_FALSE(enabled("EDIT44"));
}

TEST_F(PictureWindow, ReductionKeepsTheCentreOfTheView)
{
    load_picture(coordinate_picture(2000, 2000));
    move_slider("HSCROLL1", 1000);
    move_slider("VSCROLL1", 45);
    click("CHECK7");
    EXPECT_EQ(state().view_left, 820);  // centre 1180, minus half of 720
    EXPECT_EQ(state().view_top, 0);     // centre 225: clamped at 0
    EXPECT_EQ(slider("HSCROLL1"), 820);
}

TEST_F(PictureWindow, TheTwoZoomBoxesExcludeEachOther)
{
    load_picture(coordinate_picture(1000, 800));
    click("CHECK7");
    click("CHECK2");
    EXPECT_FALSE(checked("CHECK2"));
    EXPECT_EQ(state().zoom_in_on, 0);
    EXPECT_TRUE(enabled("EDIT8"));

    click("CHECK7");  // reduction still on, box clear: "in x" may be armed now
    click("CHECK2");
    EXPECT_TRUE(checked("CHECK2"));
    click("CHECK7");
    EXPECT_FALSE(checked("CHECK7"));
    EXPECT_EQ(state().zoom_out_on, 0);
}

TEST_F(PictureWindow, ZoomBoxesRefuseSmallValuesWordsAndAHiddenWindow)
{
    click("CHECK2");  // no picture yet: the window is hidden
    click("CHECK7");
    EXPECT_FALSE(checked("CHECK2"));
    EXPECT_FALSE(checked("CHECK7"));

    load_picture(coordinate_picture(1000, 800));
    const LoadState before = load_state();
    for (const char* value : {"1", "", "x2", "1.9"}) {
        fe::set_window_text(control("EDIT8"), value);
        fe::set_window_text(control("EDIT44"), value);
        click("CHECK2");
        click("CHECK7");
        EXPECT_FALSE(checked("CHECK2")) << value;
        EXPECT_FALSE(checked("CHECK7")) << value;
        EXPECT_EQ(state().zoom_in_on + state().zoom_out_on, 0) << value;
        EXPECT_EQ(state().zoom_out_divisor, 1) << value;
    }
    fe::set_window_text(control("EDIT8"), "4");
    fe::set_window_text(control("EDIT44"), "2");
    EXPECT_EQ(load_state(), before);
}

TEST_F(PictureWindow, TrimmingBoxOutlineEnclosesTheBoxOverTheAdjustedPicture)
{
    load_picture(coordinate_picture(300, 200));
    state().trim_box_on = 1;  // as "Trimming Box" sets it
    DRAW2();
    const Colour black = draw::palette_colour(0);
    EXPECT_EQ(drawn(113, 113), black);
    EXPECT_EQ(drawn(178, 178), black);
    EXPECT_EQ(drawn(150, 113), black);
    expect_shows(114, 114, 100, 100);
    expect_shows(177, 177, 163, 163);

    state().shown_picture = original_slot;  // not over the original picture
    DRAW2();
    expect_shows(113, 113, 99, 99);
}

}  // namespace
}  // namespace korven::test
