// The BMP reader on small files built here, one variant or damage at a time:
// the exact arithmetic of bit fields and alpha, palettes, RLE runs and moves,
// and the header promises that must be refused before any allocation.

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "files/bmp_format.h"

using namespace korven;

namespace {

// What goes into a test file; the builder fills in sizes and the offset.
struct BmpRecipe {
    int width = 1;
    int height = 1;  // negative: rows top down
    int bits = 24;
    int compression = 0;
    int header_size = 40;                  // 40, or 124 with the masks inside it
    std::vector<std::uint32_t> masks{};    // after a 40-byte header, inside a 124-byte one
    std::vector<std::uint32_t> palette{};  // 0xRRGGBB
    std::int64_t colours_used = -1;        // -1: the palette's size
    std::vector<std::uint8_t> pixels{};    // as stored, rows padded by the caller
};

void put(std::vector<std::uint8_t>& out, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::vector<std::uint8_t> build(const BmpRecipe& s)
{
    std::vector<std::uint8_t> info;
    put(info, s.header_size, 4);
    put(info, static_cast<std::uint32_t>(s.width), 4);
    put(info, static_cast<std::uint32_t>(s.height), 4);
    put(info, 1, 2);
    put(info, s.bits, 2);
    put(info, s.compression, 4);
    put(info, s.pixels.size(), 4);
    put(info, 2835, 4);
    put(info, 2835, 4);
    put(info, s.colours_used < 0 ? s.palette.size() : s.colours_used, 4);
    put(info, 0, 4);
    for (auto m : s.masks) put(info, m, 4);
    while (s.header_size > 40 && info.size() < static_cast<std::size_t>(s.header_size))
        info.push_back(0);
    for (auto c : s.palette) put(info, c, 4);  // stored blue, green, red, 0

    std::vector<std::uint8_t> file = {'B', 'M'};
    put(file, 14 + info.size() + s.pixels.size(), 4);
    put(file, 0, 4);
    put(file, 14 + info.size(), 4);
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), s.pixels.begin(), s.pixels.end());
    return file;
}

Picture decoded(const BmpRecipe& s)
{
    auto result = bmp::decode(build(s));
    EXPECT_TRUE(result.ok()) << result.error;
    return result.picture;
}

std::string refusal(const BmpRecipe& s) { return bmp::decode(build(s)).error; }

int stretched(int value, int max)
{
    return static_cast<int>(std::floor(value * 255.0 / max + 0.5));
}

}  // namespace

TEST(BmpBitFields, ChannelsAreStretchedTo8BitsNotShifted)
{
    // Every level of a 5-6-5 pixel: full scale gives 255, 1 of 31 gives 8.
    BmpRecipe s{.width = 64, .bits = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F}};
    for (int v = 0; v < 64; ++v) put(s.pixels, ((v & 31) << 11) | (v << 5) | (31 - (v & 31)), 2);
    const Picture p = decoded(s);
    for (int v = 0; v < 64; ++v) {
        EXPECT_EQ(red_of(p.at(v, 0)), stretched(v & 31, 31)) << v;
        EXPECT_EQ(green_of(p.at(v, 0)), stretched(v, 63)) << v;
        EXPECT_EQ(blue_of(p.at(v, 0)), stretched(31 - (v & 31), 31)) << v;
    }
    // A plain 16-bit file is 5-5-5 and ignores its top bit.
    const Picture white = decoded({.bits = 16, .pixels = {0xFF, 0xFF, 0, 0}});
    EXPECT_EQ(white.at(0, 0), rgb(255, 255, 255));
}

TEST(BmpBitFields, AlphaIsLaidOntoBlackUnlessNoPixelHasAny)
{
    // v5 header, 8-8-8-8: (200, 100, 30) at alpha 128 and a transparent pixel.
    BmpRecipe s{.width = 2, .bits = 32, .compression = 3, .header_size = 124,
           .masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000},
           .pixels = {30, 100, 200, 128, 9, 9, 9, 0}};
    Picture p = decoded(s);
    EXPECT_EQ(p.at(0, 0), rgb(100, 50, 15));  // 200*128/255 = 100.4, 30*128/255 = 15.06
    EXPECT_EQ(p.at(1, 0), rgb(0, 0, 0));
    // Alpha zero everywhere means the writer left the byte unused.
    s.pixels[3] = 0;
    p = decoded(s);
    EXPECT_EQ(p.at(0, 0), rgb(200, 100, 30));
    EXPECT_EQ(p.at(1, 0), rgb(9, 9, 9));
    // Without bit fields the fourth byte is never alpha.
    EXPECT_EQ(decoded({.bits = 32, .pixels = {30, 100, 200, 128}}).at(0, 0), rgb(200, 100, 30));
}

