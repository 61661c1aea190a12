// Reading a BMP file piece by piece, as loading does: large pictures whose
// rows are converted as they are read, a file whose colour profile lies past
// its start, and a file that cannot be read to its end.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>

#include "files/bmp_format.h"
#include "tests/files/bmp_suite_files.h"

using namespace korven;

namespace {

Picture patterned(int width, int height)
{
    Picture picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.at(x, y) = rgb(x, y, x ^ y);
    return picture;
}

void put_u32(std::vector<std::uint8_t>& file, std::size_t at, std::uint32_t value, bool big = false)
{
    for (int i = 0; i < 4; ++i)
        file[at + i] = static_cast<std::uint8_t>(value >> (8 * (big ? 3 - i : i)));
}

// `picture` as a 24-bit file with a 124-byte header and an embedded colour
// profile after the pixels, whose red, green and blue primaries are `primaries`
// (XYZ, 16.16 fixed point).
std::vector<std::uint8_t> with_profile(const Picture& picture,
                                       const std::array<std::array<double, 3>, 3>& primaries)
{
    const std::vector<std::uint8_t> plain = bmp::encode(picture.view());
    const std::vector<std::uint8_t> pixels(plain.begin() + 54, plain.end());
    std::vector<std::uint8_t> file(14 + 124);
    file[0] = 'B';
    file[1] = 'M';
    put_u32(file, 10, 14 + 124);
    put_u32(file, 14, 124);
    put_u32(file, 18, static_cast<std::uint32_t>(picture.width()));
    put_u32(file, 22, static_cast<std::uint32_t>(picture.height()));
    put_u32(file, 26, 1 | (24 << 16));                         // planes, bits
    put_u32(file, 14 + 56, 0x4D424544);                        // colour space: embedded profile
    put_u32(file, 14 + 112, static_cast<std::uint32_t>(124 + pixels.size()));  // profile offset
    put_u32(file, 14 + 116, 132 + 3 * 12 + 3 * 20);            // profile size
    file.insert(file.end(), pixels.begin(), pixels.end());

    std::vector<std::uint8_t> profile(132 + 3 * 12 + 3 * 20);
    put_u32(profile, 128, 3, true);
    const std::uint32_t names[3] = {0x7258595A, 0x6758595A, 0x6258595A};  // rXYZ, gXYZ, bXYZ
    for (int t = 0; t < 3; ++t) {
        const std::size_t data = 132 + 3 * 12 + 20 * t;
        put_u32(profile, 132 + 12 * t, names[t], true);
        put_u32(profile, 132 + 12 * t + 4, static_cast<std::uint32_t>(data), true);
        put_u32(profile, 132 + 12 * t + 8, 20, true);
        for (int i = 0; i < 3; ++i)
            put_u32(profile, data + 8 + 4 * i,
                    static_cast<std::uint32_t>(std::lround(primaries[t][i] * 65536)), true);
    }
    file.insert(file.end(), profile.begin(), profile.end());
    put_u32(file, 2, static_cast<std::uint32_t>(file.size()));
    return file;
}

bmp::DecodeResult read_in_pieces(const std::vector<std::uint8_t>& file,
                                 std::size_t readable = SIZE_MAX)
{
    test::FileInMemory pieces(file, readable);
    return bmp::decode(pieces);
}

}  // namespace

TEST(BmpReading, PiecesGiveThePictureOrReasonOfTheWholeFile)
{
    // Over a megabyte of rows, read in several pieces.
    const Picture large = patterned(1500, 300);
    EXPECT_EQ(read_in_pieces(bmp::encode(large.view())).picture, large);

    // The profile lies far past the start of the file, so it is read whole.
    const Picture picture = patterned(200, 150);
    const std::array<std::array<double, 3>, 3> srgb = {
        {{0.4361, 0.2225, 0.0139}, {0.3851, 0.7169, 0.0971}, {0.1431, 0.0606, 0.7141}}};
    const std::vector<std::uint8_t> tagged = with_profile(picture, srgb);
    ASSERT_GT(tagged.size(), 64u << 10);
    EXPECT_EQ(read_in_pieces(tagged).picture, picture);
    EXPECT_EQ(bmp::decode(tagged).picture, picture);

    const std::vector<std::uint8_t> swapped = with_profile(picture, {srgb[1], srgb[0], srgb[2]});
    const std::string reason = bmp::decode(swapped).error;
    EXPECT_NE(reason.find("other than sRGB"), std::string::npos) << reason;
    EXPECT_EQ(read_in_pieces(swapped).error, reason);
}

TEST(BmpReading, FileThatCannotBeReadToItsEndIsRefused)
{
    const std::vector<std::uint8_t> file = bmp::encode(patterned(1500, 300).view());
    for (const std::size_t readable : {std::size_t{0}, std::size_t{30}, file.size() / 2, file.size() - 1}) {
        const bmp::DecodeResult result = read_in_pieces(file, readable);
        EXPECT_EQ(result.error, "the file cannot be read") << readable;
        EXPECT_TRUE(result.picture.empty());
    }
}
