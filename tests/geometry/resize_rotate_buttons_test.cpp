// "Resizing" and "Rotating" pressed as a person would, after a real load.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/display/picture_files.h"
#include "tests/support/script.h"
#include "tests/geometry/geometry_reference.h"

namespace korven::test {
namespace {

class Resizing : public DisplayTest {
protected:
    // Loads `picture` and resizes it to the typed size, averaging or not.
    const Picture& resized(const Picture& picture, const std::string& width, const std::string& height,
                           bool averaging)
    {
        load_picture(picture);
        retype("EDIT6", width);
        retype("EDIT7", height);
        if (checked("CHECK6") != averaging) click("CHECK6");
        click("BUTTON13");
        return state().pictures[adjusted_slot];
    }

    // Loads `picture` and rotates it by the typed angle.
    const Picture& rotated(const Picture& picture, const std::string& angle)
    {
        load_picture(picture);
        retype("EDIT43", angle);
        click("BUTTON14");
        return state().pictures[adjusted_slot];
    }
};
using Rotating = Resizing;

Picture random_picture(int width, int height, unsigned seed = 1)
{
    std::mt19937 random(seed);
    return reference::random_picture(random, width, height);
}

TEST_F(Resizing, StretchesOrAveragesToTheBoxSizeAndShrinksTheWindow)
{
    const Picture photo = random_picture(640, 480);
    EXPECT_EQ(resized(photo, "100", "100", false), reference::stretch(photo, 100, 100));
    EXPECT_EQ(text("TEXT18"), "Adjasted>Size:(100,100)");
    EXPECT_EQ(fe::get_width(ui().FORM2), 122);
    EXPECT_EQ(fe::get_height(ui().FORM2), 148);
    EXPECT_EQ(state().pictures[original_slot], photo);
    EXPECT_EQ(state().shown_width, 100);
    EXPECT_EQ(state().picture_height[adjusted_slot], 100);

    EXPECT_EQ(resized(photo, "320", "240", true), reference::average_reduce(photo, 320, 240));
    // Width averaged, height kept during averaging and then stretched.
    EXPECT_EQ(resized(photo, "320", "600", true),
              reference::stretch(reference::average_reduce(photo, 320, 480), 320, 600));
    // Nothing gets smaller: the stretch, although "Avarage Color" is checked.
    EXPECT_EQ(resized(photo, "1280", "960", true), reference::stretch(photo, 1280, 960));
    EXPECT_EQ(text("TEXT18"), "Adjasted>Size:(1280,960)");
    EXPECT_EQ(fe::testing::script().busy_cursors_shown, 0);
    resized(photo, "5000", "4000", false);  // 20 megapixels: a long wait
    EXPECT_EQ(fe::testing::script().busy_cursors_shown, 1);
    EXPECT_TRUE(messages().empty());
}

TEST_F(Resizing, RefusesWithNothingChanged)
{
    load_picture(random_picture(64, 48));
    const auto try_resize = [&](const std::string& width, const std::string& height) {
        const LoadState before = load_state();
        fe::set_window_text(ui().EDIT6, width);
        fe::set_window_text(ui().EDIT7, height);
        click("BUTTON13");
        EXPECT_EQ(load_state(), before) << width << " x " << height;
    };
    try_resize("0", "0");
    try_resize("0", "20");  // no picture without a side
    try_resize("40000", "20");  // the program's own text is not limited to 4 digits
    fe::testing::script().memory_bytes = 1000;
    try_resize("100", "100");
    EXPECT_EQ(messages(), (std::vector<std::string>{
        "Cannot resize: the result would be 40000 x 20 pixels, and a picture can have at most 32767 pixels on a side. Nothing was changed.",
        "Cannot resize: there is not enough memory for a picture of 100 x 100 pixels. Nothing was changed."}));
    fe::testing::script().memory_bytes = 0;

    // The trimming box on, a measurement armed or half done, another picture shown.
    State& s = state();
    s.trim_box_on = 1;
    try_resize("20", "20");
    s.trim_box_on = 0;
    for (const std::int16_t measuring : {1, 2}) {
        s.measure_on = measuring;
        try_resize("20", "20");
    }
    s.measure_on = 0;
    click("BUTTON9");  // the analysis
    try_resize("20", "20");
    click("BUTTON9");  // the original
    try_resize("20", "20");
    EXPECT_EQ(messages().size(), 2u);
}

TEST_F(Rotating, TurnsByTheTypedAngle)
{
    const Picture photo = random_picture(640, 480);
    ASSERT_EQ(rotated(photo, "90"), reference::rotate(photo, 90));
    EXPECT_EQ(state().pictures[adjusted_slot].at(479, 0), photo.at(0, 0));
    EXPECT_EQ(text("TEXT18"), "Adjasted>Size:(480,640)");
    EXPECT_EQ(rotated(photo, "-90"), reference::rotate(photo, 270));
    EXPECT_EQ(rotated(photo, "45"), reference::rotate(photo, 45));
    EXPECT_EQ(text("TEXT18"), "Adjasted>Size:(1120,1120)");
    EXPECT_EQ(state().pictures[original_slot], photo);

    // A turned picture narrower than the view shrinks the window to it.
    rotated(random_picture(500, 200), "90");
    EXPECT_EQ(fe::get_width(ui().FORM2), 222);
    EXPECT_EQ(fe::get_height(ui().FORM2), 248);
}

TEST_F(Rotating, AccumulatesAndDrawWaitsForChangeOriginal)
{
    const Picture photo = random_picture(100, 100);
    rotated(photo, "10");
    EXPECT_EQ(text("TEXT18"), "Adjasted>Size:(118,118)");
    click("BUTTON14");
    const Picture twice = reference::rotate(reference::rotate(photo, 10), 10);
    EXPECT_EQ(state().pictures[adjusted_slot], twice);

    move_slider("VSCROLL20", 30);
    click("BUTTON1");  // "DRAW": the original is still the smaller picture
    EXPECT_EQ(state().pictures[adjusted_slot], twice);
    click("BUTTON12");  // "Change Original"
    click("BUTTON1");
    EXPECT_NE(state().pictures[adjusted_slot], twice);
    EXPECT_EQ(state().pictures[adjusted_slot].width(), twice.width());
}

TEST_F(Rotating, RefusesWithNothingChanged)
{
    load_picture(random_picture(64, 48));
    const auto try_rotating = [&](const std::string& angle) {
        const LoadState before = load_state();
        fe::set_window_text(ui().EDIT43, angle);
        click("BUTTON14");
        EXPECT_EQ(load_state(), before) << angle;
    };
    for (const char* whole_turns : {"0", "360", "720", "-1080", "abc", ""}) try_rotating(whole_turns);
    fe::testing::script().memory_bytes = 1000;
    try_rotating("10");
    fe::testing::script().memory_bytes = 0;
    click("BUTTON9");  // the analysis
    try_rotating("10");
    click("BUTTON9");  // the original
    try_rotating("10");

    load_picture(random_picture(32767, 1));
    try_rotating("45");
    EXPECT_EQ(messages(), (std::vector<std::string>{
        "Cannot rotate: there is not enough memory for a picture of 72 x 59 pixels. Nothing was changed.",
        "Cannot rotate: the result would be 32768 x 32768 pixels, and a picture can have at most 32767 pixels on a side. Nothing was changed."}));
}

}  // namespace
}  // namespace korven::test
