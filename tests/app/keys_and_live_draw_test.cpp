// The command keys, and live DRAW switched on and off with Ctrl+L.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/display/picture_files.h"
#include "tests/support/script.h"

namespace korven::test {
namespace {

using CommandKeys = DisplayTest;
using LiveDraw = DisplayTest;

const Picture& adjusted() { return state().pictures[adjusted_slot]; }
const std::vector<std::string>& dialogs() { return fe::testing::script().dialog_titles; }

TEST_F(CommandKeys, RunTheirButtonsWithTheirGuardsAndLeaveAFieldItsEditingKeys)
{
    answer_next_dialog(write_bmp("photo.bmp", coordinate_picture(40, 30)));
    press("Ctrl+O");
    EXPECT_EQ(dialogs(), std::vector<std::string>{"Load Image"});
    ASSERT_TRUE(fe::is_window_visible(ui().FORM2));

    click("BUTTON9");
    click("BUTTON9");  // the original is shown: SAVE does nothing
    press("Ctrl+S");
    EXPECT_EQ(dialogs().size(), 1u);

    move_slider("VSCROLL2", 0);  // black becomes white
    press("Ctrl+D", ui().FORM2);
    EXPECT_EQ(state().shown_picture, adjusted_slot);
    EXPECT_EQ(adjusted().at(0, 0), rgb(255, 255, 255));
    press("Ctrl+S", ui().FORM2);
    EXPECT_EQ(dialogs().back(), "Save as bitmap");

    // In a field Ctrl+Z first undoes the typing; then it undoes DRAW.
    fe::testing::focus(control("EDIT2"));
    type("EDIT2", "5");
    press("Ctrl+Z");
    EXPECT_EQ(text("EDIT2"), "1");
    EXPECT_EQ(adjusted().at(0, 0), rgb(255, 255, 255));
    press("Ctrl+Z");
    EXPECT_EQ(adjusted().at(0, 0), 0u);

    press("Ctrl+Q");  // as the main window's close button
    EXPECT_FALSE(fe::is_window_visible(ui().MAINFORM));
}

TEST_F(LiveDraw, EveryCurveChangeDrawsWhileOnExactlyAsDrawDoes)
{
    load_picture(coordinate_picture(64, 48));
    const Picture loaded = adjusted();
    move_slider("VSCROLL18", 40);
    fe::testing::process_events();
    EXPECT_EQ(adjusted(), loaded);  // off: nothing changes until DRAW
    EXPECT_EQ(caption(ui().MAINFORM), "KORVEN");

    press("Ctrl+L");
    EXPECT_EQ(caption(ui().MAINFORM), "KORVEN (live)");
    move_slider("VSCROLL10", 30);
    retype("EDIT21", "20");
    click("BUTTON4");  // "log" between the limits 0 and 256: the whole curve
    fe::testing::process_events();
    const Picture live = adjusted();
    EXPECT_NE(live, loaded);
    click("BUTTON1");
    EXPECT_EQ(adjusted(), live);

    // Each drawing belongs to the change of the curve it follows: undoing
    // "log", then the two edits, gives back the picture before them.
    press("Ctrl+Z");
    press("Ctrl+Z");
    fe::testing::process_events();
    EXPECT_EQ(slider("VSCROLL10"), 191);
    EXPECT_EQ(text("EDIT21"), "88");
    EXPECT_EQ(slider("VSCROLL18"), 40);
    EXPECT_EQ(adjusted(), loaded);

    press("Ctrl+L");
    EXPECT_EQ(caption(ui().MAINFORM), "KORVEN");
    move_slider("VSCROLL10", 0);
    fe::testing::process_events();
    EXPECT_EQ(adjusted(), loaded);
}

}  // namespace
}  // namespace korven::test
