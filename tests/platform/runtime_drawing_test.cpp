// Drawing on bitmaps and on a window that keeps its drawing; copying; files.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <utility>

#include "files/image_files.h"
#include "platform/draw.h"
#include "platform/form.h"
#include "platform/testing.h"

namespace fe {
namespace {

using korven::rgb;

Bitmap numbered(int width, int height)
{
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap.at(x, y) = rgb(x, y, 7);
    return bitmap;
}

class KeptDrawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        testing::destroy_windows();
        window = create_window({.name = "PICTURE", .caption = "Picture", .width = 200, .height = 150,
                                .resizable = true, .closable = false, .keeps_drawing = true});
        show_window(window);
    }
    void TearDown() override { testing::destroy_windows(); }
    Window window;
};

TEST_F(KeptDrawing, DrawingSurvivesUncoveringAndEnlarging)
{
    const Bitmap picture = numbered(400, 300);
    draw_bitmap(window, 14, 14, picture);
    testing::resize_by_user(window, 500, 400);
    testing::process_events();
    // Beyond the old window edge the picture drawn earlier is still there.
    EXPECT_EQ(testing::canvas_pixel(window, 14 + 300, 14 + 200), rgb(300, 200, 7));
    EXPECT_EQ(testing::canvas_pixel(window, 14, 14), rgb(0, 0, 7));
    draw::clear(window);
    EXPECT_EQ(testing::canvas_pixel(window, 20, 20), testing::canvas_pixel(window, 0, 0));
    EXPECT_NE(testing::canvas_pixel(window, 20, 20), rgb(6, 6, 7));
}

TEST_F(KeptDrawing, StretchRepeatsOrSamplesWholePixels)
{
    const Bitmap picture = numbered(100, 100);
    // Enlarged by 4: each source pixel covers a 4 x 4 block.
    stretch_blt(window, 14, 14, 40, 40, picture, 10, 20, 10, 10);
    for (int i = 0; i < 40; ++i) EXPECT_EQ(testing::canvas_pixel(window, 14 + i, 14), rgb(10 + i / 4, 20, 7));
    // Reduced by 2: each window pixel shows one pixel of its 2 x 2 block.
    stretch_blt(window, 14, 14, 30, 30, picture, 0, 0, 60, 60);
    for (int i = 0; i < 30; ++i) {
        const int column = korven::red_of(testing::canvas_pixel(window, 14 + i, 14 + i));
        EXPECT_TRUE(column == 2 * i || column == 2 * i + 1) << i;
    }
}

TEST_F(KeptDrawing, ClearLeavesOnlyWhatIsDrawnAfterIt)
{
    const korven::Colour background = testing::canvas_pixel(window, 1, 1);
    draw_bitmap(window, 0, 0, numbered(150, 120));
    draw::clear(window);
    draw_bitmap(window, 20, 30, numbered(10, 10));  // covers only a small block
    EXPECT_EQ(testing::canvas_pixel(window, 20, 30), rgb(0, 0, 7));
    EXPECT_EQ(testing::canvas_pixel(window, 29, 39), rgb(9, 9, 7));
    for (const auto& [x, y] : {std::pair{19, 35}, {30, 35}, {25, 29}, {25, 40}, {100, 100}, {0, 0}})
        EXPECT_EQ(testing::canvas_pixel(window, x, y), background) << x << ',' << y;

    // A stretched view wider than its picture leaves the rest of the window clear.
    draw::clear(window);
    stretch_blt(window, 14, 14, 80, 80, numbered(10, 10), 0, 0, 20, 20);
    EXPECT_EQ(testing::canvas_pixel(window, 14 + 39, 14), rgb(9, 0, 7));
    EXPECT_EQ(testing::canvas_pixel(window, 14 + 40, 14), background);
    EXPECT_EQ(testing::canvas_pixel(window, 14, 14 + 40), background);

    draw::clear(window);
    draw::line(window, 5, 5, 0, 0, 12);  // anything else clears the whole window first
    EXPECT_EQ(testing::canvas_pixel(window, 20, 20), background);
    EXPECT_EQ(testing::canvas_pixel(window, 5, 5), draw::palette_colour(12));
}

