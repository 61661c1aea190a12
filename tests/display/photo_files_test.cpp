// Photos keep what they carry: a camera's metadata and colour profile go
// into every JPEG and PNG saved of the photo; JPEG files are written at the
// quality the user chose last; endings decide the format.
#include <gtest/gtest.h>

#include <jpeglib.h>
#include <zlib.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "files/colour_profile.h"
#include "files/image_files.h"
#include "files/picture_jobs.h"
#include "tests/display/picture_files.h"
#include "tests/support/camera_photo.h"
#include "tests/support/jpeg_writer.h"
#include "tests/support/script.h"

namespace korven::test {
namespace {

namespace fs = std::filesystem;

// A smooth photo, as a camera takes them: JPEG keeps such pictures well.
Picture smooth_photo(int width, int height)
{
    Picture picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.at(x, y) = rgb(40 + 160 * x / width, 60 + 120 * y / height, 200 - 150 * (x + y) / (width + height));
    return picture;
}

void append_chunk(std::vector<char>& file, const std::string& type, const std::vector<unsigned char>& data)
{
    const auto append_u32 = [&](std::uint32_t value) {
        for (int shift = 24; shift >= 0; shift -= 8) file.push_back(static_cast<char>(value >> shift));
    };
    std::vector<unsigned char> named(type.begin(), type.end());  // the CRC covers the name and the data
    named.insert(named.end(), data.begin(), data.end());
    append_u32(static_cast<std::uint32_t>(data.size()));
    file.insert(file.end(), named.begin(), named.end());
    append_u32(static_cast<std::uint32_t>(crc32(0, named.data(), static_cast<uInt>(named.size()))));
}

// A PNG file of one row of 8-bit RGBA pixels, made by hand.
std::vector<char> rgba_png(const std::vector<unsigned char>& rgba)
{
    const auto width = static_cast<unsigned char>(rgba.size() / 4);
    std::vector<char> file = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1a', '\n'};
    append_chunk(file, "IHDR", {0, 0, 0, width, 0, 0, 0, 1, 8, 6, 0, 0, 0});
    std::vector<unsigned char> row = {0};  // no filter
    row.insert(row.end(), rgba.begin(), rgba.end());
    std::vector<unsigned char> packed(compressBound(static_cast<uLong>(row.size())));
    uLongf packed_size = static_cast<uLongf>(packed.size());
    compress(packed.data(), &packed_size, row.data(), static_cast<uLong>(row.size()));
    packed.resize(packed_size);
    append_chunk(file, "IDAT", packed);
    append_chunk(file, "IEND", {});
    return file;
}

class PhotoFiles : public DisplayTest {
protected:
    void save_as(const std::string& file)
    {
        answer_next_dialog(file);
        click("BUTTON6");
    }
    static fe::testing::Script& script() { return fe::testing::script(); }
};

bool is_dimension(const std::string& key)
{
    return key.ends_with("PixelXDimension") || key.ends_with("PixelYDimension");
}

TEST_F(PhotoFiles, ACameraPhotoKeepsEveryTagAndItsProfileThroughDrawAndSave)
{
    const std::string camera = path("camera.jpg");
    const std::vector<std::uint8_t> profile = adobe_rgb_profile_bytes();
    ASSERT_TRUE(write_camera_photo(smooth_photo(64, 48), camera, 6, profile));
    const ReadBackMetadata source = read_back_metadata(camera);
    ASSERT_TRUE(source.tags.contains("Exif.Thumbnail.JPEGInterchangeFormat"));
    ASSERT_TRUE(source.tags.contains("Iptc.Application2.Caption"));

    load(camera);
    ASSERT_EQ(state().pictures[original_slot].width(), 48);  // turned upright
    click("BUTTON4");  // "log"
    click("BUTTON1");  // "DRAW"
    ASSERT_NE(state().pictures[adjusted_slot], state().pictures[original_slot]);
    save_as(path("out.jpg"));
    save_as(path("out.png"));
    EXPECT_TRUE(messages().empty());

    for (const char* name : {"out.jpg", "out.png"}) {
        SCOPED_TRACE(name);
        const ReadBackMetadata saved = read_back_metadata(path(name));
        EXPECT_EQ(saved.icc_profile, profile);
        for (const auto& [key, value] : source.tags) {
            if (key.starts_with("Exif.Thumbnail.")) EXPECT_FALSE(saved.tags.contains(key)) << key;
            else if (key.ends_with(".Orientation")) EXPECT_EQ(saved.tags.at(key), "1");
            else if (is_dimension(key)) EXPECT_EQ(saved.tags.at(key), key.ends_with("XDimension") ? "48" : "64");
            else EXPECT_EQ(saved.tags.contains(key) ? saved.tags.at(key) : "(none)", value) << key;
        }
    }

    // The PNG's EXIF is one eXIf chunk before the picture data, and no text chunk.
    const std::vector<std::string> chunks = png_chunk_types(path("out.png"));
    EXPECT_EQ(std::count(chunks.begin(), chunks.end(), "eXIf"), 1);
    EXPECT_LT(std::find(chunks.begin(), chunks.end(), "eXIf"), std::find(chunks.begin(), chunks.end(), "IDAT"));
    for (const std::string& keyword : png_text_keywords(path("out.png")))
        EXPECT_EQ(keyword.find("exif"), std::string::npos) << keyword;

    // Loaded again, the PNG is the adjusted picture, not turned a second time.
    const LoadedPicture again = korven::load_picture(path("out.png"));
    EXPECT_EQ(again.picture, state().pictures[adjusted_slot]);
    EXPECT_EQ(again.metadata.icc_profile, profile);

    // A BMP file carries none; undoing its load brings the camera's back with the pictures.
    load_picture(smooth_photo(8, 8), "plain.bmp");
    EXPECT_FALSE(state().metadata->tags);
    press("Ctrl+Z");
    ASSERT_EQ(state().pictures[original_slot].width(), 48);
    save_as(path("undone.jpg"));
    EXPECT_EQ(read_back_metadata(path("undone.jpg")).tags.at("Exif.Image.Model"), "TB-24 Mark II");

    // The analysis chart is ours: it carries neither the photo's metadata nor its profile.
    click("BUTTON9");  // "Switch" to the chart
    save_as(path("chart.png"));
    const std::vector<std::string> chart_chunks = png_chunk_types(path("chart.png"));
    EXPECT_EQ(std::count(chart_chunks.begin(), chart_chunks.end(), "eXIf"), 0);
    EXPECT_EQ(std::count(chart_chunks.begin(), chart_chunks.end(), "iCCP"), 0);
    EXPECT_TRUE(read_back_metadata(path("chart.png")).tags.empty());
}

// The quantisation tables libjpeg makes for `quality`, and those of a JPEG file.
std::vector<std::vector<unsigned>> tables_for_quality(int quality)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    info.in_color_space = JCS_RGB;
    info.input_components = 3;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    std::vector<std::vector<unsigned>> tables;
    for (JQUANT_TBL* table : info.quant_tbl_ptrs)
        if (table) tables.emplace_back(table->quantval, table->quantval + DCTSIZE2);
    jpeg_destroy_compress(&info);
    return tables;
}

std::vector<std::vector<unsigned>> tables_of_file(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    std::vector<std::vector<unsigned>> tables;
    for (JQUANT_TBL* table : info.quant_tbl_ptrs)
        if (table) tables.emplace_back(table->quantval, table->quantval + DCTSIZE2);
    EXPECT_FALSE(info.progressive_mode);
    EXPECT_EQ(info.comp_info[0].h_samp_factor, 2);  // 4:2:0
    EXPECT_EQ(info.comp_info[0].v_samp_factor, 2);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return tables;
}

double psnr(const Picture& a, const Picture& b)
{
    double squares = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            for (int shift : {0, 8, 16}) {
                const double d = double((a.at(x, y) >> shift) & 255) - double((b.at(x, y) >> shift) & 255);
                squares += d * d;
            }
    return 10 * std::log10(255.0 * 255.0 / (squares / (3.0 * a.width() * a.height())));
}

TEST_F(PhotoFiles, JpegFilesAreWrittenAtTheQualityChosenLast)
{
    const fs::path settings = fs::path(std::getenv("XDG_CONFIG_HOME")) / "korven" / "korven.conf";
    fs::remove(settings);
    load_picture(smooth_photo(160, 120), "photo.bmp");

    save_as(path("first.jpg"));  // Enter takes the quality offered
    ASSERT_EQ(script().numbers_offered.size(), 1u);
    EXPECT_EQ(script().numbers_offered.back(), 92);
    EXPECT_EQ(script().dialog_titles.back(), "JPEG quality");
    EXPECT_EQ(tables_of_file(path("first.jpg")), tables_for_quality(92));
    Picture decoded;
    ASSERT_TRUE(fe::read_jpeg(path("first.jpg"), decoded));
    EXPECT_GE(psnr(decoded, state().pictures[adjusted_slot]), 38.0);

    script().number_answers.push_back(61);
    save_as(path("second.jpg"));
    EXPECT_EQ(tables_of_file(path("second.jpg")), tables_for_quality(61));

    // The choice is in the settings file, where the next run reads it (as
    // another run wrote it: the file is newer than the one this run wrote).
    std::ofstream(settings) << "[General]\njpeg_quality = 47\n";
    fs::last_write_time(settings, fs::last_write_time(settings) + std::chrono::seconds(2));
    script().number_answers.push_back(std::nullopt);  // Escape
    save_as(path("cancelled.jpg"));
    EXPECT_EQ(script().numbers_offered.back(), 47);
    EXPECT_FALSE(fs::exists(path("cancelled.jpg")));

    // A settings file that cannot be read counts as none.
    std::ofstream(settings, std::ios::binary) << std::string("\xff\xfe[\0\0\x01=", 8);
    fs::last_write_time(settings, fs::last_write_time(settings) + std::chrono::seconds(4));
    save_as(path("third.jpg"));
    EXPECT_EQ(script().numbers_offered.back(), 92);

    // Grain at quality 100 needs more bytes than the encoder first sets aside: they grow, and the file is whole.
    Picture grain(120, 90);
    std::uint32_t seed = 7;
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 120; ++x) grain.at(x, y) = (seed = seed * 1664525u + 1013904223u) >> 8;
    load_picture(grain, "grain.bmp");
    script().number_answers.push_back(100);
    save_as(path("grain.jpg"));
    const std::vector<char> grain_file = file_bytes(path("grain.jpg"));
    EXPECT_GT(grain_file.size(), 16384u);
    EXPECT_EQ(std::string(grain_file.end() - 2, grain_file.end()), "\xff\xd9");  // ends as a JPEG ends
    ASSERT_TRUE(fe::read_jpeg(path("grain.jpg"), decoded));
    EXPECT_EQ(decoded.width(), 120);
    EXPECT_TRUE(messages().empty());
}

