// A whole picture copied again at another place, as a scroll does, leaves the
// canvas exactly as copying it afresh there would, its colours converted or not.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/screen_conversion.h"
#include "platform/kept_canvas.h"

namespace korven {
namespace {

Picture numbered(int width, int height)
{
    Picture picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.at(x, y) = rgb(x, y, (x * y) & 255);
    return picture;
}

// A conversion anyone can check: red and blue change places.
ScreenConversion swapping_red_and_blue()
{
    constexpr int n = ScreenConversion::grid_points;
    std::vector<ScreenConversion::GridNode> nodes;
    for (int r = 0; r < n; ++r)
        for (int g = 0; g < n; ++g)
            for (int b = 0; b < n; ++b) {
                const auto level = [](int i) { return static_cast<std::uint16_t>((i * 65535 + 16) / 32); };
                nodes.push_back({level(b), level(g), level(r)});
            }
    return ScreenConversion::grid(nodes);
}

TEST(KeptCanvas, AMovedCopyEqualsAFreshOne)
{
    const ScreenConversion swap = swapping_red_and_blue();
    const Picture large = numbered(300, 200), small = numbered(90, 70);
    for (const ScreenConversion* conversion : {static_cast<const ScreenConversion*>(nullptr), &swap})
        for (const Picture* picture : {&large, &small}) {
            // `fresh` is given a copy of the picture each time, so it never moves what it has.
            KeptCanvas moved, fresh;
            for (KeptCanvas* canvas : {&moved, &fresh}) {
                canvas->set_background(rgb(1, 2, 3));
                canvas->grow(250, 150);
            }
                    const std::pair<int, int> places[] = {{0, 0},    {-16, 0},   {-32, -5}, {10, 20}, {-400, 0},
                                                  {-40, -30}, {240, 140}, {5, 5},    {-20, 4}, {-21, 3}};
            int step = 0;
            for (const auto& [x, y] : places) {
                SCOPED_TRACE(::testing::Message() << "step " << step << ", converted " << (conversion != nullptr));
                if (step == 4) {  // a clear, and a line drawn over the picture, in between
                    moved.clear(), fresh.clear();
                } else if (step == 7) {
                    moved.view().row(60)[60] = 0, fresh.view().row(60)[60] = 0;
                }
                const Picture copy = *picture;
                moved.copy(x, y, picture->width(), picture->height(), picture->view(), 0, 0, conversion);
                fresh.copy(x, y, copy.width(), copy.height(), copy.view(), 0, 0, conversion);
                ASSERT_EQ(moved.pixels(), fresh.pixels());
                ++step;
            }
            // Canvas point (20, 10) shows picture point (41, 7), with red and blue swapped.
            const Colour shown = moved.pixels().at(20, 10);
            EXPECT_EQ(shown, conversion ? rgb(41 * 7 & 255, 7, 41) : rgb(41, 7, 41 * 7 & 255));
        }
}

}  // namespace
}  // namespace korven
