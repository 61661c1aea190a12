// The PNG reader on files written here with libpng: every kind of pixel, laid
// over white where transparent, interlaced or not, turned upright by the eXIf
// chunk, and damaged files refused.
#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "files/exif_orientation.h"
#include "files/image_files.h"
#include "files/png_reader.h"

namespace korven {
namespace {

namespace fs = std::filesystem;

// What goes into a test file: `samples` holds each pixel's channels (a
// palette index for a palette file), row after row, at the file's bit depth.
struct PngContent {
    int width = 0;
    int height = 0;
    int bit_depth = 8;
    int colour_type = PNG_COLOR_TYPE_RGB;
    std::vector<int> samples;
    std::vector<png_color> palette;
    std::vector<png_byte> palette_alpha;  // the tRNS chunk
    std::vector<png_byte> exif;           // the eXIf chunk
    bool interlaced = false;
    bool exif_after_pixels = false;
};

int channels(int colour_type)
{
    switch (colour_type) {
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    case PNG_COLOR_TYPE_RGB: return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
    default: return 1;
    }
}

void write_png(const PngContent& content, const std::string& path)
{
    // One byte a sample below 16 bits (libpng packs them), two bytes high first at 16.
    const int bytes_per_sample = content.bit_depth == 16 ? 2 : 1;
    const std::size_t row_bytes =
        static_cast<std::size_t>(content.width) * channels(content.colour_type) * bytes_per_sample;
    std::vector<png_byte> bytes;
    for (const int sample : content.samples) {
        if (bytes_per_sample == 2) bytes.push_back(static_cast<png_byte>(sample >> 8));
        bytes.push_back(static_cast<png_byte>(sample & 255));
    }
    ASSERT_EQ(bytes.size(), row_bytes * content.height);
    std::vector<png_bytep> rows;
    for (int y = 0; y < content.height; ++y) rows.push_back(bytes.data() + y * row_bytes);

    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, content.width, content.height, content.bit_depth, content.colour_type,
                 content.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!content.palette.empty())
        png_set_PLTE(png, info, content.palette.data(), static_cast<int>(content.palette.size()));
    if (!content.palette_alpha.empty())
        png_set_tRNS(png, info, content.palette_alpha.data(), static_cast<int>(content.palette_alpha.size()), nullptr);
    std::vector<png_byte> exif = content.exif;  // libpng takes it as writable
    const auto add_exif = [&] {
        if (!exif.empty()) png_set_eXIf_1(png, info, static_cast<png_uint_32>(exif.size()), exif.data());
    };
    if (!content.exif_after_pixels) add_exif();
    png_write_info(png, info);
    if (content.bit_depth < 8) png_set_packing(png);
    png_write_image(png, rows.data());  // all seven passes when interlaced
    if (content.exif_after_pixels) add_exif();
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

// A colour level at `bit_depth` bits as the nearest 8-bit level.
int level(int sample, int bit_depth) { return static_cast<int>(std::lround(sample * 255.0 / ((1 << bit_depth) - 1))); }

int over_white(int c, int a) { return static_cast<int>(std::lround((c * a + 255.0 * (255 - a)) / 255.0)); }

// The picture a file should read as, worked out one pixel at a time.
Picture expected_picture(const PngContent& content, bool& transparent)
{
    Picture picture(content.width, content.height);
    const int n = channels(content.colour_type);
    transparent = false;
    for (int i = 0; i < content.width * content.height; ++i) {
        const int* s = content.samples.data() + i * n;
        int r = 0, g = 0, b = 0, a = 255;
        switch (content.colour_type) {
        case PNG_COLOR_TYPE_PALETTE: {
            const png_color entry = content.palette[s[0]];
            r = entry.red, g = entry.green, b = entry.blue;
            if (s[0] < static_cast<int>(content.palette_alpha.size())) a = content.palette_alpha[s[0]];
            break;
        }
        case PNG_COLOR_TYPE_GRAY:
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            r = g = b = level(s[0], content.bit_depth);
            if (n == 2) a = level(s[1], content.bit_depth);
            break;
        default:
            r = level(s[0], content.bit_depth), g = level(s[1], content.bit_depth), b = level(s[2], content.bit_depth);
            if (n == 4) a = level(s[3], content.bit_depth);
        }
        transparent = transparent || a < 255;
        picture.pixels()[i] = rgb(over_white(r, a), over_white(g, a), over_white(b, a));
    }
    return picture;
}

std::vector<int> random_samples(std::size_t count, int bit_depth, std::mt19937& random)
{
    std::uniform_int_distribution<int> sample(0, (1 << bit_depth) - 1);
    std::vector<int> samples(count);
    for (int& s : samples) s = sample(random);
    return samples;
}

// TIFF bytes of one image directory holding the orientation tag.
std::vector<png_byte> exif_bytes(bool big_endian, int orientation)
{
    std::vector<png_byte> bytes = {'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 0x12, 0x01, 3, 0, 1, 0, 0, 0,
                                   static_cast<png_byte>(orientation), 0, 0, 0, 0, 0, 0, 0};
    if (big_endian) {
        bytes = {'M', 'M', 0, 42, 0, 0, 0, 8, 0, 1, 0x01, 0x12, 0, 3, 0, 0, 0, 1,
                 0, static_cast<png_byte>(orientation), 0, 0, 0, 0, 0, 0};
    }
    return bytes;
}

// Where upright pixel (x, y) of a `width` x `height` upright photo was stored,
// as the eight EXIF orientations are defined: 2 mirrors left and right, 3 is a
// half turn, 4 mirrors top and bottom, 5 mirrors along the main diagonal, 6
// turns a quarter clockwise, 7 mirrors along the other diagonal, 8 turns a
// quarter anticlockwise.
std::pair<int, int> stored_position(int orientation, int x, int y, int width, int height)
{
    switch (orientation) {
    case 2: return {width - 1 - x, y};
    case 3: return {width - 1 - x, height - 1 - y};
    case 4: return {x, height - 1 - y};
    case 5: return {y, x};
    case 6: return {y, width - 1 - x};
    case 7: return {height - 1 - y, width - 1 - x};
    case 8: return {height - 1 - y, x};
    default: return {x, y};
    }
}

Picture slowly_upright(const Picture& stored, int orientation)
{
    const bool turned = orientation >= 5 && orientation <= 8;
    Picture upright(turned ? stored.height() : stored.width(), turned ? stored.width() : stored.height());
    for (int y = 0; y < upright.height(); ++y) {
        for (int x = 0; x < upright.width(); ++x) {
            const auto [sx, sy] = stored_position(orientation, x, y, upright.width(), upright.height());
            upright.at(x, y) = stored.at(sx, sy);
        }
    }
    return upright;
}

class PngReading : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string name = (fs::temp_directory_path() / "korven-png-XXXXXX").string();
        ASSERT_NE(mkdtemp(name.data()), nullptr);
        folder_ = name;
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    fs::path folder_;
    std::mt19937 random_{20240611};
};

TEST_F(PngReading, EveryKindOfPixelReadsAsItsLevelsOverWhiteInterlacedOrNot)
{
    std::vector<PngContent> files;
    // Every 16-bit level, each rounded to the nearest 8-bit one (0x12FF is 0x13, not 0x12).
    PngContent grey16{256, 256, 16, PNG_COLOR_TYPE_GRAY};
    for (int v = 0; v < 65536; ++v) grey16.samples.push_back(v);
    files.push_back(grey16);
    files.push_back({13, 7, 16, PNG_COLOR_TYPE_RGB, random_samples(13 * 7 * 3, 16, random_)});
    files.push_back({13, 7, 2, PNG_COLOR_TYPE_GRAY, random_samples(13 * 7, 2, random_)});
    files.push_back({13, 7, 8, PNG_COLOR_TYPE_GRAY_ALPHA, random_samples(13 * 7 * 2, 8, random_)});
    files.push_back({13, 7, 16, PNG_COLOR_TYPE_RGB_ALPHA, random_samples(13 * 7 * 4, 16, random_)});
    // A palette whose first entry is clear, second half clear and third opaque.
    PngContent palette{9, 5, 4, PNG_COLOR_TYPE_PALETTE, random_samples(9 * 5, 8, random_)};
    for (int& s : palette.samples) s %= 3;
    palette.palette = {{200, 10, 30}, {40, 250, 90}, {7, 8, 255}};
    palette.palette_alpha = {0, 128};
    files.push_back(palette);
    // Every alpha over random colours, then the same colours opaque.
    PngContent rgba{256, 3, 8, PNG_COLOR_TYPE_RGB_ALPHA, random_samples(256 * 3 * 4, 8, random_)};
    for (int i = 0; i < 256 * 3; ++i) rgba.samples[4 * i + 3] = i % 256;
    files.push_back(rgba);
    for (int i = 0; i < 256 * 3; ++i) rgba.samples[4 * i + 3] = 255;
    files.push_back(rgba);

    for (std::size_t f = 0; f < files.size(); ++f) {
        bool transparent = false;
        const Picture expected = expected_picture(files[f], transparent);
        for (const bool interlaced : {false, true}) {
            SCOPED_TRACE("file " + std::to_string(f) + (interlaced ? ", interlaced" : ""));
            files[f].interlaced = interlaced;
            write_png(files[f], path("levels.png"));
            Picture picture;
            fe::PngFacts facts;
            ASSERT_TRUE(fe::read_png(path("levels.png"), picture, facts).ok);
            EXPECT_TRUE(picture == expected);
            EXPECT_EQ(facts.composited_transparency, transparent);
            EXPECT_FALSE(facts.has_exif_chunk);
            EXPECT_EQ(facts.exif_orientation, 1);
            EXPECT_EQ(fe::picture_file_pixels(path("levels.png")), 1LL * expected.width() * expected.height());
        }
    }
}

TEST_F(PngReading, TheEightOrientationsTurnAsDefined)
{
    Picture stored(5, 3);
    for (Colour& p : stored.pixels()) p = random_() & 0xFFFFFFu;
    for (int orientation = 0; orientation <= 9; ++orientation)
        EXPECT_TRUE(turned_upright(stored, orientation) == slowly_upright(stored, orientation)) << orientation;

    // In a file: the eXIf chunk's orientation in either byte order; a damaged chunk leaves the photo as stored.
    PngContent content{5, 3, 8, PNG_COLOR_TYPE_RGB, random_samples(5 * 3 * 3, 8, random_)};
    bool transparent = false;
    const Picture expected = expected_picture(content, transparent);
    std::vector<png_byte> cut = exif_bytes(true, 6);
    cut.resize(20);  // the directory's one entry cut short
    // The chunk may come before the pixels or after them.
    for (const auto& [exif, orientation] : {std::pair{exif_bytes(true, 6), 6}, {exif_bytes(false, 8), 8}, {cut, 1}}) {
        content.exif = exif;
        content.exif_after_pixels = orientation == 8;
        write_png(content, path("turned.png"));
        Picture picture;
        fe::PngFacts facts;
        ASSERT_TRUE(fe::read_png(path("turned.png"), picture, facts).ok);
        EXPECT_TRUE(facts.has_exif_chunk);
        EXPECT_EQ(facts.exif_orientation, orientation);
        EXPECT_TRUE(picture == slowly_upright(expected, orientation)) << orientation;
    }
}

TEST_F(PngReading, DamagedAndOtherFilesAreRefusedAndTheOldPictureKept)
{
    // Noise, so that half the compressed data holds about half the rows.
    write_png({64, 64, 8, PNG_COLOR_TYPE_RGB, random_samples(64 * 64 * 3, 8, random_)}, path("whole.png"));
    std::ifstream in(path("whole.png"), std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::size_t data = bytes.find("IDAT");
    ASSERT_NE(data, std::string::npos);
    std::ofstream(path("cut.png"), std::ios::binary) << bytes.substr(0, data + (bytes.size() - data) / 2);
    std::ofstream(path("text.png")) << "not a picture at all\n";
    fs::create_directory(path("folder.png"));
    ASSERT_EQ(mkfifo(path("pipe.png").c_str(), 0600), 0);

    const Picture before(3, 2);
    for (const auto& [name, words] : {std::pair{"cut.png", "not a PNG picture"}, {"text.png", "not a PNG picture"},
                                      {"missing.png", "does not exist"}, {"folder.png", "folder"},
                                      {"pipe.png", "cannot be read"}}) {
        Picture picture = before;
        fe::PngFacts facts;
        facts.exif_orientation = 7;
        const FileResult result = fe::read_png(path(name), picture, facts);
        EXPECT_FALSE(result.ok) << name;
        EXPECT_NE(result.reason.find(words), std::string::npos) << name << ": " << result.reason;
        EXPECT_TRUE(picture == before) << name;
        EXPECT_EQ(facts.exif_orientation, 7) << name;
    }
    EXPECT_EQ(fe::picture_file_pixels(path("text.png")), 0);
    EXPECT_EQ(fe::picture_file_pixels(path("cut.png")), 64 * 64);
}

}  // namespace
}  // namespace korven
