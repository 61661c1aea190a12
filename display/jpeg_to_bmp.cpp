#include "display/jpeg_to_bmp.h"

#include <filesystem>
#include <new>
#include <system_error>

#include "platform/form.h"
#include "platform/image_files.h"

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
bool holds_same_picture(const std::string& path, const fe::Bitmap& picture)
{
    if (fe::picture_file_pixels(path) != static_cast<long long>(picture.width()) * picture.height()) return false;
    fe::Bitmap existing;
    return fe::load_file(existing, path) && existing == picture;
}

}  // namespace

Conversion JPEG2BMP(const std::string& jpeg_path, const std::string& bmp_path)
{
    try {
        fe::Bitmap decoded;
        if (const fe::FileResult read = fe::read_jpeg(jpeg_path, decoded); !read)
            return {ConversionOutcome::failed, read.reason};
        if (file_exists(bmp_path)) {
            if (holds_same_picture(bmp_path, decoded))
                return {ConversionOutcome::reused, {}, std::move(decoded)};
            const std::string question = "\"" + bmp_path + "\" already exists and holds a different picture.\n"
                                         "Replace it with the picture converted from \"" + jpeg_path + "\"?";
            if (!fe::ask(question)) return {ConversionOutcome::declined, {}};
        }
        // The BMP file can be made again from the JPEG: no need to wait for the disk.
        const fe::FileResult written = fe::save_file(decoded, bmp_path, fe::Durability::in_cache);
        if (!written)
            return {ConversionOutcome::failed, "the converted picture could not be written to \"" + bmp_path +
                                                   "\" (" + written.reason + ")"};
        return {ConversionOutcome::written, {}, std::move(decoded)};
    } catch (const std::bad_alloc&) {
        return {ConversionOutcome::failed, "there is not enough memory for the picture"};
    }
}

}  // namespace korven
