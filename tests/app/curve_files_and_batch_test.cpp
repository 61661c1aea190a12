// Curve files through Ctrl+Shift+S and Ctrl+Shift+O, and `korven --apply`
// run as a user runs it: the real program, with no display at all.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "files/colour_profile.h"
#include "files/curve_file.h"
#include "files/image_files.h"
#include "files/picture_jobs.h"
#include "tests/display/picture_files.h"
#include "tests/support/camera_photo.h"
#include "tests/support/script.h"

extern char** environ;

namespace korven::test {
namespace {

namespace fs = std::filesystem;

using CurveFiles = DisplayTest;
using Batch = DisplayTest;

const Picture& adjusted() { return state().pictures[adjusted_slot]; }

// A photo with smooth gradients and some texture, so a curve changes every pixel differently.
Picture textured_photo(int width, int height)
{
    Picture picture = Picture::for_overwrite(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.at(x, y) = rgb((40 + 180 * x / width + 7 * (x * y % 5)) & 255, 30 + 200 * y / height,
                                   (220 - 170 * (x + y) / (width + height) + 3 * (x % 7)) & 255);
    return picture;
}

struct Levels {
    std::vector<int> sliders;
    std::vector<std::string> fields;
    bool operator==(const Levels&) const = default;
};

Levels curve_controls()
{
    Levels levels;
    for (int k = 0; k < curve_points; ++k) {
        levels.sliders.push_back(slider("VSCROLL" + std::to_string(k + 2)));
        levels.fields.push_back(text("EDIT" + std::to_string(k + 10)));
    }
    return levels;
}

std::string mode_checked()
{
    for (const char* radio : {"RADIO1", "RADIO2", "RADIO3", "RADIO4"})
        if (checked(radio)) return radio;
    return "none";
}

TEST_F(CurveFiles, ASavedCurveLoadsIntoAFreshProgramAsItWasAndUndoes)
{
    const std::string photo = write_bmp("photo.bmp", textured_photo(64, 48));
    load(photo);
    move_slider("VSCROLL6", 90);
    click("BUTTON5");         // "exp"
    retype("EDIT30", "300");  // level 255
    click("RADIO3");          // "G"
    click("BUTTON1");
    const Picture drawn = adjusted();
    const Levels levels = curve_controls();
    answer_next_dialog(path("mine"));  // no ending typed: ours is added
    press("Ctrl+Shift+S");
    ASSERT_TRUE(fs::exists(path("mine.kcurve")));

    ProgramTest::TearDown();  // a fresh program; the test's folder stays
    ProgramTest::SetUp();
    const Levels fresh = curve_controls();
    load(photo);
    answer_next_dialog(path("mine.kcurve"));
    press("Ctrl+Shift+O");
    EXPECT_EQ(fe::testing::script().dialog_titles.back(), "Load curve");
    EXPECT_EQ(adjusted(), state().pictures[original_slot]);  // loading a curve does not DRAW
    Levels expected = levels;
    expected.fields[20] = "255";  // the file keeps levels, not what was typed
    EXPECT_EQ(curve_controls(), expected);
    EXPECT_EQ(mode_checked(), "RADIO3");
    click("BUTTON1");
    EXPECT_EQ(adjusted(), drawn);

    // One undo step puts the fresh curve and mode back; the drawn picture waits for its own.
    press("Ctrl+Z");
    press("Ctrl+Z");
    EXPECT_EQ(curve_controls(), fresh);
    EXPECT_EQ(mode_checked(), "RADIO1");

    // With live DRAW on, a dropped curve file is drawn as any curve change is.
    press("Ctrl+L");
    drop({path("mine.kcurve")});
    fe::testing::process_events();
    EXPECT_EQ(adjusted(), drawn);
    press("Ctrl+Z");
    fe::testing::process_events();
    EXPECT_EQ(adjusted(), state().pictures[original_slot]);
    EXPECT_TRUE(messages().empty());

    // A broken file changes nothing and names its line.
    std::ofstream(path("broken.kcurve")) << "KORVEN curve 1\nmode all\nlevels 0 8 16\n";
    answer_next_dialog(path("broken.kcurve"));
    press("Ctrl+Shift+O");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_NE(messages()[0].find("line 3"), std::string::npos) << messages()[0];
    EXPECT_EQ(curve_controls(), fresh);
}

// ------------------------------------------------------------ the batch

struct Finished {
    int status = -1;
    std::string out, err;
    long peak_kb = 0;  // the largest resident size the program reached
};

std::string contents(const std::string& path)
{
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

// Runs the real program with `arguments` and no display server in its environment.
Finished run_korven(const std::vector<std::string>& arguments, const std::string& folder)
{
    std::vector<std::string> owned{KORVEN_PROGRAM};
    owned.insert(owned.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& a : owned) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> kept;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (!entry.starts_with("DISPLAY=") && !entry.starts_with("WAYLAND_DISPLAY=") &&
            !entry.starts_with("QT_QPA_PLATFORM="))
            kept.push_back(entry);
    }
    // The sanitizers' quarantine would count freed memory as the program's.
    kept.push_back("ASAN_OPTIONS=quarantine_size_mb=1:detect_leaks=1");
    std::vector<char*> env;
    for (std::string& e : kept) env.push_back(e.data());
    env.push_back(nullptr);

    const std::string out = folder + "/stdout.txt", err = folder + "/stderr.txt";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t child = 0;
    Finished finished;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), env.data()) == 0) {
        // Its peak is read while it runs: the figure at its end would count this process's size as its start.
        int status = 0;
        while (waitpid(child, &status, WNOHANG) == 0) {
            std::ifstream proc("/proc/" + std::to_string(child) + "/status");
            for (std::string line; std::getline(proc, line);)
                if (line.starts_with("VmHWM:")) finished.peak_kb = std::max(finished.peak_kb, std::atol(line.c_str() + 6));
            usleep(2000);
        }
        finished.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    finished.out = contents(out);
    finished.err = contents(err);
    fs::remove(out);
    fs::remove(err);
    return finished;
}

std::vector<std::string> files_in(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

int lines_with(const std::string& text, const std::string& part)
{
    int count = 0;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) count += line.find(part) != std::string::npos;
    return count;
}

TEST_F(Batch, WritesWhatLoadDrawAndSaveWriteWithNoDisplay)
{
    const std::vector<std::uint8_t> profile = adobe_rgb_profile_bytes();
    fs::create_directories(path("photos"));
    fs::create_directories(path("results"));
    const std::string camera = path("photos/camera.jpg");
    // Turned upright it is 70 rows: bands of rows, the last one short, for the batch's drawing.
    ASSERT_TRUE(write_camera_photo(textured_photo(100, 70), camera, 6, profile));
    const LoadedPicture camera_read = read_photo_only(camera);
    const std::string png = path("photos/scan.png");
    ASSERT_TRUE(save_picture(textured_photo(50, 70), png, {.metadata = &camera_read.metadata}));
    const std::string bmp = path("photos/plain.bmp");
    ASSERT_TRUE(save_picture(textured_photo(33, 21), bmp));

    ToneCurve curve{identity_levels(), DrawMode::all};
    for (int k = 0; k < curve_points; ++k) curve.levels[k] = static_cast<std::int16_t>(std::min(255, k * 10));
    for (const DrawMode mode : {DrawMode::all, DrawMode::blue}) {
        SCOPED_TRACE(static_cast<int>(mode));
        curve.mode = mode;
        ASSERT_TRUE(save_curve_file(curve, path("curve.kcurve")));
        fs::remove_all(path("results"));
        fs::create_directories(path("results"));
        const Finished batch = run_korven({"--apply", path("curve.kcurve"), "--out", path("results"), "--jobs", "2",
                                           camera, png, bmp}, path(""));
        ASSERT_EQ(batch.status, 0) << batch.err;
        EXPECT_EQ(batch.out, "3 done, 0 skipped, 0 failed\n");
        EXPECT_EQ(files_in(path("results")),
                  (std::vector<std::string>{"camera-korven.jpg", "plain-korven.bmp", "scan-korven.png"}));
        EXPECT_EQ(files_in(path("photos")), (std::vector<std::string>{"camera.jpg", "plain.bmp", "scan.png"}));

        for (const std::string& photo : {camera, png, bmp}) {
            const std::string ending = fs::path(photo).extension().string();
            const std::string by_program = path("program" + ending);
            load(photo);
            answer_next_dialog(path("curve.kcurve"));
            press("Ctrl+Shift+O");
            click("BUTTON1");
            answer_next_dialog(by_program);
            click("BUTTON6");
            const std::string by_batch = path("results/" + fs::path(photo).stem().string() + "-korven" + ending);
            if (ending != ".jpg") {
                EXPECT_EQ(file_bytes(by_batch), file_bytes(by_program)) << photo;
                continue;
            }
            Picture a, b;
            ASSERT_TRUE(fe::read_jpeg(by_batch, a));
            ASSERT_TRUE(fe::read_jpeg(by_program, b));
            EXPECT_EQ(a, b);
            EXPECT_EQ(read_back_metadata(by_batch).tags, read_back_metadata(by_program).tags);
            EXPECT_EQ(read_back_metadata(by_batch).icc_profile, profile);
        }
        fs::remove(path("photos/camera.bmp"));  // the program's load wrote it beside the JPEG
    }
    EXPECT_TRUE(messages().empty());
}

TEST_F(Batch, BrokenPhotosFailAloneAndTheNextRunSkipsWhatIsDone)
{
    // 17 photos of three formats, a cut-off JPEG, a text file, a dangling link.
    constexpr int width = 2400, height = 1600;  // 15 MB decoded: holding every photo would show
    const Picture photo = textured_photo(width, height);
    fs::create_directories(path("in"));
    fs::create_directories(path("out"));
    ASSERT_TRUE(write_camera_photo(photo, path("in/p0.jpg"), 1, {}));
    ASSERT_TRUE(save_picture(photo, path("in/p1.png")));
    ASSERT_TRUE(save_picture(photo, path("in/p2.bmp")));
    std::vector<std::string> photos;
    const std::string sources[] = {path("in/p0.jpg"), path("in/p1.png"), path("in/p2.bmp")};
    for (int i = 0; i < 17; ++i) {
        const std::string& source = sources[i % 3];
        photos.push_back(path("in/photo" + std::to_string(i) + fs::path(source).extension().string()));
        fs::copy_file(source, photos.back());
    }
    for (const std::string& source : sources) fs::remove(source);
    const std::vector<char> jpeg = file_bytes(photos[0]);
    write_bytes("in/cut.jpg", std::vector<char>(jpeg.begin(), jpeg.begin() + jpeg.size() / 2));
    write_bytes("in/notes.png", {'n', 'o', 't', 'e', 's', '\n'});
    fs::create_symlink(path("in/gone.jpg"), path("in/link.jpg"));
    for (const char* broken : {"cut.jpg", "notes.png", "link.jpg"})
        photos.insert(photos.begin() + 5, path(std::string("in/") + broken));
    ASSERT_EQ(photos.size(), 20u);
    std::ofstream(path("curve.kcurve")) << curve_file_text({identity_levels(), DrawMode::red});

    std::vector<std::string> arguments{"--apply", path("curve.kcurve"), "--out", path("out"), "--jobs", "1"};
    arguments.insert(arguments.end(), photos.begin(), photos.end());
    const Finished first = run_korven(arguments, path(""));
    EXPECT_EQ(first.status, 1);
    EXPECT_EQ(first.out, "17 done, 0 skipped, 3 failed\n");
    EXPECT_EQ(lines_with(first.err, "failed"), 3) << first.err;
    EXPECT_EQ(lines_with(first.err, "cut.jpg\": the file is cut off"), 1) << first.err;
    EXPECT_EQ(lines_with(first.err, "link.jpg\": the file does not exist"), 1) << first.err;
    EXPECT_EQ(files_in(path("out")).size(), 17u);  // nothing of the three, not even a temporary file
    const double decoded_mb = 4.0 * width * height / 1e6;
    EXPECT_LT(first.peak_kb / 1e3, 4 * decoded_mb + 150);

    const auto written = fs::last_write_time(path("out/photo4-korven.png"));
    arguments[5] = "2";
    const Finished again = run_korven(arguments, path(""));
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(again.out, "0 done, 17 skipped, 3 failed\n");
    EXPECT_EQ(lines_with(again.err, "skipped"), 17);
    EXPECT_EQ(lines_with(again.err, "failed"), 3);
    EXPECT_EQ(fs::last_write_time(path("out/photo4-korven.png")), written);

    // Bad usage ends with 2 before any photo is read; two photos with one result: the later fails.
    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"--apply", path("none.kcurve"), photos[0]},
          {"--apply", path("in/notes.png"), photos[0]},
          {"--apply", path("curve.kcurve")},
          {"--apply", path("curve.kcurve"), "--jobs", "0", photos[0]},
          {"--apply", path("curve.kcurve"), "--bogus", photos[0]}})
        EXPECT_EQ(run_korven(wrong, path("")).status, 2) << wrong[1] << " " << wrong.back();
    fs::create_directories(path("other"));
    const std::string twin = path("other/") + fs::path(photos.back()).filename().string();
    fs::copy_file(photos.back(), twin);
    const Finished same =
        run_korven({"--apply", path("curve.kcurve"), "--out", path("same"), photos.back(), twin}, path(""));
    EXPECT_EQ(same.status, 2) << "the out folder does not exist";
    fs::create_directories(path("same"));
    const Finished twice =
        run_korven({"--apply", path("curve.kcurve"), "--out", path("same"), photos.back(), twin}, path(""));
    EXPECT_EQ(twice.status, 1);
    EXPECT_EQ(twice.out, "1 done, 0 skipped, 1 failed\n");
    EXPECT_EQ(lines_with(twice.err, twin + "\": its result"), 1) << twice.err;
}

}  // namespace
}  // namespace korven::test