TEST(BmpBitFields, MasksThatCannotBeReadAreRefused)
{
    const auto with_masks = [](std::vector<std::uint32_t> masks) {
        return refusal(
            {.bits = 16, .compression = 3, .masks = std::move(masks), .pixels = {0, 0, 0, 0}});
    };
    EXPECT_NE(with_masks({0xF0F0, 0x0F00, 0x000F}).find("not contiguous"), std::string::npos);
    EXPECT_NE(with_masks({0xFF00, 0x0FF0, 0x000F}).find("overlap"), std::string::npos);
    EXPECT_NE(with_masks({0x1F0000, 0x07E0, 0x001F}).find("outside"), std::string::npos);
    EXPECT_NE(with_masks({0, 0, 0}).find("empty"), std::string::npos);
}

TEST(BmpPalette, IndicesOfEveryDepthPickTheirColours)
{
    const std::vector<std::uint32_t> four = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    // 1 bit, 9 wide: the ninth pixel sits in the second byte's top bit.
    Picture p = decoded({.width = 9, .bits = 1, .palette = {0x112233, 0xAABBCC},
                         .pixels = {0b10100000, 0b10000000, 0, 0}});
    EXPECT_EQ(p.at(0, 0), rgb(0xAA, 0xBB, 0xCC));
    EXPECT_EQ(p.at(1, 0), rgb(0x11, 0x22, 0x33));
    EXPECT_EQ(p.at(2, 0), rgb(0xAA, 0xBB, 0xCC));
    EXPECT_EQ(p.at(8, 0), rgb(0xAA, 0xBB, 0xCC));
    // 2 bits: 0, 1, 2, 3 from the high bits down.
    p = decoded({.width = 4, .bits = 2, .palette = four, .pixels = {0b00011011, 0, 0, 0}});
    EXPECT_EQ(p.at(1, 0), rgb(255, 0, 0));
    EXPECT_EQ(p.at(3, 0), rgb(0, 0, 255));
    // 4 bits, two rows stored bottom up.
    p = decoded({.width = 2, .height = 2, .bits = 4, .palette = four,
                 .pixels = {0x12, 0, 0, 0, 0x30, 0, 0, 0}});
    EXPECT_EQ(p.at(0, 1), rgb(255, 0, 0));
    EXPECT_EQ(p.at(1, 1), rgb(0, 255, 0));
    EXPECT_EQ(p.at(0, 0), rgb(0, 0, 255));
}

TEST(BmpPalette, ShortPalettesWorkAndIndicesPastThemAreRefused)
{
    // No colour count given: the offset leaves room for two colours only.
    BmpRecipe s{.width = 2, .bits = 8, .palette = {0xFF0000, 0x00FF00}, .colours_used = 0,
           .pixels = {1, 0, 0, 0}};
    EXPECT_EQ(decoded(s).at(0, 0), rgb(0, 255, 0));
    s.pixels[1] = 2;
    EXPECT_NE(refusal(s).find("colour 2 of a palette with 2"), std::string::npos);
    // A colour count larger than the file is corrupt; one past 256 is harmless.
    s.pixels[1] = 0;
    s.colours_used = 100000;
    EXPECT_NE(refusal(s).find("palette"), std::string::npos);
    s.palette.resize(300);
    s.colours_used = 300;
    EXPECT_EQ(decoded(s).at(0, 0), rgb(0, 255, 0));
}

TEST(BmpRows, TopDownAndBottomUpGiveTheSamePicture)
{
    const std::vector<std::uint8_t> rows = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
    Picture bottom_up = decoded({.width = 2, .height = 2, .pixels = rows});
    EXPECT_EQ(bottom_up.at(0, 1), rgb(3, 2, 1));  // the first stored row is the bottom one
    EXPECT_EQ(bottom_up.at(1, 0), rgb(12, 11, 10));
    std::vector<std::uint8_t> flipped(rows.begin() + 8, rows.end());
    flipped.insert(flipped.end(), rows.begin(), rows.begin() + 8);
    EXPECT_EQ(decoded({.width = 2, .height = -2, .pixels = flipped}), bottom_up);
}

