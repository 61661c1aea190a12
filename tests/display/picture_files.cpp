#include "tests/display/picture_files.h"

#include "files/image_files.h"

#include <fstream>
#include <iterator>
#include <random>


namespace korven::test {

Picture coordinate_picture(int width, int height)
{
    Picture picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.at(x, y) = rgb(x & 255, y & 255, ((x >> 8) & 15) | (((y >> 8) & 15) << 4));
    return picture;
}

int column_of(Colour colour) { return red_of(colour) | ((blue_of(colour) & 15) << 8); }
int row_of(Colour colour) { return green_of(colour) | ((blue_of(colour) >> 4) << 8); }

void DisplayTest::SetUp()
{
    ProgramTest::SetUp();
    std::random_device random;
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    do {
        folder_ = base / ("korven-display-" + std::to_string(random()));
    } while (!std::filesystem::create_directory(folder_));
}

void DisplayTest::TearDown()
{
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
    ProgramTest::TearDown();
}

std::string DisplayTest::path(const std::string& name) const { return (folder_ / name).string(); }

std::string DisplayTest::write_bmp(const std::string& name, const Picture& picture) const
{
    const std::string file = path(name);
    const fe::FileResult written = fe::save_file(picture, file);
    EXPECT_TRUE(written.ok) << written.reason;
    return file;
}

std::string DisplayTest::write_bytes(const std::string& name, const std::vector<char>& bytes) const
{
    const std::string file = path(name);
    std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file;
}

std::string DisplayTest::copy_testdata(const std::string& relative, const std::string& name) const
{
    const std::string file = path(name);
    std::filesystem::copy_file(testdata(relative), file);
    std::filesystem::permissions(file, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
    return file;
}

void DisplayTest::load(const std::string& file)
{
    answer_next_dialog(file);
    click("BUTTON2");
}

void DisplayTest::load_picture(const Picture& picture, const std::string& name) { load(write_bmp(name, picture)); }

std::vector<char> file_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

LoadState load_state()
{
    const State& s = state();
    LoadState snapshot;
    snapshot.pictures = {s.pictures[original_slot], s.pictures[adjusted_slot], s.analysis_picture};
    snapshot.sizes = {s.picture_width[0], s.picture_height[0], s.picture_width[1], s.picture_height[1],
                      s.shown_width, s.shown_height, s.shown_picture};
    snapshot.view = {s.view_left, s.view_top, s.view_width, s.view_height, s.picture_window_width,
                     s.picture_window_height, s.zoom_in_on, s.zoom_in_factor, s.zoom_out_on, s.zoom_out_divisor,
                     s.trim_box_on, fe::get_width(ui().FORM2), fe::get_height(ui().FORM2),
                     slider("HSCROLL1"), slider("VSCROLL1"),
                     fe::testing::slider_maximum(control("HSCROLL1")),
                     fe::testing::slider_maximum(control("VSCROLL1"))};
    snapshot.file_path = s.file_path;
    snapshot.file_title = s.file_title;
    for (const char* name : {"EDIT1", "TEXT1", "TEXT18", "EDIT8", "EDIT44"}) snapshot.texts.push_back(text(name));
    snapshot.states = {fe::is_window_visible(ui().FORM2), enabled("HSCROLL1"), enabled("VSCROLL1"),
                       checked("CHECK1"), checked("CHECK2"), checked("CHECK7"), enabled("EDIT8"),
                       enabled("EDIT44")};
    snapshot.caption = caption(ui().FORM2);
    for (int y = 0; y < 400; y += 7)
        for (int x = 0; x < 400; x += 7) snapshot.drawn.push_back(fe::testing::canvas_pixel(ui().FORM2, x, y));
    return snapshot;
}

}  // namespace korven::test