TEST_F(PhotoFiles, EndingsChooseTheFormatAndDamagedExifIsDroppedWithOneMessage)
{
    // An APP1 block that says "Exif" but holds no readable EXIF.
    ASSERT_TRUE(write_jpeg(smooth_photo(40, 30), path("plain.jpg"), 90));
    std::vector<char> bytes = file_bytes(path("plain.jpg"));
    const std::string damaged = std::string("\xff\xe1\x00\x12" "Exif\0\0" "XX\x2a\x00\x00\x00\x09\x99", 18);
    bytes.insert(bytes.begin() + 2, damaged.begin(), damaged.end());
    load(write_bytes("damaged.jpg", bytes));
    ASSERT_TRUE(messages().empty());
    ASSERT_EQ(state().file_path, path("damaged.bmp"));

    save_as(path("x.jpeg"));
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_NE(messages().front().find("metadata"), std::string::npos) << messages().front();
    save_as(path("x.PNG"));
    EXPECT_EQ(messages().size(), 1u);  // said once for the photo

    save_as(path("x.Jpg"));
    EXPECT_EQ(file_bytes(path("x.Jpg"))[0], 'B');  // a mixed-case ending is a BMP name
    const Picture shown = state().pictures[adjusted_slot];
    load(path("x.PNG"));
    EXPECT_EQ(state().pictures[original_slot], shown);
    load(path("x.jpeg"));
    EXPECT_EQ(state().file_path, path("x.bmp"));
    EXPECT_GE(psnr(state().pictures[original_slot], shown), 38.0);
    EXPECT_EQ(messages().size(), 1u);
}

TEST_F(PhotoFiles, ATransparentPngIsShownOverWhiteAndADamagedOneChangesNothing)
{
    const std::vector<char> png = rgba_png({200, 10, 20, 255, 0, 0, 0, 0, 0, 0, 255, 128});
    load(write_bytes("clear.png", png));
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_NE(messages().front().find("transparent"), std::string::npos) << messages().front();
    EXPECT_EQ(state().pictures[original_slot].at(0, 0), rgb(200, 10, 20));
    EXPECT_EQ(state().pictures[original_slot].at(1, 0), rgb(255, 255, 255));
    EXPECT_EQ(state().pictures[original_slot].at(2, 0), rgb(127, 127, 255));
    EXPECT_EQ(state().file_path, path("clear.png"));  // read as it is, no BMP file beside it
    EXPECT_FALSE(fs::exists(path("clear.bmp")));

    const LoadState before = load_state();
    load(write_bytes("cut.png", std::vector<char>(png.begin(), png.begin() + 50)));
    EXPECT_EQ(load_state(), before);
    EXPECT_EQ(messages().size(), 2u);
}

}  // namespace
}  // namespace korven::test
