// Loading and saving as whole jobs, with no window and no toolkit: several
// at once on different threads give what each gives alone.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "files/colour_profile.h"
#include "files/image_files.h"
#include "files/picture_jobs.h"
#include "tests/support/camera_photo.h"
#include "tests/support/jpeg_writer.h"

namespace korven {
namespace {

namespace fs = std::filesystem;

std::string bytes_of(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Picture gradient(int width, int height)
{
    Picture picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.at(x, y) = rgb(x * 7 + y, y * 3, (x ^ y) * 5);
    return picture;
}

// What one run of the jobs gives for each photo: the picture loaded, the
// file it stands for, and the bytes of its BMP, PNG and JPEG copies.
struct Outcome {
    Picture picture;
    std::string loaded_from;
    std::string bmp_bytes, png_bytes, jpeg_bytes;
};

constexpr const char* photo_names[] = {"testorig.jpg", "Landscape_6.jpg", "pal8.bmp", "gradient.bmp",
                                       "shade.jpg",    "camera.jpg",      "camera.png"};

class PictureJobs : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Nothing here may need a display or the toolkit.
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) unsetenv(name);
        folder_ = fs::temp_directory_path() / ("korven-jobs-" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    // A folder of its own for one run, with the photos copied into it: a
    // JPEG's BMP file is written beside it, and runs must not share those.
    fs::path photos_for(const std::string& run) const
    {
        const fs::path photos = folder_ / run;
        fs::create_directories(photos);
        fs::copy_file(KORVEN_TEST_DATA "/jpeg/testorig.jpg", photos / "testorig.jpg");
        fs::copy_file(KORVEN_TEST_DATA "/jpeg/Landscape_6.jpg", photos / "Landscape_6.jpg");
        fs::copy_file(KORVEN_TEST_DATA "/bmpsuite/g/pal8.bmp", photos / "pal8.bmp");
        EXPECT_TRUE(fe::save_file(gradient(301, 203), (photos / "gradient.bmp").string()));
        EXPECT_TRUE(write_jpeg(gradient(640, 480), (photos / "shade.jpg").string(), 90));
        // A camera's photo, and a PNG of it that carries what it carried.
        const std::string camera = (photos / "camera.jpg").string();
        static const std::vector<std::uint8_t> profile = adobe_rgb_profile_bytes();  // dated when made
        EXPECT_TRUE(write_camera_photo(gradient(120, 80), camera, 6, profile));
        const LoadedPicture loaded = load_picture(camera);
        fs::remove(photos / "camera.bmp");
        EXPECT_TRUE(save_picture(loaded.picture, (photos / "camera.png").string(), {&loaded.metadata}));
        return photos;
    }

    static std::vector<Outcome> run_jobs(const fs::path& photos)
    {
        std::vector<Outcome> outcomes;
        for (const char* name : photo_names) {
            LoadedPicture loaded = load_picture((photos / name).string());
            EXPECT_TRUE(loaded.loaded()) << name << ": " << loaded.reason;
            const std::string saved = (photos / name).string() + ".saved";
            const SaveOptions options{&loaded.metadata};
            EXPECT_TRUE(save_picture(loaded.picture, saved + ".bmp", options));
            EXPECT_TRUE(save_picture(loaded.picture, saved + ".png", options));
            EXPECT_TRUE(save_picture(loaded.picture, saved + ".jpg", options));
            // EXIF goes into a PNG file as one eXIf chunk, never as text.
            const std::vector<std::string> chunks = png_chunk_types(saved + ".png");
            EXPECT_EQ(std::count(chunks.begin(), chunks.end(), "eXIf"), loaded.metadata.tags ? 1 : 0) << name;
            for (const std::string& keyword : png_text_keywords(saved + ".png"))
                EXPECT_EQ(keyword.find("exif"), std::string::npos) << name << ": " << keyword;
            outcomes.push_back({std::move(loaded.picture), fs::path(loaded.path).filename().string(),
                                bytes_of(saved + ".bmp"), bytes_of(saved + ".png"), bytes_of(saved + ".jpg")});
        }
        return outcomes;
    }

    fs::path folder_;
};

TEST_F(PictureJobs, FourThreadsAtOnceGiveThePicturesAndBytesOfOneAtATime)
{
    const std::vector<Outcome> alone = run_jobs(photos_for("alone"));
    ASSERT_EQ(alone.size(), std::size(photo_names));
    EXPECT_EQ(alone[0].loaded_from, "testorig.bmp");  // a JPEG stands for its BMP file from now on
    EXPECT_EQ(alone[2].picture.width(), 127);
    EXPECT_EQ(alone[3].picture, gradient(301, 203));
    EXPECT_EQ(alone[3].bmp_bytes, bytes_of(folder_ / "alone" / "gradient.bmp"));
    EXPECT_EQ(alone[3].png_bytes.substr(1, 3), "PNG");
    EXPECT_EQ(alone[5].picture.width(), 80);  // the camera's photo, upright
    EXPECT_EQ(alone[6].picture, alone[5].picture);
    EXPECT_EQ(alone[6].loaded_from, "camera.png");  // a PNG file is read as it is

    std::vector<fs::path> photos;
    for (int run = 0; run < 4; ++run) photos.push_back(photos_for("thread" + std::to_string(run)));
    std::vector<std::vector<Outcome>> together(4);
    std::vector<std::thread> threads;
    for (int run = 0; run < 4; ++run)
        threads.emplace_back([&, run] { together[run] = run_jobs(photos[run]); });
    for (std::thread& thread : threads) thread.join();

    for (int run = 0; run < 4; ++run) {
        ASSERT_EQ(together[run].size(), alone.size());
        for (std::size_t i = 0; i < alone.size(); ++i) {
            SCOPED_TRACE("thread " + std::to_string(run) + ", photo " + std::to_string(i));
            EXPECT_EQ(together[run][i].picture, alone[i].picture);
            EXPECT_EQ(together[run][i].loaded_from, alone[i].loaded_from);
            EXPECT_EQ(together[run][i].bmp_bytes, alone[i].bmp_bytes);
            EXPECT_EQ(together[run][i].png_bytes, alone[i].png_bytes);
            EXPECT_EQ(together[run][i].jpeg_bytes, alone[i].jpeg_bytes);
        }
    }
}

// A save replaces a file only when whole, keeps the permissions the file had,
// leaves no temporary file behind, follows a link, and refuses where no file
// can go; a load never waits on a pipe.
TEST_F(PictureJobs, SavingReplacesWholeFilesAndKeepsTheirPermissions)
{
    const fs::path target = folder_ / "photo.png";
    ASSERT_TRUE(save_picture(gradient(8, 8), target.string()));
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    ASSERT_TRUE(save_picture(gradient(9, 9), target.string()));
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
    // Through a symbolic link, the file it points to is replaced and the link stays.
    const std::string nine_by_nine = bytes_of(target);
    fs::create_symlink(target, folder_ / "link.png");
    ASSERT_TRUE(save_picture(gradient(5, 5), (folder_ / "link.png").string()));
    EXPECT_TRUE(fs::is_symlink(folder_ / "link.png"));
    EXPECT_NE(bytes_of(target), nine_by_nine);

    const FileResult into_folder = save_picture(gradient(2, 2), folder_.string());
    EXPECT_EQ(into_folder.reason, "it is a folder");
    const FileResult nowhere = save_picture(gradient(2, 2), (folder_ / "no" / "x.bmp").string());
    EXPECT_FALSE(nowhere);
    EXPECT_EQ(load_picture((folder_ / "photo.gif").string()).outcome, LoadedPicture::Outcome::refused);
    // A pipe that nothing writes to is refused at once, not waited on.
    for (const char* name : {"pipe.bmp", "pipe.jpg", "pipe.png"}) {
        ASSERT_EQ(mkfifo((folder_ / name).c_str(), 0600), 0);
        EXPECT_EQ(load_picture((folder_ / name).string()).outcome, LoadedPicture::Outcome::refused) << name;
    }
}

}  // namespace
}  // namespace korven
