#include "bench/large_jpeg.h"

#include <unistd.h>

#include <string>

#include "bench/bench_support.h"
#include "files/image_files.h"
#include "tests/support/jpeg_writer.h"

namespace korven::bench {

// A folder of this run's own, removed when the run ends: runs side by side
// never meet each other's files (a different .bmp beside a JPEG would stop a
// load at its replace question).
std::filesystem::path scratch_folder()
{
    static const struct Folder {
        std::filesystem::path path =
            std::filesystem::temp_directory_path() / ("korven-bench-" + std::to_string(getpid()));
        Folder() { std::filesystem::create_directories(path); }
        ~Folder()
        {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    } folder;
    return folder.path;
}

std::filesystem::path large_jpeg()
{
    const std::filesystem::path file = scratch_folder() / "large.jpg";
    if (std::filesystem::exists(file)) return file;
    return korven::write_jpeg(photo_like_picture(), file.string(), 90) ? file : std::filesystem::path();
}

}  // namespace korven::bench
