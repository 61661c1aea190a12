#include "files/jpeg_to_bmp.h"

#include <filesystem>
#include <new>
#include <system_error>

#include "files/image_files.h"

namespace korven {

namespace {

bool file_exists(const std::string& path)
{
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
}

// True when the file at `path` reads as exactly `picture`. A file of another
// size is told from its header, without reading a picture that may not fit
// into memory beside the decoded one.
bool holds_same_picture(const std::string& path, const Picture& picture)
{
    if (fe::picture_file_pixels(path) != static_cast<long long>(picture.width()) * picture.height()) return false;
    Picture existing;
    return fe::load_file(existing, path) && existing == picture;
}

}  // namespace

Conversion JPEG2BMP(const std::string& jpeg_path, const std::string& bmp_path)
{
    try {
        Picture decoded;
        if (const FileResult read = fe::read_jpeg(jpeg_path, decoded); !read)
            return {ConversionOutcome::failed, read.reason};
        if (file_exists(bmp_path)) {
            const bool same = holds_same_picture(bmp_path, decoded);
            return {same ? ConversionOutcome::reused : ConversionOutcome::differs, {}, std::move(decoded)};
        }
        if (const FileResult written = write_converted_bmp(decoded, bmp_path); !written)
            return {ConversionOutcome::failed, written.reason};
        return {ConversionOutcome::written, {}, std::move(decoded)};
    } catch (const std::bad_alloc&) {
        return {ConversionOutcome::failed, "there is not enough memory for the picture"};
    }
}

FileResult write_converted_bmp(const Picture& picture, const std::string& bmp_path)
{
    // The BMP file can be made again from the JPEG: no need to wait for the disk.
    FileResult written;
    try {
        written = fe::save_file(picture, bmp_path, Durability::in_cache);
    } catch (const std::bad_alloc&) {
        return file_failure("there is not enough memory for the picture");
    }
    if (written) return written;
    return file_failure("the converted picture could not be written to \"" + bmp_path + "\" (" + written.reason + ")");
}

}  // namespace korven
