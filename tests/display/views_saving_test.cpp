// "SAVE": what is written, where a save is refused, and that a failed save
// never damages the file it was meant to replace.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <utility>

#include "files/image_files.h"
#include "tests/display/picture_files.h"
#include "tests/support/script.h"

namespace korven::test {
namespace {

namespace fs = std::filesystem;

class Saving : public DisplayTest {
protected:
    // Loads a picture and makes the adjusted picture differ from the original.
    void load_adjusted(int width, int height)
    {
        load_picture(coordinate_picture(width, height), "photo.bmp");
        Picture adjusted = state().pictures[adjusted_slot];
        for (Colour& pixel : adjusted.pixels()) pixel ^= 0x808080u;
        put_picture(adjusted_slot, std::move(adjusted));
    }

    void save_as(const std::string& file)
    {
        answer_next_dialog(file);
        click("BUTTON6");
    }

    std::set<std::string> files_in_folder() const
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(fs::path(path("x")).parent_path()))
            names.insert(entry.path().filename().string());
        return names;
    }
};

std::uint32_t little_endian(const std::vector<char>& bytes, std::size_t at, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// One message that names the file and says why.
void expect_failure_reported(const std::string& file, const std::string& reason)
{
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_NE(messages().front().find(file), std::string::npos) << messages().front();
    EXPECT_NE(messages().front().find(reason), std::string::npos) << messages().front();
    fe::testing::script().messages.clear();
}

TEST_F(Saving, TheAdjustedPictureIsWrittenAsAStandard24BitBmp)
{
    load_adjusted(33, 17);  // rows of 99 bytes need one byte of padding
    const std::string file = path("out.bmp");
    save_as(file);
    EXPECT_EQ(fe::testing::script().dialog_titles.back(), "Save as bitmap");
    EXPECT_TRUE(messages().empty());

    Picture reloaded;
    ASSERT_TRUE(fe::load_file(reloaded, file).ok);
    EXPECT_EQ(reloaded, state().pictures[adjusted_slot]);

    const std::vector<char> bytes = file_bytes(file);
    const std::uint32_t row_bytes = 100;
    ASSERT_EQ(bytes.size(), 54 + row_bytes * 17);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(little_endian(bytes, 2, 4), bytes.size());  // file size
    EXPECT_EQ(little_endian(bytes, 6, 4), 0u);            // reserved
    EXPECT_EQ(little_endian(bytes, 10, 4), 54u);          // pixels follow the headers
    EXPECT_EQ(little_endian(bytes, 14, 4), 40u);          // the common information header
    EXPECT_EQ(little_endian(bytes, 18, 4), 33u);
    EXPECT_EQ(little_endian(bytes, 22, 4), 17u);          // positive: bottom row first
    EXPECT_EQ(little_endian(bytes, 26, 2), 1u);           // planes
    EXPECT_EQ(little_endian(bytes, 28, 2), 24u);          // bits per pixel
    EXPECT_EQ(little_endian(bytes, 30, 4), 0u);           // uncompressed
    const std::uint32_t image_size = little_endian(bytes, 34, 4);
    EXPECT_TRUE(image_size == 0 || image_size == row_bytes * 17) << image_size;
    EXPECT_EQ(little_endian(bytes, 46, 4), 0u);           // no palette
    // The first pixel stored is the bottom-left one, as blue, green, red.
    const Colour bottom_left = state().pictures[adjusted_slot].at(0, 16);
    EXPECT_EQ(little_endian(bytes, 54, 3), (blue_of(bottom_left)) | (green_of(bottom_left) << 8) |
                                              (static_cast<std::uint32_t>(red_of(bottom_left)) << 16));
}

TEST_F(Saving, ANameEndingInPngGetsALosslessRgbPngEveryOtherNameABmp)
{
    load_adjusted(33, 17);
    const Picture& shown = state().pictures[adjusted_slot];
    for (const char* name : {"x.png", "X.PNG"}) {
        save_as(path(name));
        const std::vector<char> bytes = file_bytes(path(name));
        ASSERT_GT(bytes.size(), 26u) << name;
        EXPECT_EQ(std::string(bytes.data(), 8), "\x89PNG\r\n\x1a\n");
        EXPECT_EQ(std::string(bytes.data() + 12, 4), "IHDR");
        EXPECT_EQ(bytes[24], 8);  // bits per channel
        EXPECT_EQ(bytes[25], 2);  // red, green, blue and no alpha
        Picture reloaded;
        ASSERT_TRUE(fe::testing::read_png(path(name), reloaded));
        EXPECT_EQ(reloaded, shown) << name;
    }
    for (const char* name : {"x.bmp", "x", "y.pNg", "x.Jpg"}) {
        save_as(path(name));
        EXPECT_EQ(std::string(file_bytes(path(name)).data(), 2), "BM") << name;
        Picture reloaded;
        ASSERT_TRUE(fe::load_file(reloaded, path(name)).ok);
        EXPECT_EQ(reloaded, shown) << name;
    }
    EXPECT_TRUE(messages().empty());

    // A PNG write that fails is reported as a BMP one is, and leaves no file.
    fe::testing::script().fail_next_write = true;
    save_as(path("z.png"));
    expect_failure_reported(path("z.png"), "full");
    EXPECT_FALSE(fs::exists(path("z.png")));
}

TEST_F(Saving, TheAnalysisPictureIsWrittenWhenShownAndReplacesAnExistingFile)
{
    load_adjusted(40, 30);
    state().analysis_picture.at(5, 6) = rgb(200, 100, 50);
    const std::string file = write_bmp("chart.bmp", coordinate_picture(3, 3));
    click("BUTTON9");  // the analysis picture
    save_as(file);
    Picture reloaded;
    ASSERT_TRUE(fe::load_file(reloaded, file).ok);
    EXPECT_EQ(reloaded, state().analysis_picture);
    EXPECT_EQ(reloaded.width(), 640);
    EXPECT_EQ(reloaded.height(), 648);
    EXPECT_TRUE(messages().empty());
}

TEST_F(Saving, NoDialogWhileTheOriginalIsShownOrBeforeAnyLoad)
{
    click("BUTTON6");
    EXPECT_TRUE(fe::testing::script().dialog_titles.empty());

    load_adjusted(40, 30);
    click("BUTTON9");
    click("BUTTON9");  // the original
    ASSERT_EQ(state().shown_picture, original_slot);
    answer_next_dialog(path("out.bmp"));
    click("BUTTON6");
    EXPECT_EQ(fe::testing::script().dialog_titles, std::vector<std::string>{"Load Image"});
    EXPECT_FALSE(fs::exists(path("out.bmp")));
}

TEST_F(Saving, CancellingTheDialogWritesNothing)
{
    load_adjusted(40, 30);
    const std::set<std::string> before = files_in_folder();
    click("BUTTON6");  // no answer scripted: cancelled
    EXPECT_EQ(fe::testing::script().dialog_titles.back(), "Save as bitmap");
    EXPECT_EQ(files_in_folder(), before);
    EXPECT_TRUE(messages().empty());
}

TEST_F(Saving, AMissingFolderOrAFolderAsTheNameIsReported)
{
    load_adjusted(40, 30);
    const std::string in_missing_folder = path("missing") + "/out.bmp";
    save_as(in_missing_folder);
    expect_failure_reported(in_missing_folder, "does not exist");
    EXPECT_FALSE(fs::exists(path("missing")));

    const std::string folder = path("pictures");
    fs::create_directory(folder);
    save_as(folder);
    expect_failure_reported(folder, "folder");
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_TRUE(fs::is_empty(folder));
}

TEST_F(Saving, AWriteThatFailsHalfWayLeavesTheOldFileWholeAndNoTemporaryFile)
{
    load_adjusted(40, 30);
    const std::string file = write_bmp("keep.bmp", coordinate_picture(7, 5));
    const std::vector<char> old_bytes = file_bytes(file);
    const std::set<std::string> before = files_in_folder();

    fe::testing::script().fail_next_write = true;
    save_as(file);
    expect_failure_reported(file, "full");
    EXPECT_EQ(file_bytes(file), old_bytes);
    EXPECT_EQ(files_in_folder(), before);

    // The next save goes through.
    save_as(file);
    EXPECT_TRUE(messages().empty());
    Picture reloaded;
    ASSERT_TRUE(fe::load_file(reloaded, file).ok);
    EXPECT_EQ(reloaded, state().pictures[adjusted_slot]);
}

}  // namespace
}  // namespace korven::test