TEST(BmpRle, RunsMovesAndEarlyEndsLeaveSkippedPixelsBlack)
{
    const std::vector<std::uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    // 4 x 3, RLE8, bottom row first: a run of 3 red, end of line; a move one
    // right; an absolute run of 3 (padded); end of picture before the top row.
    BmpRecipe s{.width = 4, .height = 3, .bits = 8, .compression = 1, .palette = palette,
           .pixels = {3, 1, 0, 0, 0, 2, 1, 0, 0, 3, 2, 3, 1, 0, 0, 1}};
    Picture p = decoded(s);
    EXPECT_EQ(p.at(0, 2), rgb(255, 0, 0));
    EXPECT_EQ(p.at(2, 2), rgb(255, 0, 0));
    EXPECT_EQ(p.at(3, 2), rgb(0, 0, 0));
    EXPECT_EQ(p.at(0, 1), rgb(0, 0, 0));  // skipped by the move
    EXPECT_EQ(p.at(1, 1), rgb(0, 255, 0));
    EXPECT_EQ(p.at(2, 1), rgb(0, 0, 255));
    EXPECT_EQ(p.at(3, 1), rgb(255, 0, 0));
    EXPECT_EQ(p.at(0, 0), rgb(0, 0, 0));  // after the end of picture
    // RLE4: a run alternates two colours; an absolute run of 3 uses 2 bytes.
    p = decoded({.width = 5, .bits = 4, .compression = 2, .palette = palette,
                 .pixels = {2, 0x12, 0, 3, 0x31, 0x20, 0, 1}});
    EXPECT_EQ(p.at(0, 0), rgb(255, 0, 0));
    EXPECT_EQ(p.at(1, 0), rgb(0, 255, 0));
    EXPECT_EQ(p.at(2, 0), rgb(0, 0, 255));
    EXPECT_EQ(p.at(3, 0), rgb(255, 0, 0));
    EXPECT_EQ(p.at(4, 0), rgb(0, 255, 0));
}

TEST(BmpRle, RunsIntoTheRowPaddingAreCutAtTheRowEnd)
{
    // 5 x 2, as common encoders write it: each row's runs cover 8 pixels, the
    // last 3 being the row's padding. They must not spill into another row.
    const std::vector<std::uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    const Colour red = rgb(255, 0, 0), green = rgb(0, 255, 0), blue = rgb(0, 0, 255);
    // RLE8: a run of 8 green; an absolute run of 6, then 2 pixels wholly in the padding.
    BmpRecipe s{.width = 5, .height = 2, .bits = 8, .compression = 1, .palette = palette,
                .pixels = {8, 2, 0, 0, 0, 6, 1, 3, 1, 3, 1, 3, 2, 1, 0, 1}};
    Picture p = decoded(s);
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(p.at(x, 1), green) << x;
        EXPECT_EQ(p.at(x, 0), x % 2 ? blue : red) << x;
    }
    // RLE4: an absolute run of 7, then a run of 8 alternating two colours.
    p = decoded({.width = 5, .height = 2, .bits = 4, .compression = 2, .palette = palette,
                 .pixels = {0, 7, 0x12, 0x31, 0x23, 0x10, 0, 0, 8, 0x21, 0, 1}});
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(p.at(x, 1), (std::array{red, green, blue})[x % 3]) << x;
        EXPECT_EQ(p.at(x, 0), x % 2 ? red : green) << x;
    }
    // One pixel past the padding is corrupt.
    s.pixels[0] = 9;
    EXPECT_NE(refusal(s).find("end of a row"), std::string::npos);
}

TEST(BmpRle, DamagedStreamsAreRefused)
{
    const std::vector<std::uint32_t> palette = {0x000000, 0xFF0000};
    const auto rle8 = [&](std::vector<std::uint8_t> data) {
        return refusal({.width = 4, .height = 2, .bits = 8, .compression = 1, .palette = palette,
                        .pixels = std::move(data)});
    };
    EXPECT_NE(rle8({4, 1, 0, 0, 3, 1}).find("cut off"), std::string::npos);
    EXPECT_NE(rle8({0, 4, 1, 1, 1}).find("cut off"), std::string::npos);
    EXPECT_NE(rle8({5, 1, 0, 1}).find("end of a row"), std::string::npos);
    EXPECT_NE(rle8({0, 2, 0, 2, 0, 1}).find("leaves the picture"), std::string::npos);
    EXPECT_NE(rle8({0, 0, 0, 0, 0, 0, 0, 1}).find("past the last row"), std::string::npos);
    EXPECT_NE(rle8({2, 7, 0, 1}).find("colour 7"), std::string::npos);
    // Every row complete but no end marker: nothing is missing.
    EXPECT_TRUE(bmp::decode(build({.width = 4, .height = 2, .bits = 8, .compression = 1,
                                   .palette = palette, .pixels = {4, 1, 0, 0, 4, 1, 0, 0}}))
                    .ok());
    // Top-down rows and RLE do not go together.
    EXPECT_NE(refusal({.width = 4, .height = -2, .bits = 8, .compression = 1, .palette = palette,
                       .pixels = {0, 1}})
                  .find("top down"),
              std::string::npos);
}

