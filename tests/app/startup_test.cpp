// What a person sees right after start, checked on the live widgets.
#include <gtest/gtest.h>

#include <string>

#include "app/layouts.h"
#include "app/startup.h"
#include "platform/draw.h"
#include "tests/support/driver.h"

namespace korven::test {
namespace {

using StartUp = ProgramTest;

TEST_F(StartUp, CurveIsTheIdentityInFieldsAndSliders)
{
    for (int k = 0; k < curve_points; ++k) {
        const int value = k == 32 ? 255 : 8 * k;
        EXPECT_EQ(fe::get_window_text(ui().curve_fields[k]), std::to_string(value)) << k;
        EXPECT_EQ(fe::get_scroll_pos(ui().curve_sliders[k]), 255 - value) << k;
    }
    EXPECT_EQ(text("EDIT10"), "0");
    EXPECT_EQ(text("EDIT42"), "255");
    EXPECT_EQ(slider("VSCROLL2"), 255);
    EXPECT_EQ(slider("VSCROLL34"), 0);
}

TEST_F(StartUp, PictureWindowIsHiddenWithBothBarsDisabledAtZero)
{
    EXPECT_FALSE(fe::is_window_visible(ui().FORM2));
    EXPECT_TRUE(fe::is_window_visible(ui().MAINFORM));
    for (const char* bar : {"HSCROLL1", "VSCROLL1"}) {
        EXPECT_FALSE(enabled(bar)) << bar;
        EXPECT_EQ(slider(bar), 0) << bar;
    }
    EXPECT_EQ(caption(ui().FORM2), "KORVEN-Picture");
    EXPECT_EQ(caption(ui().MAINFORM), "KORVEN");
}

TEST_F(StartUp, GlobalStateHasItsStartValues)
{
    const State& s = state();
    EXPECT_EQ(s.picture_width[2], 640);
    EXPECT_EQ(s.picture_height[2], 648);
    EXPECT_EQ(s.analysis_picture.width(), 640);
    EXPECT_EQ(s.analysis_picture.height(), 648);
    EXPECT_TRUE(s.pictures[original_slot].empty());
    EXPECT_EQ(s.picture_width[0] + s.picture_height[1] + s.shown_width + s.shown_height, 0);
    EXPECT_EQ(s.view_width, 360);
    EXPECT_EQ(s.view_height, 360);
    EXPECT_EQ(s.picture_window_width, 382);
    EXPECT_EQ(s.zoom_in_factor, 1);
    EXPECT_EQ(s.zoom_out_divisor, 1);
    EXPECT_FLOAT_EQ(s.chroma_matrix[0][0], 0.47140452f);
    EXPECT_FLOAT_EQ(s.chroma_matrix[0][1], -0.23570226f);
    EXPECT_FLOAT_EQ(s.chroma_matrix[1][2], -0.40824829f);
    EXPECT_EQ(s.chroma_matrix[2][1], 0.33333334f);
}

TEST_F(StartUp, LabelsAndChecksShowTheirLayoutState)
{
    EXPECT_EQ(text("TEXT1"), "Size:(0000,0000)");
    EXPECT_EQ(text("TEXT9"), "(X,Y)=(0000,0000)");
    EXPECT_EQ(text("TEXT18"), "Adjasted>Size:(0000,0000)");
    EXPECT_EQ(text("CHECK7"), "out  1/");
    EXPECT_TRUE(fe::testing::is_radio_checked(control("RADIO1")));
    EXPECT_FALSE(fe::testing::is_radio_checked(control("RADIO2")));
    EXPECT_TRUE(checked("CHECK4"));
    EXPECT_FALSE(checked("CHECK2"));
    EXPECT_EQ(text("EDIT8"), "4");
    EXPECT_EQ(text("EDIT44"), "2");
}

TEST_F(StartUp, ControlsStandWhereTheLayoutPutsThem)
{
    using Rect = fe::testing::Rect;
    EXPECT_EQ(fe::testing::geometry(control("BUTTON2")), (Rect{9, 60, 52, 23}));
    EXPECT_EQ(fe::testing::geometry(control("EDIT1")), (Rect{112, 9, 349, 26}));
    EXPECT_EQ(fe::testing::geometry(control("BUTTON1")), (Rect{517, 189, 65, 25}));
    EXPECT_EQ(fe::testing::geometry(control("VSCROLL2")), (Rect{9, 233, 17, 197}));
    EXPECT_EQ(fe::testing::geometry(control("VSCROLL34")), (Rect{560, 233, 17, 197}));
    EXPECT_EQ(fe::testing::geometry(control("EDIT10")), (Rect{0, 431, 34, 23}));
    EXPECT_EQ(fe::testing::geometry(control("EDIT11")), (Rect{17, 457, 34, 23}));
    EXPECT_EQ(fe::testing::geometry(control("EDIT42")), (Rect{551, 431, 34, 23}));
    EXPECT_EQ(fe::testing::geometry(control("HSCROLL1")), (Rect{14, 0, 360, 14}));
    EXPECT_EQ(fe::testing::geometry(control("VSCROLL1")), (Rect{0, 14, 14, 360}));
    EXPECT_EQ(fe::testing::slider_maximum(control("VSCROLL20")), 255);
    EXPECT_EQ(fe::testing::slider_maximum(control("HSCROLL1")), 10000);
}

TEST_F(StartUp, EveryCaptionFitsItsControl)
{
    for (const fe::ControlLayout& layout : main_form_layout().controls)
        EXPECT_TRUE(fe::testing::caption_fits(control(layout.name))) << layout.name << " \"" << layout.text << '"';
}

TEST_F(StartUp, WindowsHaveTheirSizesAndFrames)
{
    const auto main = fe::testing::window_geometry(ui().MAINFORM);
    EXPECT_EQ(main.width, 593);
    EXPECT_EQ(main.height, 522);
    EXPECT_GE(main.y, 0);  // the layout's -7 is moved onto the screen
    EXPECT_FALSE(fe::testing::is_resizable(ui().MAINFORM));
    EXPECT_TRUE(fe::testing::accepts_drops(ui().MAINFORM));
    EXPECT_EQ(fe::get_width(ui().FORM2), 382);
    EXPECT_EQ(fe::get_height(ui().FORM2), 408);
    EXPECT_TRUE(fe::testing::is_resizable(ui().FORM2));
    EXPECT_FALSE(fe::testing::has_close_button(ui().FORM2));
}

TEST_F(StartUp, FieldsRefuseWhatTheirRulesForbid)
{
    for (const char* name : {"EDIT10", "EDIT4", "EDIT7", "EDIT8", "EDIT44"}) {
        const std::string before = text(name);
        type(name, "x");
        EXPECT_EQ(text(name), before) << name;
    }
    retype("EDIT20", "123");
    type("EDIT20", "4");
    EXPECT_EQ(text("EDIT20"), "123");
    retype("EDIT43", "-12.5e1");  // the angle field takes any text
    EXPECT_EQ(text("EDIT43"), "-12.5e1");
}

TEST_F(StartUp, AFileGivenOnTheCommandLineLoadsAsIfDropped)
{
    // A file that cannot be loaded: the usual message, and the program stays empty.
    load_at_start("/nonexistent/missing.bmp");
    fe::testing::process_events();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_NE(messages()[0].find("/nonexistent/missing.bmp"), std::string::npos) << messages()[0];
    EXPECT_FALSE(fe::is_window_visible(ui().FORM2));
    EXPECT_TRUE(state().pictures[original_slot].empty());
    EXPECT_EQ(text("EDIT1"), "");

    // The load waits for the event loop, then shows the picture like a drop.
    const std::string photo = testdata("bmpsuite/g/rgb24.bmp");
    load_at_start(photo);
    EXPECT_FALSE(fe::is_window_visible(ui().FORM2));
    fe::testing::process_events();
    EXPECT_TRUE(fe::is_window_visible(ui().FORM2));
    EXPECT_EQ(caption(ui().FORM2), "KORVEN-Adjusted/rgb24.bmp");
    EXPECT_EQ(text("EDIT1"), photo);
    EXPECT_EQ(messages().size(), 1u);
}

TEST_F(StartUp, ControlsWithoutHandlersDoNothing)
{
    for (const char* name : {"BUTTON7", "BUTTON9", "BUTTON11", "BUTTON13", "BUTTON14", "BUTTON15", "RADIO3"})
        click(name);
    EXPECT_FALSE(fe::is_window_visible(ui().FORM2));
    EXPECT_TRUE(messages().empty());
}

}  // namespace
}  // namespace korven::test
