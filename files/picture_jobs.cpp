#include "files/picture_jobs.h"

#include <cmath>
#include <cstdio>
#include <iostream>
#include <filesystem>
#include <memory>
#include <new>
#include <system_error>

#include "core/memory_budget.h"
#include "files/colour_profile.h"
#include "files/image_files.h"
#include "files/jpeg_to_bmp.h"
#include "files/output_file.h"
#include "files/png_file.h"
#include "files/png_reader.h"

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

// Whether a photo read is to be shown, with its colours converted for the
// screen, or only corrected and saved again.
enum class Viewing { shown, unseen };

// The metadata and colour profile of the file a photo was read from, and, for
// a photo shown, the view's conversion of its colours; what cannot be read is
// said once here.
PhotoMetadata metadata_of_photo(const std::string& path, bool file_has_exif, Viewing viewing)
{
    PhotoMetadata metadata = read_photo_metadata(path, file_has_exif);
    if (!metadata.unreadable.empty())
        std::cerr << "korven: the metadata of \"" << path << "\" is dropped: " << metadata.unreadable << "\n";
    if (viewing == Viewing::shown)
        metadata.screen_conversion = screen_conversion_for(metadata.icc_profile, metadata.exif_says_adobe_rgb);
    return metadata;
}

LoadedPicture read_png(const std::string& path, Viewing viewing)
{
    LoadedPicture loaded{LoadedPicture::Outcome::loaded, path};
    fe::PngFacts facts;
    try {
        if (const FileResult read = fe::read_png(path, loaded.picture, facts); !read) return refused(read.reason);
    } catch (const std::bad_alloc&) {
        return refused(no_memory);
    }
    if (facts.composited_transparency)
        loaded.notice = "Its transparent pixels are shown over white; the transparency is not kept.";
    loaded.metadata = metadata_of_photo(path, facts.has_exif_chunk, viewing);
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
    LoadedPicture loaded{outcome, bmp_path, std::move(conversion.picture)};
    loaded.metadata = metadata_of_photo(path, jpeg_has_exif_block(path), Viewing::shown);
    return loaded;
}

LoadedPicture read_jpeg_only(const std::string& path)
{
    LoadedPicture loaded{LoadedPicture::Outcome::loaded, path};
    try {
        if (const FileResult read = fe::read_jpeg(path, loaded.picture, fe::CutOffJpeg::refused); !read)
            return refused(read.reason);
    } catch (const std::bad_alloc&) {
        return refused(no_memory);
    }
    loaded.metadata = metadata_of_photo(path, jpeg_has_exif_block(path), Viewing::unseen);
    return loaded;
}

// The bytes of `rows` in the format `kind` names (JPEG or PNG), with what
// `options` says it carries. A PNG is encoded from the whole `picture`.
FileResult encode(const PictureRows& rows, const Picture* picture, PictureFileKind kind, const SaveOptions& options,
                  std::vector<std::uint8_t>& bytes, std::string* metadata_not_kept)
{
    const PhotoMetadata none;
    const PhotoMetadata& metadata = options.metadata ? *options.metadata : none;
    const FileResult encoded = kind == PictureFileKind::jpeg
                                   ? encode_jpeg(rows, options.jpeg_quality, metadata.icc_profile, bytes)
                                   : encode_png(*picture, metadata.icc_profile, bytes);
    if (!encoded) return encoded;
    const FileResult added = add_photo_metadata(bytes, kind, metadata, rows.width, rows.height);
    if (!added && metadata_not_kept) *metadata_not_kept = added.reason;
    return {};
}

// Encodes a JPEG or PNG file and writes it whole beside `path`, into `file`.
FileResult write_encoded(const PictureRows& rows, const Picture* picture, const std::string& path,
                         PictureFileKind kind, const SaveOptions& options, std::string* metadata_not_kept,
                         std::unique_ptr<OutputFile>& file)
{
    std::vector<std::uint8_t> bytes;
    try {
        if (const FileResult encoded = encode(rows, picture, kind, options, bytes, metadata_not_kept); !encoded)
            return encoded;
        file = std::make_unique<OutputFile>(path);
    } catch (const std::bad_alloc&) {
        return file_failure(no_memory);
    }
    if (file->failure().empty()) file->write(bytes.data(), bytes.size());
    if (!file->failure().empty()) return file_failure(file->failure());
    return {};
}

FileResult save_encoded(const PictureRows& rows, const Picture* picture, const std::string& path,
                        PictureFileKind kind, const SaveOptions& options, std::string* metadata_not_kept)
{
    std::unique_ptr<OutputFile> file;
    if (const FileResult written = write_encoded(rows, picture, path, kind, options, metadata_not_kept, file);
        !written)
        return written;
    return file->commit();
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
    return {memory_refusal(pixels), pixels, kind};
}

LoadedPicture load_picture(const std::string& path, const LoadPlan& plan)
{
    if (!plan.refusal.empty()) return refused(plan.refusal);
    switch (plan.kind) {
    case PictureFileKind::jpeg: return convert_jpeg(path);
    case PictureFileKind::png: return read_png(path, Viewing::shown);
    default: return read_bmp(path);
    }
}

LoadedPicture read_photo_only(const std::string& path)
{
    const LoadPlan plan = plan_load(path);
    if (!plan.refusal.empty()) return refused(plan.refusal);
    switch (plan.kind) {
    case PictureFileKind::jpeg: return read_jpeg_only(path);
    case PictureFileKind::png: return read_png(path, Viewing::unseen);
    default: return read_bmp(path);
    }
}

FileResult save_picture(const Picture& picture, const std::string& path, const SaveOptions& options,
                        std::string* metadata_not_kept)
{
    if (std::string reason = save_refusal(path); !reason.empty()) return file_failure(std::move(reason));
    const PictureFileKind kind = kind_of_saved_file(path);
    if (kind == PictureFileKind::bmp) return fe::save_file(picture, path);
    return save_encoded(rows_of(picture), &picture, path, kind, options, metadata_not_kept);
}

FileResult write_pending_jpeg(const PictureRows& rows, const std::string& path, const SaveOptions& options,
                              std::string* metadata_not_kept, std::unique_ptr<OutputFile>& file)
{
    if (std::string reason = save_refusal(path); !reason.empty()) return file_failure(std::move(reason));
    return write_encoded(rows, nullptr, path, PictureFileKind::jpeg, options, metadata_not_kept, file);
}

}  // namespace korven
