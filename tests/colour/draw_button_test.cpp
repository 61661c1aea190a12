// "DRAW" pressed as a person would, with pictures put in place beforehand.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>

#include "files/image_files.h"
#include "colour/apply_curve.h"
#include "state/document_controls.h"
#include "tests/support/driver.h"

namespace korven::test {
namespace {

// Original and adjusted pictures as a load leaves them, the picture window
// shown or not.
void put_pictures(const Picture& original, const Picture& adjusted, bool window_shown = true)
{
    State& s = state();
    put_picture(original_slot, original);
    put_picture(adjusted_slot, adjusted);
    s.picture_width[original_slot] = static_cast<std::int16_t>(original.width());
    s.picture_height[original_slot] = static_cast<std::int16_t>(original.height());
    s.picture_width[adjusted_slot] = static_cast<std::int16_t>(adjusted.width());
    s.picture_height[adjusted_slot] = static_cast<std::int16_t>(adjusted.height());
    s.file_title = "tiny.bmp";
    if (window_shown) show_picture_window(true);
}

Picture patterned(int width, int height)
{
    Picture picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.at(x, y) = rgb(x * 37 % 256, y * 53 % 256, (x + y) * 11 % 256);
    return picture;
}

// The curve the sliders show now, applied to `original` in `adjusted` by the kernels.
Picture expected_after(const Picture& original, Picture adjusted, int channel)
{
    PointLevels points{};
    for (int k = 0; k < curve_points; ++k)
        points[k] = static_cast<std::int16_t>(255 - slider("VSCROLL" + std::to_string(k + 2)));
    Picture drawn(adjusted.width(), adjusted.height());
    if (channel == -1)
        apply_all_channels(original.view(), drawn.view(), build_level_table(points, CurveMode::all_channels));
    else
        apply_one_channel(original.view(), adjusted.view(), drawn.view(),
                          build_level_table(points, CurveMode::one_channel), channel);
    return drawn;
}

using DrawButton = ProgramTest;

// With a folder for picture files, removed after the test.
class DrawAfterLoading : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        std::random_device random;
        do {
            folder_ = std::filesystem::temp_directory_path() /
                      ("korven-colour-" + std::to_string(random()));
        } while (!std::filesystem::create_directory(folder_));
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
        ProgramTest::TearDown();
    }
    // Writes `picture` as a BMP file and chooses it with "LOAD".
    void load(const Picture& picture, const std::string& name)
    {
        const std::string file = (folder_ / name).string();
        ASSERT_TRUE(fe::save_file(picture, file).ok);
        answer_next_dialog(file);
        click("BUTTON2");
    }

private:
    std::filesystem::path folder_;
};

TEST_F(DrawAfterLoading, ShowsTheLoadedPictureWithTheSlidersCurveApplied)
{
    Picture original = patterned(6, 5);
    original.at(0, 0) = rgb(0, 0, 0);
    load(original, "tiny.bmp");
    ASSERT_EQ(state().pictures[original_slot], original);
    move_slider("VSCROLL2", 255 - 40);  // point 0: black becomes grey 40
    move_slider("VSCROLL20", 30);      // point 18 raised: bright pixels overflow
    click("BUTTON1");

    const Picture adjusted = state().pictures[adjusted_slot];
    EXPECT_EQ(adjusted, expected_after(original, original, -1));
    EXPECT_NE(adjusted, original);
    EXPECT_EQ(adjusted.at(0, 0), rgb(40, 40, 40));
    EXPECT_EQ(state().shown_picture, adjusted_slot);
    EXPECT_EQ(state().shown_width, 6);
    EXPECT_EQ(state().shown_height, 5);
    EXPECT_EQ(caption(ui().FORM2), "KORVEN-Adjusted/tiny.bmp");
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(fe::testing::canvas_pixel(ui().FORM2, 14 + x, 14 + y), adjusted.at(x, y));
}

TEST_F(DrawButton, DoesNothingWhileThePictureWindowIsHidden)
{
    const Picture original = patterned(5, 4);
    put_pictures(original, original, false);
    move_slider("VSCROLL2", 200);
    click("BUTTON1");
    EXPECT_EQ(state().pictures[adjusted_slot], original);
    EXPECT_EQ(state().shown_picture, original_slot);
    EXPECT_EQ(state().shown_width, 0);
}

TEST_F(DrawButton, DoesNothingWhenOriginalAndAdjustedDifferInSize)
{
    const Picture turned = patterned(4, 5);
    put_pictures(patterned(5, 4), turned);
    const std::string caption_before = caption(ui().FORM2);
    move_slider("VSCROLL2", 200);
    click("BUTTON1");
    EXPECT_EQ(state().pictures[adjusted_slot], turned);
    EXPECT_EQ(state().shown_picture, original_slot);
    EXPECT_EQ(caption(ui().FORM2), caption_before);
}

TEST_F(DrawButton, ChannelButtonsAccumulateUntilAllRebuilds)
{
    const Picture original = patterned(7, 3);
    put_pictures(original, original);
    for (int k = 0; k < curve_points; ++k)
        move_slider("VSCROLL" + std::to_string(k + 2), std::min(255, 8 * k));  // inverted curve

    click("RADIO2");
    click("BUTTON1");
    click("RADIO3");
    click("BUTTON1");
    EXPECT_EQ(state().pictures[adjusted_slot],
              expected_after(original, expected_after(original, original, 0), 1));

    click("RADIO1");
    click("BUTTON1");
    EXPECT_EQ(state().pictures[adjusted_slot], expected_after(original, Picture(7, 3), -1));
}

TEST_F(DrawButton, ScrollsHomeAndFitsTheBarsOnlyWhenTheShownPictureHadAnotherSize)
{
    const Picture large = patterned(1000, 900);
    put_pictures(large, large);
    State& s = state();
    s.shown_picture = original_slot;  // the original is shown: same size, view stays
    s.shown_width = 1000;
    s.shown_height = 900;
    s.view_left = 100;
    s.view_top = 50;
    click("BUTTON1");
    EXPECT_EQ(s.view_left, 100);
    EXPECT_EQ(s.view_top, 50);

    s.shown_picture = analysis_slot;  // the analysis chart is shown: another size
    s.shown_width = 640;
    s.shown_height = 648;
    INICHNG(0, 2);
    move_slider("HSCROLL1", 200);
    click("BUTTON1");
    EXPECT_EQ(s.view_left, 0);
    EXPECT_EQ(s.view_top, 0);
    EXPECT_EQ(s.shown_picture, adjusted_slot);
    // Both bars now reach the whole of the wider, higher picture.
    EXPECT_EQ(fe::testing::slider_maximum(control("HSCROLL1")), 1000 - 360);
    EXPECT_EQ(fe::testing::slider_maximum(control("VSCROLL1")), 900 - 360);
    EXPECT_EQ(slider("HSCROLL1"), 0);
}

}  // namespace
}  // namespace korven::test
