// Loading a picture with "LOAD" or by dropping it, and every way a load is
// refused without changing anything.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "files/image_files.h"
#include "tests/display/picture_files.h"
#include "tests/support/jpeg_writer.h"
#include "tests/support/script.h"

namespace korven::test {
namespace {

using Loading = DisplayTest;

// Everything a successful load of `bmp_path` holding `picture` shows.
void expect_loaded(const std::string& bmp_path, const Picture& picture)
{
    const State& s = state();
    const std::string w = std::to_string(picture.width()), h = std::to_string(picture.height());
    EXPECT_EQ(s.pictures[original_slot], picture);
    EXPECT_EQ(s.pictures[adjusted_slot], picture);
    EXPECT_EQ(s.pictures.shared(original_slot), s.pictures.shared(adjusted_slot));  // one picture serves both
    EXPECT_EQ(s.picture_width[0], picture.width());
    EXPECT_EQ(s.picture_height[0], picture.height());
    EXPECT_EQ(s.picture_width[1], picture.width());
    EXPECT_EQ(s.picture_height[1], picture.height());
    EXPECT_EQ(s.shown_width, picture.width());
    EXPECT_EQ(s.shown_height, picture.height());
    EXPECT_EQ(s.shown_picture, adjusted_slot);
    EXPECT_EQ(s.file_path, bmp_path);
    EXPECT_EQ(text("EDIT1"), bmp_path);
    EXPECT_EQ(text("TEXT1"), "Size:(" + w + "," + h + ")");
    EXPECT_EQ(text("TEXT18"), "Adjasted>Size:(" + w + "," + h + ")");
    const std::string name = std::filesystem::path(bmp_path).filename().string();
    EXPECT_EQ(s.file_title, name);
    EXPECT_EQ(caption(ui().FORM2), "KORVEN-Adjusted/" + name);
    EXPECT_TRUE(fe::is_window_visible(ui().FORM2));
    EXPECT_EQ(s.view_left + s.view_top + s.zoom_in_on + s.zoom_out_on + s.trim_box_on, 0);
    EXPECT_EQ(s.zoom_in_factor * s.zoom_out_divisor, 1);
    EXPECT_EQ(fe::testing::canvas_pixel(ui().FORM2, 14, 14), picture.at(0, 0));
}

// Exactly one message, naming the file and saying why.
void expect_one_message_about(const std::string& file)
{
    ASSERT_EQ(messages().size(), 1u);
    const std::string& message = messages().front();
    EXPECT_NE(message.find(file), std::string::npos) << message;
    EXPECT_GT(message.size(), file.size() + 20) << message;
    fe::testing::script().messages.clear();
}

TEST_F(Loading, LoadAsksForABmpOrJpegFileAndShowsIt)
{
    const Picture picture = coordinate_picture(640, 480);
    const std::string file = write_bmp("photo.BMP", picture);
    load(file);
    EXPECT_EQ(fe::testing::script().dialog_titles, std::vector<std::string>{"Load Image"});
    expect_loaded(file, picture);
    EXPECT_EQ(text("TEXT1"), "Size:(640,480)");
    EXPECT_TRUE(messages().empty());
}

TEST_F(Loading, CancellingTheDialogChangesNothing)
{
    load_picture(coordinate_picture(30, 20));
    const LoadState before = load_state();
    click("BUTTON2");  // no answer scripted: the dialog is cancelled
    EXPECT_EQ(load_state(), before);
    EXPECT_TRUE(messages().empty());
}

TEST_F(Loading, UpperCaseJpegIsConvertedToABmpFileBesideIt)
{
    const std::string jpeg = copy_testdata("jpeg/testorig.jpg", "cat.JPG");
    load(jpeg);
    const std::string bmp = path("cat.bmp");
    ASSERT_TRUE(std::filesystem::exists(bmp));
    Picture written;
    ASSERT_TRUE(fe::load_file(written, bmp).ok);
    EXPECT_EQ(written.width(), 227);
    EXPECT_EQ(written.height(), 149);
    expect_loaded(bmp, written);
    EXPECT_TRUE(std::filesystem::exists(jpeg));
    EXPECT_TRUE(messages().empty());
}

TEST_F(Loading, EndingsInMixedCaseOrOfOtherFormatsChangeNothing)
{
    load_picture(coordinate_picture(30, 20));
    const LoadState before = load_state();
    for (const char* name : {"cat.Jpg", "cat.Jpeg", "cat.Bmp", "cat.Png", "cat.gif"}) {
        const std::string file = copy_testdata("jpeg/testorig.jpg", name);
        load(file);
        EXPECT_EQ(load_state(), before) << name;
        ASSERT_EQ(messages().size(), 1u) << name;
        EXPECT_NE(messages().front().find(".bmp, .BMP, .jpg, .JPG, .jpeg, .JPEG, .png or .PNG"), std::string::npos);
        expect_one_message_about(file);
        drop({file});
        EXPECT_EQ(load_state(), before) << name;
        expect_one_message_about(file);
    }
    EXPECT_FALSE(std::filesystem::exists(path("cat.bmp")));
}

TEST_F(Loading, OneDroppedFileLoadsLikeLoadButSeveralChangeNothing)
{
    const Picture first = coordinate_picture(100, 50);
    const Picture second = coordinate_picture(500, 400);
    const std::string first_file = write_bmp("first.bmp", first);
    const std::string second_file = write_bmp("second.bmp", second);

    drop({first_file, second_file});
    EXPECT_FALSE(fe::is_window_visible(ui().FORM2));
    EXPECT_TRUE(state().pictures[original_slot].empty());
    EXPECT_EQ(text("EDIT1"), "");

    drop({first_file});
    expect_loaded(first_file, first);
    EXPECT_EQ(fe::get_width(ui().FORM2), 122);
    EXPECT_EQ(fe::get_height(ui().FORM2), 98);

    const LoadState before = load_state();
    drop({first_file, second_file});
    drop({});
    EXPECT_EQ(load_state(), before);
    EXPECT_TRUE(messages().empty());

    drop({copy_testdata("jpeg/testorig.jpg", "rose.jpg")});
    EXPECT_EQ(state().shown_width, 227);
    EXPECT_EQ(text("EDIT1"), path("rose.bmp"));
}

TEST_F(Loading, LoadingResetsTheToolsAndShowsTheAdjustedPicture)
{
    load_picture(coordinate_picture(1000, 800), "first.bmp");
    click("CHECK7");
    move_slider("HSCROLL1", 100);
    fe::set_check(control("CHECK1"), 1);
    state().trim_box_on = 1;
    state().shown_picture = analysis_slot;
    const Picture analysis_before = state().analysis_picture;

    const Picture picture = coordinate_picture(900, 900);
    load_picture(picture, "second.bmp");
    expect_loaded(path("second.bmp"), picture);
    EXPECT_FALSE(checked("CHECK1"));
    EXPECT_FALSE(checked("CHECK7"));
    EXPECT_TRUE(enabled("EDIT44"));
    EXPECT_EQ(slider("HSCROLL1"), 0);
    EXPECT_EQ(fe::testing::slider_maximum(control("HSCROLL1")), 540);
    // No stray line is drawn into the analysis picture.
    EXPECT_EQ(state().analysis_picture, analysis_before);
}

TEST_F(Loading, PictureNearlyAsWideAsTheLargestWhileReducedGrowsTheWindowWithoutWrapping)
{
    load_picture(coordinate_picture(1000, 800), "first.bmp");
    retype("EDIT44", "99");
    click("CHECK7");  // the view is 99 times the drawing area: as wide as 16 bits go
    load_picture(coordinate_picture(32750, 2), "wide.bmp");
    // The fit makes the window hold the picture, as far as a 16-bit size goes.
    EXPECT_EQ(state().picture_window_width, 32767);
    EXPECT_EQ(fe::get_width(ui().FORM2), 32767);
    EXPECT_EQ(state().view_width, 32767 - 22);
}

TEST_F(Loading, UnreadableFilesChangeNothingAndSayWhy)
{
    load_picture(coordinate_picture(30, 20), "good.bmp");
    const LoadState before = load_state();

    std::vector<char> whole = file_bytes(write_bmp("whole.bmp", coordinate_picture(64, 64)));
    std::vector<char> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(whole.size() / 2));
    std::vector<char> corrupt = whole;
    corrupt[10] = corrupt[11] = corrupt[12] = '\x7f';  // pixels said to start far beyond the end
    std::filesystem::create_directory(path("folder.bmp"));
    const std::vector<std::string> refused = {
        path("missing.bmp"),
        write_bytes("cut.bmp", cut),
        write_bytes("corrupt.bmp", corrupt),
        write_bytes("text.bmp", {'h', 'e', 'l', 'l', 'o', '\n'}),
        write_bytes("empty.BMP", {}),
        path("folder.bmp"),
        write_bmp("wide.bmp", Picture(40000, 1)),
        write_bmp("tall.bmp", Picture(1, 40000)),
    };
    for (const std::string& file : refused) {
        load(file);
        EXPECT_EQ(load_state(), before) << file;
        expect_one_message_about(file);
        drop({file});
        EXPECT_EQ(load_state(), before) << file;
        expect_one_message_about(file);
    }
}

TEST_F(Loading, FailedFirstLoadLeavesThePictureWindowHidden)
{
    load(path("missing.bmp"));
    EXPECT_FALSE(fe::is_window_visible(ui().FORM2));
    EXPECT_TRUE(state().pictures[original_slot].empty());
    EXPECT_EQ(text("TEXT1"), "Size:(0000,0000)");
    expect_one_message_about(path("missing.bmp"));
}

// A copy of the rose JPEG whose header claims another size.
std::vector<char> jpeg_claiming(const std::string& source, int width, int height)
{
    std::vector<char> bytes = file_bytes(source);
    for (std::size_t at = 2; at + 9 < bytes.size(); ++at) {
        if (bytes[at] == '\xff' && bytes[at + 1] == '\xc0') {  // start of frame
            bytes[at + 5] = static_cast<char>(height >> 8);
            bytes[at + 6] = static_cast<char>(height & 255);
            bytes[at + 7] = static_cast<char>(width >> 8);
            bytes[at + 8] = static_cast<char>(width & 255);
            return bytes;
        }
    }
    ADD_FAILURE() << "no start of frame in " << source;
    return bytes;
}

TEST_F(Loading, JpegThatCannotBeConvertedChangesNothingAndWritesNothing)
{
    load_picture(coordinate_picture(30, 20), "good.bmp");
    const LoadState before = load_state();
    const std::string rose = testdata("jpeg/testorig.jpg");
    const std::vector<std::string> refused = {
        write_bytes("garbage.jpg", {'\xff', '\xd8', '\xff', 'x', 'y', 'z'}),
        write_bytes("huge.jpg", jpeg_claiming(rose, 30000, 30000)),  // too large for memory
        write_bytes("wide.jpg", jpeg_claiming(rose, 40000, 10)),
        path("missing.jpg"),
    };
    for (const std::string& file : refused) {
        load(file);
        EXPECT_EQ(load_state(), before) << file;
        expect_one_message_about(file);
        EXPECT_FALSE(std::filesystem::exists(file.substr(0, file.size() - 4) + ".bmp")) << file;
    }
}

// An honest 1-bit BMP of 32767 x 32767: 128 MB on disk (a sparse file here),
// 4.3 GB for each of the two pictures a load makes.
std::string write_huge_bmp(const std::string& path)
{
    constexpr std::uint32_t side = 32767, row = (side + 31) / 32 * 4, offset = 14 + 40 + 8;
    // File size, reserved, pixel offset; the info header: its size, width,
    // height, planes and bits, compression, data size, density, colours.
    const std::uint32_t header[] = {offset + row * side, 0, offset, 40, side, side, 1 | (1 << 16), 0,
                                    row * side, 2835, 2835, 2, 0};
    std::ofstream file(path, std::ios::binary);
    file.write("BM", 2);
    file.write(reinterpret_cast<const char*>(header), sizeof header);
    file.write("\0\0\0\0\xff\xff\xff\0", 8);  // black and white
    file.close();
    std::filesystem::resize_file(path, offset + std::uint64_t{row} * side);
    return path;
}

// The address space in use now, from /proc/self/statm.
std::uint64_t address_space_in_use()
{
    std::uint64_t pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    return pages * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
}

TEST_F(Loading, PictureTooLargeForMemoryIsRefusedBeforeAnythingIsAllocated)
{
    load_picture(coordinate_picture(30, 20), "good.bmp");
    const LoadState before = load_state();
    const std::string huge = write_huge_bmp(path("huge.bmp"));
    // In a child whose address space may grow by 1 GB only, the 8.6 GB the
    // load needs are refused, with one message, before any is asked for.
    const pid_t child = fork();
    if (child == 0) {
        const rlimit limit{address_space_in_use() + (1 << 30), RLIM_INFINITY};
        if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(2);
        load(huge);
        const bool refused = load_state() == before && messages().size() == 1 &&
                             messages()[0].find("memory") != std::string::npos;
        _exit(refused ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;

    // A machine with too little memory for a JPEG photo's two pictures.
    const std::string photo = copy_testdata("jpeg/testorig.jpg", "rose.jpg");
    fe::testing::script().memory_bytes = 2 * 4 * 227 * 149 - 1;
    load(photo);
    EXPECT_EQ(load_state(), before);
    expect_one_message_about(photo);
    EXPECT_FALSE(std::filesystem::exists(path("rose.bmp")));
}

TEST_F(Loading, FailedWriteOfTheConvertedFileIsReported)
{
    load_picture(coordinate_picture(30, 20), "good.bmp");
    const LoadState before = load_state();
    const std::string jpeg = copy_testdata("jpeg/testorig.jpg", "rose.jpg");
    fe::testing::script().fail_next_write = true;
    load(jpeg);
    EXPECT_EQ(load_state(), before);
    expect_one_message_about(jpeg);
    EXPECT_FALSE(std::filesystem::exists(path("rose.bmp")));
}

TEST_F(Loading, DifferentBmpBesideAJpegIsReplacedOnlyAfterAYes)
{
    load_picture(coordinate_picture(30, 20), "good.bmp");
    const LoadState before = load_state();
    const std::string jpeg = copy_testdata("jpeg/testorig.jpg", "rose.jpg");
    const std::string bmp = write_bmp("rose.bmp", coordinate_picture(5, 5));
    const std::vector<char> kept = file_bytes(bmp);

    answer_next_question(false);
    load(jpeg);
    EXPECT_EQ(load_state(), before);
    EXPECT_EQ(file_bytes(bmp), kept);
    expect_one_message_about(bmp);  // the question names the file it would replace

    answer_next_question(true);
    load(jpeg);
    ASSERT_EQ(messages().size(), 1u);
    Picture converted;
    ASSERT_TRUE(fe::load_file(converted, bmp).ok);
    EXPECT_EQ(converted.width(), 227);
    expect_loaded(bmp, converted);
}

TEST_F(Loading, BmpHoldingTheSamePictureIsReusedQuietly)
{
    const std::string jpeg = copy_testdata("jpeg/testorig.jpg", "rose.jpg");
    load(jpeg);
    const std::string bmp = path("rose.bmp");
    const auto long_ago = std::filesystem::last_write_time(bmp) - std::chrono::hours(24);
    std::filesystem::last_write_time(bmp, long_ago);
    load_picture(coordinate_picture(30, 20), "other.bmp");

    load(jpeg);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(std::filesystem::last_write_time(bmp), long_ago);  // not written again
    EXPECT_EQ(state().shown_width, 227);
    EXPECT_EQ(text("EDIT1"), bmp);
}

// 20 megapixels take long to load, convert and save: the busy cursor shows
// meanwhile and is gone when the handler returns; smaller pictures show none.
TEST_F(Loading, LargePicturesShowTheBusyCursorWhileLoadingConvertingAndSaving)
{
    const int& shown = fe::testing::script().busy_cursors_shown;
    const int before = shown;
    load_picture(coordinate_picture(640, 480), "small.bmp");
    EXPECT_EQ(shown, before);

    const Picture large = coordinate_picture(5000, 4000);
    load_picture(large, "large.bmp");
    expect_loaded(path("large.bmp"), large);
    EXPECT_EQ(shown, before + 1);

    answer_next_dialog(path("saved.bmp"));
    click("BUTTON6");
    EXPECT_TRUE(std::filesystem::exists(path("saved.bmp")));
    EXPECT_EQ(shown, before + 2);

    ASSERT_TRUE(korven::write_jpeg(large, path("photo.jpg"), 90));
    load(path("photo.jpg"));
    EXPECT_EQ(text("EDIT1"), path("photo.bmp"));
    EXPECT_EQ(shown, before + 3);
    EXPECT_FALSE(fe::testing::busy_cursor_up());
    EXPECT_TRUE(messages().empty());

    // Refused from its header alone: the message comes with no busy cursor before it.
    fe::testing::script().memory_bytes = 1000;
    load(path("large.bmp"));
    EXPECT_EQ(shown, before + 3);
    EXPECT_EQ(messages().size(), 1u);
}

}  // namespace
}  // namespace korven::test
