#include "bench/large_jpeg.h"

#include "bench/bench_support.h"
#include "platform/image_files.h"

namespace korven::bench {

std::filesystem::path scratch_folder()
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "korven-bench";
    std::filesystem::create_directories(folder);
    return folder;
}

std::filesystem::path large_jpeg()
{
    const std::filesystem::path file = scratch_folder() / "large.jpg";
    if (std::filesystem::exists(file)) return file;
    Picture picture(large_width, large_height);
    for (int y = 0; y < large_height; ++y)
        for (int x = 0; x < large_width; ++x)
            picture.at(x, y) = rgb(x * 255 / large_width, y * 255 / large_height, ((x ^ y) & 31) + 100);
    return fe::write_jpeg(picture, file.string(), 90) ? file : std::filesystem::path();
}

}  // namespace korven::bench
