// The averaging reduction and the stretch of "Resizing" against their slow versions.
#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "geometry/average_reduce.h"
#include "platform/form.h"
#include "geometry/kernel_path.h"
#include "tests/geometry/geometry_reference.h"

namespace korven {
namespace {

// Odd sizes: single pixels, single rows and columns, primes.
const std::vector<std::pair<int, int>> odd_sizes = {{1, 1}, {1, 7}, {7, 1}, {2, 3}, {13, 17}, {31, 5}, {97, 61}, {11, 151}};

Picture reduced(const Picture& source, int width, int height, CodePath path = CodePath::fastest)
{
    Picture target(width, height);
    average_reduce(source.view(), target.view(), path);
    return target;
}

TEST(AverageReduce, EqualsTheStepByStepVersionForEveryTargetSize)
{
    std::mt19937 random(12);
    for (const auto& [width, height] : odd_sizes) {
        const Picture source = reference::random_picture(random, width, height);
        // Every target size, or a spread of them for the large pictures.
        const int step = width * height > 500 ? 7 : 1;
        for (int h = 1; h <= height; h += step)
            for (int w = 1; w <= width; w += step)
                for (const CodePath path : geometry_paths_here())
                    ASSERT_EQ(reduced(source, w, h, path), reference::average_reduce(source, w, h))
                        << width << "x" << height << " to " << w << "x" << h;
    }
}

TEST(AverageReduce, ALargePictureSharedWithAHelperThreadComesOutTheSame)
{
    std::mt19937 random(17);
    const Picture source = reference::random_picture(random, 1031, 1019);
    for (const CodePath path : geometry_paths_here())
        ASSERT_EQ(reduced(source, 257, 251, path), reference::average_reduce(source, 257, 251));
}

TEST(AverageReduce, BlocksAverageToTheirMeans)
{
    // 3 x 1 to 2 x 1: columns 0 and 1 make pixel 0, column 2 alone pixel 1.
    Picture row(3, 1);
    row.at(0, 0) = rgb(10, 20, 30);
    row.at(1, 0) = rgb(21, 40, 61);
    row.at(2, 0) = rgb(7, 8, 9);
    const Picture two = reduced(row, 2, 1);
    EXPECT_EQ(two.at(0, 0), rgb(16, 30, 46));  // 15.5 and 45.5 round up
    EXPECT_EQ(two.at(1, 0), rgb(7, 8, 9));

    // Halving: each pixel is the mean of its 2 x 2 block.
    std::mt19937 random(5);
    const Picture source = reference::random_picture(random, 64, 48);
    const Picture half = reduced(source, 32, 24);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 32; ++x)
            for (int channel = 0; channel < 3; ++channel) {
                int sum = 0;
                for (const auto& [dx, dy] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}})
                    sum += (source.at(2 * x + dx, 2 * y + dy) >> (8 * channel)) & 255;
                ASSERT_EQ((half.at(x, y) >> (8 * channel)) & 255, static_cast<Colour>((sum + 2) / 4));
            }

    // A block of full green far larger than 32-bit sums of green x 256 allow.
    Picture green(2000, 2000);
    for (Colour& pixel : green.pixels()) pixel = rgb(0, 255, 0);
    for (const CodePath path : geometry_paths_here()) {
        EXPECT_EQ(reduced(green, 1, 1, path).at(0, 0), rgb(0, 255, 0));
        EXPECT_EQ(reduced(green, 10, 10, path), reference::stretch(reduced(green, 1, 1), 10, 10));
    }
}

TEST(BitmapStretch, SamplesTheNearestSourcePixel)
{
    std::mt19937 random(3);
    for (const auto& [width, height] : odd_sizes) {
        const Picture source = reference::random_picture(random, width, height);
        for (const auto& [w, h] : {std::pair{1, 1}, {width, height}, {2 * width + 1, 3 * height},
                                   {width * 3 / 4 + 1, height / 2 + 1}, {7, 11}}) {
            fe::Bitmap target(w, h);
            fe::stretch_bitmap(target, 0, 0, w, h, source);
            ASSERT_EQ(target, reference::stretch(source, w, h)) << width << "x" << height << " to " << w << "x" << h;
        }
    }
}

}  // namespace
}  // namespace korven
