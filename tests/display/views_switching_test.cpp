// "Switch", "back to Original" and "Change Original": which picture the
// window shows, what each one copies, and how the view follows.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "display/picture_window.h"
#include "tests/display/picture_files.h"

namespace korven::test {
namespace {

using Switching = DisplayTest;

// The adjusted picture replaced by one of another size, shown from its
// top-left corner: what trimming or resizing leaves behind.
void replace_adjusted_picture(const Picture& picture)
{
    State& s = state();
    put_picture(adjusted_slot, picture);
    s.picture_width[adjusted_slot] = s.shown_width = static_cast<std::int16_t>(picture.width());
    s.picture_height[adjusted_slot] = s.shown_height = static_cast<std::int16_t>(picture.height());
    s.shown_picture = adjusted_slot;
    fe::set_window_text(ui().TEXT18, "Adjasted>Size:(" + std::to_string(picture.width()) + "," +
                                         std::to_string(picture.height()) + ")");
    INICHNG(1, 2);
    DRAW2();
}

Picture filled_picture(int width, int height, Colour colour)
{
    Picture picture(width, height);
    std::fill(picture.pixels().begin(), picture.pixels().end(), colour);
    return picture;
}

Colour drawn_at_view_corner() { return fe::testing::canvas_pixel(ui().FORM2, 14, 14); }

TEST_F(Switching, SwitchStepsThroughAnalysisOriginalAndAdjustedKeepingTheWindowSize)
{
    load_picture(coordinate_picture(1000, 800), "photo.bmp");
    State& s = state();
    mark_pixel(adjusted_slot, 600, 440, rgb(1, 2, 3));  // tells the adjusted picture apart
    s.analysis_picture.at(280, 288) = rgb(7, 8, 9);
    move_slider("HSCROLL1", 600);
    move_slider("VSCROLL1", 440);
    fe::set_check(control("CHECK1"), 1);
    s.trim_box_on = 1;

    click("BUTTON9");
    EXPECT_EQ(caption(ui().FORM2), "KORVEN-Analysis/photo.bmp");
    EXPECT_EQ(s.shown_picture, analysis_slot);
    EXPECT_EQ(s.shown_width, 640);
    EXPECT_EQ(s.shown_height, 648);
    // Offsets beyond the smaller picture's range are pulled back to its end.
    EXPECT_EQ(s.view_left, 280);
    EXPECT_EQ(s.view_top, 288);
    EXPECT_EQ(fe::testing::slider_maximum(control("HSCROLL1")), 280);
    EXPECT_EQ(fe::testing::slider_maximum(control("VSCROLL1")), 288);
    EXPECT_EQ(drawn_at_view_corner(), rgb(7, 8, 9));
    EXPECT_FALSE(checked("CHECK1"));
    EXPECT_EQ(s.trim_box_on, 0);

    click("BUTTON9");
    EXPECT_EQ(caption(ui().FORM2), "KORVEN-Original/photo.bmp");
    EXPECT_EQ(s.shown_picture, original_slot);
    EXPECT_EQ(s.shown_width, 1000);
    EXPECT_EQ(s.shown_height, 800);
    EXPECT_EQ(s.view_left, 280);  // inside the larger picture: kept
    EXPECT_EQ(fe::testing::slider_maximum(control("HSCROLL1")), 640);
    EXPECT_EQ(fe::testing::slider_maximum(control("VSCROLL1")), 440);
    EXPECT_EQ(drawn_at_view_corner(), coordinate_picture(1000, 800).at(280, 288));

    move_slider("HSCROLL1", 600);
    move_slider("VSCROLL1", 440);
    click("BUTTON9");
    EXPECT_EQ(caption(ui().FORM2), "KORVEN-Adjusted/photo.bmp");
    EXPECT_EQ(s.shown_picture, adjusted_slot);
    EXPECT_EQ(drawn_at_view_corner(), rgb(1, 2, 3));

    EXPECT_EQ(fe::get_width(ui().FORM2), 382);
    EXPECT_EQ(fe::get_height(ui().FORM2), 408);
}

TEST_F(Switching, SwitchKeepsTheZoom)
{
    load_picture(coordinate_picture(1000, 800));
    click("CHECK7");  // out 1/2
    ASSERT_EQ(state().zoom_out_divisor, 2);
    click("BUTTON9");
    EXPECT_TRUE(checked("CHECK7"));
    EXPECT_EQ(state().zoom_out_divisor, 2);
    EXPECT_EQ(state().view_width, 720);
}

TEST_F(Switching, BackToOriginalAfterAResizeResetsTheViewAndRestoresTheSize)
{
    const Picture original = coordinate_picture(640, 480);
    load_picture(original, "photo.bmp");
    replace_adjusted_picture(filled_picture(200, 150, rgb(9, 9, 9)));
    click("BUTTON9");
    click("BUTTON9");  // the original, which can be scrolled
    move_slider("HSCROLL1", 100);
    move_slider("VSCROLL1", 50);
    click("CHECK2");  // an armed enlargement
    ASSERT_FALSE(enabled("EDIT8"));

    click("BUTTON8");
    const State& s = state();
    EXPECT_EQ(s.view_left, 0);
    EXPECT_EQ(s.view_top, 0);
    EXPECT_EQ(s.pictures.shared(adjusted_slot), s.pictures.shared(original_slot));  // one picture serves both
    EXPECT_EQ(s.pictures[adjusted_slot], original);
    EXPECT_EQ(s.picture_width[adjusted_slot], 640);
    EXPECT_EQ(s.picture_height[adjusted_slot], 480);
    EXPECT_EQ(s.shown_width, 640);
    EXPECT_EQ(s.shown_height, 480);
    EXPECT_EQ(s.shown_picture, adjusted_slot);
    EXPECT_EQ(text("TEXT18"), "Adjasted>Size:(640,480)");
    EXPECT_EQ(caption(ui().FORM2), "KORVEN-Adjusted/photo.bmp");
    EXPECT_FALSE(checked("CHECK2"));  // the zoom ends
    EXPECT_TRUE(enabled("EDIT8"));
    EXPECT_EQ(drawn_at_view_corner(), original.at(0, 0));
}

TEST_F(Switching, BackToOriginalAtTheSameSizeKeepsTheScrollOffsets)
{
    const Picture original = coordinate_picture(1000, 800);
    load_picture(original);
    mark_pixel(adjusted_slot, 100, 50, rgb(1, 2, 3));
    move_slider("HSCROLL1", 100);
    move_slider("VSCROLL1", 50);
    click("BUTTON8");
    EXPECT_EQ(state().view_left, 100);
    EXPECT_EQ(state().view_top, 50);
    EXPECT_EQ(state().pictures[adjusted_slot], original);
    EXPECT_EQ(drawn_at_view_corner(), original.at(100, 50));
}

TEST_F(Switching, ChangeOriginalPromotesTheAdjustedPictureAndShrinksTheWindow)
{
    load_picture(coordinate_picture(640, 480), "photo.bmp");
    const Picture trimmed = coordinate_picture(100, 80);
    replace_adjusted_picture(trimmed);
    ASSERT_EQ(fe::get_width(ui().FORM2), 382);
    ASSERT_EQ(fe::get_height(ui().FORM2), 408);

    click("BUTTON12");
    const State& s = state();
    EXPECT_EQ(text("TEXT1"), "Size:(100,80)");
    EXPECT_EQ(text("EDIT1"), "(Changed)");
    EXPECT_EQ(s.pictures[original_slot], trimmed);
    EXPECT_EQ(s.pictures.shared(adjusted_slot), s.pictures.shared(original_slot));
    for (int slot : {original_slot, adjusted_slot}) {
        EXPECT_EQ(s.picture_width[slot], 100);
        EXPECT_EQ(s.picture_height[slot], 80);
    }
    EXPECT_EQ(fe::get_width(ui().FORM2), 122);
    EXPECT_EQ(fe::get_height(ui().FORM2), 128);
    EXPECT_EQ(s.view_width, 100);
    EXPECT_EQ(s.view_height, 80);
    // The caption still names the file last loaded.
    EXPECT_EQ(caption(ui().FORM2), "KORVEN-Adjusted/photo.bmp");
    EXPECT_EQ(s.file_title, "photo.bmp");

    // A DRAW makes a new adjusted picture and leaves the new original alone.
    move_slider("VSCROLL20", 10);
    click("BUTTON1");
    EXPECT_NE(s.pictures[adjusted_slot], trimmed);
    EXPECT_EQ(s.pictures[original_slot], trimmed);
}

TEST_F(Switching, NothingHappensBeforeTheFirstLoad)
{
    const std::string size_label = text("TEXT1");
    const std::string name_field = text("EDIT1");
    for (const char* button : {"BUTTON9", "BUTTON8", "BUTTON12"}) {
        click(button);
        EXPECT_FALSE(fe::is_window_visible(ui().FORM2)) << button;
        EXPECT_EQ(fe::get_width(ui().FORM2), 382) << button;
        EXPECT_EQ(fe::get_height(ui().FORM2), 408) << button;
        EXPECT_EQ(state().shown_picture, original_slot) << button;
        EXPECT_TRUE(state().pictures[original_slot].empty()) << button;
        EXPECT_EQ(text("TEXT1"), size_label) << button;
        EXPECT_EQ(text("EDIT1"), name_field) << button;
    }
    // The first load then shows a small picture at its own size.
    load_picture(coordinate_picture(100, 50));
    EXPECT_EQ(fe::get_width(ui().FORM2), 122);
    EXPECT_EQ(fe::get_height(ui().FORM2), 98);
}

}  // namespace
}  // namespace korven::test