TEST(BmpHeader, PromisesThatTheDataCannotKeepAreRefusedBeforeAllocating)
{
    // Sides of 32767 are allowed, but these files hold a few bytes of pixels.
    EXPECT_NE(refusal({.width = 32767, .height = 32767, .pixels = {1, 2, 3, 4}}).find("cut off"),
              std::string::npos);
    EXPECT_NE(refusal({.width = 32767, .height = -32767, .bits = 8, .compression = 0,
                       .palette = {0}, .pixels = {0, 0, 0, 0}})
                  .find("cut off"),
              std::string::npos);
    EXPECT_NE(refusal({.width = 30000, .height = 30000, .bits = 8, .compression = 1,
                       .palette = {0}, .pixels = {0, 1}})
                  .find("too short"),
              std::string::npos);
    EXPECT_NE(refusal({.width = 32768, .pixels = {0}}).find("32767"), std::string::npos);
    EXPECT_NE(refusal({.height = -32768, .pixels = {0}}).find("32767"), std::string::npos);
    EXPECT_FALSE(refusal({.width = 0, .pixels = {0}}).empty());
    EXPECT_FALSE(refusal({.height = 0, .pixels = {0}}).empty());
    // The last row may lack its padding; one byte less is cut off.
    EXPECT_TRUE(refusal({.width = 1, .height = 2, .pixels = {1, 2, 3, 0, 4, 5, 6}}).empty());
    EXPECT_FALSE(refusal({.width = 1, .height = 2, .pixels = {1, 2, 3, 0, 4, 5}}).empty());
}

TEST(BmpHeader, EmbeddedColourProfilesOtherThanSrgbAreRefused)
{
    // A 1 x 1 picture with a v5 header and, after its pixels, an embedded
    // profile holding one tag: the XYZ of its red primary.
    const auto with_red_primary = [](std::array<double, 3> xyz) {
        std::vector<std::uint8_t> profile(128);
        const auto put_big = [&](std::uint32_t v) {
            for (int shift : {24, 16, 8, 0}) profile.push_back(static_cast<std::uint8_t>(v >> shift));
        };
        for (std::uint32_t v : {1u, 0x7258595Au, 144u, 20u, 0x58595A20u, 0u}) put_big(v);  // rXYZ
        for (double v : xyz) put_big(static_cast<std::uint32_t>(std::lround(v * 65536)));
        BmpRecipe s{.header_size = 124, .pixels = {1, 2, 3, 0}};
        s.pixels.insert(s.pixels.end(), profile.begin(), profile.end());
        std::vector<std::uint8_t> file = build(s);
        const auto patch = [&](std::size_t at, std::uint32_t v) {
            for (int i = 0; i < 4; ++i) file[14 + at + i] = static_cast<std::uint8_t>(v >> (8 * i));
        };
        patch(56, 0x4D424544);  // colour space: an embedded profile
        patch(112, 124 + 4);    // where the profile starts, from the info header
        patch(116, static_cast<std::uint32_t>(profile.size()));
        return bmp::decode(file);
    };
    EXPECT_TRUE(with_red_primary({0.4361, 0.2225, 0.0139}).ok());  // sRGB's red
    EXPECT_NE(with_red_primary({0.3851, 0.7169, 0.0971}).error.find("other than sRGB"),
              std::string::npos);  // sRGB's green in the place of red
}

TEST(BmpHeader, UnknownOrForeignContentIsRefusedWithAReason)
{
    std::vector<std::uint8_t> file = build({.pixels = {1, 2, 3, 0}});
    EXPECT_TRUE(bmp::decode(file).ok());
    EXPECT_NE(bmp::decode(std::span(file).first(30)).error.find("cut off"), std::string::npos);
    EXPECT_NE(bmp::decode(std::span(file).first(1)).error.find("not a BMP"), std::string::npos);
    auto damaged = file;
    damaged[0] = 'P';
    EXPECT_NE(bmp::decode(damaged).error.find("not a BMP"), std::string::npos);
    damaged = file;
    damaged[10] = 20;  // pixel data inside the header
    EXPECT_NE(bmp::decode(damaged).error.find("inside the header"), std::string::npos);
    damaged = file;
    damaged[14] = 41;
    EXPECT_NE(bmp::decode(damaged).error.find("header size 41"), std::string::npos);
    EXPECT_NE(refusal({.compression = 4, .pixels = {0xFF, 0xD8}}).find("JPEG"), std::string::npos);
    EXPECT_NE(refusal({.compression = 5, .pixels = {0x89, 'P'}}).find("PNG"), std::string::npos);
    EXPECT_NE(refusal({.compression = 9, .pixels = {0}}).find("compression 9"), std::string::npos);
    EXPECT_NE(refusal({.bits = 12, .pixels = {0, 0, 0, 0}}).find("12"), std::string::npos);
}