TEST(BitmapCopies, ClipToBothPicturesWhereverTheRectangleLies)
{
    Bitmap target(10, 10);
    const Bitmap source = numbered(8, 8);
    bit_blt(target, -3, 5, 20, 20, source, 0, 0);
    EXPECT_EQ(target.at(0, 5), rgb(3, 0, 7));
    EXPECT_EQ(target.at(4, 9), rgb(7, 4, 7));
    EXPECT_EQ(target.at(5, 9), 0u);  // beyond the source's right edge
    bit_blt(target, 0, 0, 1e9, -5, source, -1e9, 1e9);  // nothing to copy, nothing breaks
    stretch_bitmap(target, 0, 0, 0, 10, source);
    Bitmap copy;
    create_bitmap(copy, 3.4, 2.6);
    EXPECT_EQ(copy.width(), 3);
    EXPECT_EQ(copy.height(), 3);
    EXPECT_EQ(get_pixel(copy, 5, 5), 0u);
    set_pixel(copy, -1, 0, 0xFFFFFF);  // outside: ignored
    set_pixel(copy, 1, 1, 0xFF123456);  // only the three colour bytes are kept
    EXPECT_EQ(get_pixel(copy, 1, 1), 0x123456u);
}

TEST(DrawingLayer, LinesBoxesAndDashes)
{
    Bitmap bitmap(40, 40);
    draw::line(bitmap, 2, 2, 10, 0, 15);
    for (int x = 2; x <= 12; ++x) EXPECT_EQ(bitmap.at(x, 2), draw::palette_colour(15));
    EXPECT_EQ(bitmap.at(13, 2), 0u);

    draw::line(bitmap, 5, 10, 10, 10, 12, draw::box_mode);
    EXPECT_EQ(bitmap.at(5, 10), draw::palette_colour(12));
    EXPECT_EQ(bitmap.at(15, 20), draw::palette_colour(12));
    EXPECT_EQ(bitmap.at(10, 15), 0u);  // an outline is hollow

    draw::line(bitmap, 30, 30, -4, -4, 9, draw::filled_box_mode);
    EXPECT_EQ(bitmap.at(28, 28), draw::palette_colour(9));

    Bitmap dashes(40, 1);
    draw::line(dashes, 0, 0, 39, 0, 15, draw::line_mode, draw::dashed);
    int lit = 0;
    for (int x = 0; x < 40; ++x) lit += dashes.at(x, 0) != 0;
    EXPECT_GT(lit, 10);
    EXPECT_LT(lit, 35);  // visibly broken

    draw::line(bitmap, -1e12, 5, 2e12, 0, 1);  // far outside: clipped, quick
    EXPECT_EQ(bitmap.at(0, 5), draw::palette_colour(1));
}

TEST(DrawingLayer, PaletteColoursDiffer)
{
    for (int a = 0; a < 16; ++a)
        for (int b = a + 1; b < 16; ++b) EXPECT_NE(draw::palette_colour(a), draw::palette_colour(b));
    EXPECT_EQ(draw::palette_colour(15), rgb(255, 255, 255));
}

TEST(BmpFiles, SavedPicturesReloadWithIdenticalPixels)
{
    std::mt19937 random(5);
    Bitmap picture(37, 11);  // an odd width: rows are padded on disk
    for (auto& pixel : picture.pixels()) pixel = random() & 0xFFFFFF;
    const auto path = std::filesystem::temp_directory_path() / "korven_roundtrip.bmp";
    ASSERT_TRUE(save_file(picture, path.string()));
    Bitmap reloaded(2, 2);
    ASSERT_TRUE(load_file(reloaded, path.string()));
    EXPECT_EQ(reloaded, picture);
    std::filesystem::remove(path);
}

TEST(BmpFiles, FailedReadsLeaveTheBitmapAsItWas)
{
    Bitmap kept(3, 3);
    kept.at(1, 1) = 42;
    const FileResult missing = load_file(kept, "/nonexistent/folder/x.bmp");
    EXPECT_FALSE(missing);
    EXPECT_FALSE(missing.reason.empty());
    EXPECT_FALSE(load_file(kept, std::filesystem::temp_directory_path().string()));
    EXPECT_EQ(kept.at(1, 1), 42u);
    EXPECT_FALSE(save_file(kept, "/nonexistent/folder/x.bmp"));
}

}  // namespace
}  // namespace fe
