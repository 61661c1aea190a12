// Undo and redo through their keys, over the commands that change a picture or the curve.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/display/picture_files.h"
#include "tests/support/script.h"

namespace korven::test {
namespace {

using UndoRedo = DisplayTest;

// What undo must put back: what a load may change (pictures, sizes, labels,
// view, caption, the window's drawing) and the curve.
struct Seen {
    LoadState pictures_and_view = load_state();
    std::vector<int> sliders;
    std::vector<std::string> fields;

    Seen()
    {
        for (int k = 0; k < curve_points; ++k) {
            sliders.push_back(slider("VSCROLL" + std::to_string(k + 2)));
            fields.push_back(text("EDIT" + std::to_string(k + 10)));
        }
    }
    friend bool operator==(const Seen&, const Seen&) = default;
};

TEST_F(UndoRedo, DrawAndARunOfCurveEditsAreStepsUndoneAndRedoneExactly)
{
    load_picture(coordinate_picture(300, 200));
    click("BUTTON9");
    click("BUTTON9");  // the original is shown
    const Seen loaded;

    move_slider("VSCROLL10", 100);
    move_slider("VSCROLL11", 90);
    retype("EDIT20", "200");
    const Seen curved;
    click("BUTTON1");
    const Seen drawn;
    ASSERT_NE(drawn.pictures_and_view.pictures, curved.pictures_and_view.pictures);
    const SharedPicture drawn_picture = state().pictures.shared(adjusted_slot);
    click("BUTTON1");  // the same curve and mode again: the same picture, and no step
    EXPECT_EQ(state().pictures.shared(adjusted_slot), drawn_picture);

    press("Ctrl+Z");  // DRAW
    EXPECT_TRUE(Seen() == curved);
    EXPECT_EQ(caption(ui().FORM2), "KORVEN-Original/picture.bmp");
    press("Ctrl+Y");
    EXPECT_TRUE(Seen() == drawn);
    press("Ctrl+Z");
    press("Ctrl+Z");  // the three curve edits at once
    EXPECT_TRUE(Seen() == loaded);
    press("Ctrl+Shift+Z");
    press("Ctrl+Shift+Z");
    EXPECT_TRUE(Seen() == drawn);
}

TEST_F(UndoRedo, GeometryStepsAndLoadsComeBackWithTheirWindowSizeAndFileName)
{
    load_picture(coordinate_picture(500, 400), "first.bmp");
    const Seen loaded;
    retype("EDIT43", "10");
    click("BUTTON14");  // "Rotating"
    retype("EDIT6", "300");
    retype("EDIT7", "200");
    click("BUTTON13");  // "Resizing"
    click("CHECK1");
    retype("EDIT6", "100");
    retype("EDIT7", "100");
    click("BUTTON11");  // "Trimming" to 100 x 100: the window shrinks to 122 x 148
    ASSERT_EQ(fe::get_width(ui().FORM2), 122);
    press("Ctrl+Z");
    press("Ctrl+Z");
    press("Ctrl+Z");
    EXPECT_TRUE(Seen() == loaded);
    EXPECT_EQ(fe::get_width(ui().FORM2), 382);
    for (int redo = 0; redo < 3; ++redo) press("Ctrl+Y");
    EXPECT_EQ(text("TEXT18"), "Adjasted>Size:(100,100)");

    click("BUTTON12");  // "Change Original"
    ASSERT_EQ(text("EDIT1"), "(Changed)");
    load_picture(coordinate_picture(60, 50), "second.bmp");
    const Seen second;

    press("Ctrl+Z");
    EXPECT_EQ(text("EDIT1"), "(Changed)");
    EXPECT_EQ(caption(ui().FORM2), "KORVEN-Adjusted/first.bmp");
    for (int undo = 0; undo < 4; ++undo) press("Ctrl+Z");
    EXPECT_TRUE(Seen() == loaded);

    // Undoing the first load leaves the program as it started, the picture window hidden.
    press("Ctrl+Z");
    EXPECT_FALSE(fe::is_window_visible(ui().FORM2));
    EXPECT_EQ(text("TEXT1"), "Size:(0000,0000)");
    click("BUTTON1");  // DRAW does nothing without a picture
    for (int redo = 0; redo < 6; ++redo) press("Ctrl+Y");
    EXPECT_TRUE(Seen() == second);
}

TEST_F(UndoRedo, ATypedLevelTheChangedLabelAndTheTrimmingBoxComeBackExactly)
{
    const std::string file = write_bmp("photo.bmp", coordinate_picture(300, 200));
    load(file);
    retype("EDIT20", "300");  // level 255: the slider at its end, the field as typed
    ASSERT_EQ(slider("VSCROLL12"), 0);
    click("BUTTON3");  // "Linear" rewrites the field
    ASSERT_NE(text("EDIT20"), "300");
    press("Ctrl+Z");
    EXPECT_EQ(text("EDIT20"), "300");
    EXPECT_EQ(slider("VSCROLL12"), 0);
    EXPECT_EQ(state().curve_levels[10], 255);

    click("BUTTON12");  // "Change Original"
    ASSERT_EQ(text("EDIT1"), "(Changed)");
    press("Ctrl+Z");
    EXPECT_EQ(text("EDIT1"), file);
    press("Ctrl+Y");
    EXPECT_EQ(text("EDIT1"), "(Changed)");

    click("CHECK1");  // the trimming box
    retype("EDIT6", "100");
    retype("EDIT7", "100");
    click("BUTTON11");  // "Trimming" clears the box
    ASSERT_FALSE(checked("CHECK1"));
    press("Ctrl+Z");
    EXPECT_TRUE(checked("CHECK1"));
    EXPECT_EQ(state().trim_box_on, 1);
    EXPECT_EQ(text("TEXT18"), "Adjasted>Size:(300,200)");
    EXPECT_EQ(text("EDIT1"), "(Changed)");
}

}  // namespace
}  // namespace korven::test
