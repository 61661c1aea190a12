// The BMP writer: what it writes reads back identically, and its header is
// the plain 24-bit form every reader opens.

#include <gtest/gtest.h>

#include <random>

#include "files/bmp_format.h"

using namespace korven;

namespace {

Picture random_picture(int width, int height, std::mt19937& random)
{
    Picture picture(width, height);
    for (auto& pixel : picture.pixels()) pixel = random() & 0xFFFFFF;
    return picture;
}

std::uint32_t u32_at(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint32_t u16_at(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8);
}

}  // namespace

TEST(BmpWriter, EveryWidthReadsBackIdentically)
{
    std::mt19937 random(7);
    for (int width = 1; width <= 9; ++width)
        for (int height = 1; height <= 4; ++height) {
            const Picture original = random_picture(width, height, random);
            const auto result = bmp::decode(bmp::encode(original.view()));
            ASSERT_TRUE(result.ok()) << width << " x " << height << ": " << result.error;
            EXPECT_EQ(result.picture, original) << width << " x " << height;
        }
    const Picture large = random_picture(333, 211, random);
    EXPECT_EQ(bmp::decode(bmp::encode(large.view())).picture, large);
}

TEST(BmpWriter, ViewsWithAStrideWriteOnlyTheirPixels)
{
    std::mt19937 random(11);
    const Picture whole = random_picture(10, 6, random);
    const ConstPictureView part(whole.row(2) + 3, 5, 3, whole.width());
    const auto result = bmp::decode(bmp::encode(part));
    ASSERT_TRUE(result.ok()) << result.error;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(result.picture.at(x, y), whole.at(x + 3, y + 2));
}

TEST(BmpWriter, HeaderDescribesAPlainBottomUp24BitFile)
{
    // 5 x 2: rows of 15 bytes padded to 16.
    Picture picture(5, 2);
    picture.at(0, 0) = rgb(1, 2, 3);     // top left
    picture.at(4, 1) = rgb(10, 20, 30);  // bottom right
    const auto file = bmp::encode(picture.view());
    ASSERT_EQ(file.size(), 54u + 2 * 16);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(u32_at(file, 2), file.size());
    EXPECT_EQ(u32_at(file, 6), 0u);   // reserved
    EXPECT_EQ(u32_at(file, 10), 54u);  // pixel data offset
    EXPECT_EQ(u32_at(file, 14), 40u);  // info header size
    EXPECT_EQ(u32_at(file, 18), 5u);
    EXPECT_EQ(u32_at(file, 22), 2u);   // positive: bottom row first
    EXPECT_EQ(u16_at(file, 26), 1u);   // planes
    EXPECT_EQ(u16_at(file, 28), 24u);  // bits per pixel
    EXPECT_EQ(u32_at(file, 30), 0u);   // no compression
    EXPECT_EQ(u32_at(file, 34), 32u);  // image size
    EXPECT_EQ(u32_at(file, 46), 0u);   // no palette
    // The first stored row is the bottom one, pixels as blue, green, red.
    EXPECT_EQ(file[54 + 12], 30);
    EXPECT_EQ(file[54 + 13], 20);
    EXPECT_EQ(file[54 + 14], 10);
    EXPECT_EQ(file[54 + 15], 0);  // padding
    EXPECT_EQ(file[70], 3);
    EXPECT_EQ(file[71], 2);
    EXPECT_EQ(file[72], 1);
}
