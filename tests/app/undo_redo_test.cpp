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

    // A new command after an undo drops the steps to redo.
    press("Ctrl+Z");
    click("BUTTON3");  // "Linear": the identity curve again
    const Seen linear;
    press("Ctrl+Y");
    EXPECT_TRUE(Seen() == linear);
    press("Ctrl+Z");
    EXPECT_TRUE(Seen() == curved);
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

TEST_F(UndoRedo, OverBudgetTheOldestStepsGoAndAStepThatDoesNotFitIsRefusedWithOneMessage)
{
    load_picture(coordinate_picture(100, 100));  // 40 000 bytes a picture
    const Picture& adjusted = state().pictures[adjusted_slot];
    // Undo may keep a quarter of the memory: three pictures. Every step keeps
    // the original; a slider's step the adjusted picture before it too.
    fe::testing::script().memory_bytes = 4 * 3 * 40000;
    std::vector<Picture> drawn;
    for (int round = 0; round < 4; ++round) {
        move_slider("VSCROLL6", 100 + 10 * round);
        click("BUTTON1");
        drawn.push_back(adjusted);
    }
    // Undoing keeps the present pictures for redo, so more of the oldest go.
    press("Ctrl+Z");
    press("Ctrl+Z");
    EXPECT_EQ(adjusted, drawn[2]);
    EXPECT_EQ(slider("VSCROLL6"), 120);
    press("Ctrl+Z");  // the steps of the first three rounds are gone
    EXPECT_EQ(slider("VSCROLL6"), 120);
    press("Ctrl+Y");
    press("Ctrl+Y");
    EXPECT_EQ(adjusted, drawn[3]);

    // Memory for less than one picture: the program works on, and undo says once why it cannot.
    fe::testing::script().memory_bytes = 4 * 30000;
    move_slider("VSCROLL6", 200);
    click("BUTTON1");
    const Picture refused = adjusted;
    ASSERT_NE(refused, drawn[3]);
    press("Ctrl+Z");
    press("Ctrl+Z");
    EXPECT_EQ(messages().size(), 1u);
    EXPECT_EQ(adjusted, refused);

    // At most ten steps, however small.
    fe::testing::script().memory_bytes = 0;
    for (int level = 1; level <= 12; ++level) {
        retype("EDIT3", std::to_string(level));
        click("BUTTON3");  // "Linear" from (0, level): point 0 becomes the level
    }
    for (int undo = 0; undo < 11; ++undo) press("Ctrl+Z");
    EXPECT_EQ(text("EDIT10"), "2");
}

}  // namespace
}  // namespace korven::test
