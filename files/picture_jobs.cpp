#include "files/picture_jobs.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <new>
#include <system_error>

#include "core/memory_budget.h"
#include "files/file_endings.h"
#include "files/image_files.h"
#include "files/jpeg_to_bmp.h"
#include "files/png_file.h"

namespace korven {

namespace {

constexpr char no_memory[] = "there is not enough memory for the picture";

LoadedPicture refused(std::string reason)
{
    return {LoadedPicture::Outcome::refused, {}, {}, std::move(reason)};
}

// A load makes two pictures of the file's size, the original and the adjusted
// one. Whether both fit the memory this machine gives the program is settled
// from the file's header, before anything is read or allocated, so a picture
// too large is refused instead of the system ending the program for it. This
// is the only memory check of a load; the readers below it need no other.
std::string memory_refusal(long long pixels)
{
    const std::uint64_t bytes = 2 * static_cast<std::uint64_t>(pixels) * sizeof(Colour);
    if (allocation_fits(bytes)) return {};
    constexpr double megabyte = 1e6, gigabyte = 1e9;
    char needed[32];
    if (bytes >= gigabyte) std::snprintf(needed, sizeof needed, "%.1f GB", bytes / gigabyte);
    else std::snprintf(needed, sizeof needed, "%.0f MB", std::ceil(bytes / megabyte));
    return "the original and the adjusted picture together need " + std::string(needed) +
           " of memory, more than this machine can give";
}

LoadedPicture read_bmp(const std::string& path)
{
    LoadedPicture loaded{LoadedPicture::Outcome::loaded, path};
    try {
        if (const FileResult read = fe::load_file(loaded.picture, path); !read) return refused(read.reason);
    } catch (const std::bad_alloc&) {
        return refused(no_memory);
    }
    if (loaded.picture.empty()) return refused("the file holds no picture");
    return loaded;
}

// From here on only the BMP file beside the JPEG counts (it stays on disk).
LoadedPicture convert_jpeg(const std::string& path)
{
    const std::string bmp_path = bmp_path_for_jpeg(path);
    Conversion conversion = JPEG2BMP(path, bmp_path);
    if (conversion.outcome == ConversionOutcome::failed) return refused(conversion.reason);
    const auto outcome = conversion.outcome == ConversionOutcome::differs ? LoadedPicture::Outcome::bmp_differs
                                                                           : LoadedPicture::Outcome::loaded;
    return {outcome, bmp_path, std::move(conversion.picture)};
}

}  // namespace

// The writers would refuse these too, but with the system's wording.
std::string save_refusal(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path target(path);
    if (fs::is_directory(target, error)) return "it is a folder";
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, error)) return "the folder " + folder.string() + " does not exist";
    return {};
}

LoadPlan plan_load(const std::string& path)
{
    const PictureFileKind kind = kind_of_picture_file(path);
    if (kind == PictureFileKind::refused)
        return {"only files ending in " + std::string(accepted_endings) + " can be loaded"};
    const long long pixels = fe::picture_file_pixels(path);
    return {memory_refusal(pixels), pixels, kind == PictureFileKind::jpeg};
}

LoadedPicture load_picture(const std::string& path, const LoadPlan& plan)
{
    if (!plan.refusal.empty()) return refused(plan.refusal);
    return plan.jpeg ? convert_jpeg(path) : read_bmp(path);
}

FileResult save_picture(const Picture& picture, const std::string& path)
{
    if (std::string reason = save_refusal(path); !reason.empty()) return file_failure(std::move(reason));
    return is_png_path(path) ? fe::save_png_file(picture, path) : fe::save_file(picture, path);
}

}  // namespace korven
