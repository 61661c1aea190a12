// "Adjastment" folds the main window and back; "True Ratio" completes the
// trimming box size in the adjusted picture's proportions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/display/picture_files.h"

namespace korven::test {
namespace {

using CompactWindow = DisplayTest;
using TrueRatio = DisplayTest;

// Text, check, slider, enabled state and place of every control of the main window.
std::vector<std::string> main_window_controls()
{
    std::vector<std::string> snapshot;
    for (int i = 0; i < 200; ++i) {
        for (const char* kind : {"EDIT", "CHECK", "VSCROLL", "RADIO", "TEXT", "BUTTON"}) {
            const std::string name = kind + std::to_string(i);
            const fe::Control found = fe::get_dlg_item(ui().MAINFORM, name);
            if (!found) continue;
            const fe::testing::Rect place = fe::testing::geometry(found);
            snapshot.push_back(name + " " + fe::get_window_text(found) + " " +
                               std::to_string(fe::get_check(found)) + " " +
                               std::to_string(fe::get_scroll_pos(found)) + " " +
                               std::to_string(fe::is_window_enabled(found)) + " " +
                               std::to_string(fe::testing::is_radio_checked(found)) + " " +
                               std::to_string(place.x) + "," + std::to_string(place.y) + "," +
                               std::to_string(place.width) + "," + std::to_string(place.height));
        }
    }
    return snapshot;
}

TEST_F(CompactWindow, AdjastmentFoldsTheMainWindowAndKeepsEveryHiddenControl)
{
    ASSERT_TRUE(checked("CHECK4"));
    move_slider("VSCROLL20", 100);
    retype("EDIT4", "12");
    click("RADIO3");
    const std::vector<std::string> before = main_window_controls();
    ASSERT_GT(before.size(), 100u);

    click("CHECK4");
    EXPECT_FALSE(checked("CHECK4"));
    EXPECT_EQ(fe::get_width(ui().MAINFORM), 593);
    EXPECT_EQ(fe::get_height(ui().MAINFORM), 125);

    click("CHECK4");
    EXPECT_EQ(fe::get_width(ui().MAINFORM), 593);
    EXPECT_EQ(fe::get_height(ui().MAINFORM), 522);
    EXPECT_EQ(main_window_controls(), before);
}

TEST_F(TrueRatio, FillsTheEmptyFieldFromTheAdjustedPicturesProportions)
{
    load_picture(coordinate_picture(640, 480));
    retype("EDIT6", "100");
    clear("EDIT7");
    click("BUTTON16");
    EXPECT_EQ(text("EDIT7"), "75");
    EXPECT_EQ(text("EDIT6"), "100");

    clear("EDIT6");
    retype("EDIT7", "48");
    click("BUTTON16");
    EXPECT_EQ(text("EDIT6"), "64");
    EXPECT_EQ(text("EDIT7"), "48");

    retype("EDIT6", "2");  // 1.5 rounds away from zero
    clear("EDIT7");
    click("BUTTON16");
    EXPECT_EQ(text("EDIT7"), "2");

    // The field's four-character limit holds for typing, not for the result.
    load_picture(coordinate_picture(100, 3000));
    retype("EDIT6", "500");
    clear("EDIT7");
    click("BUTTON16");
    EXPECT_EQ(text("EDIT7"), "15000");
}

TEST_F(TrueRatio, RefusedInputsChangeNothing)
{
    load_picture(coordinate_picture(640, 480));
    const auto expect_unchanged = [](const std::string& width, const std::string& height) {
        fe::set_window_text(control("EDIT6"), width);
        fe::set_window_text(control("EDIT7"), height);
        click("BUTTON16");
        EXPECT_EQ(text("EDIT6"), width);
        EXPECT_EQ(text("EDIT7"), height);
    };
    expect_unchanged("100", "64");
    expect_unchanged("", "");
    expect_unchanged("abc", "");  // a word reads as 0
    expect_unchanged("", "0");
}

TEST_F(TrueRatio, IgnoredBeforeAnyPictureIsLoaded)
{
    retype("EDIT6", "100");
    clear("EDIT7");
    click("BUTTON16");
    EXPECT_EQ(text("EDIT7"), "");
    clear("EDIT6");
    retype("EDIT7", "48");
    click("BUTTON16");
    EXPECT_EQ(text("EDIT6"), "");
}

}  // namespace
}  // namespace korven::test
