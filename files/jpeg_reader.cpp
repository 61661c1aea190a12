// Reading JPEG files with libjpeg-turbo, straight into the picture: each
// decoded row goes to its place in the upright photo, turned or mirrored as
// the photo's EXIF orientation says, so the pixels are written once.
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <vector>

#include "files/exif_orientation.h"
#include "files/image_files.h"
#include "files/jpeg_errors.h"

namespace fe {

namespace {

using korven::Colour;

// ------------------------------------------------------------ orientation

using korven::Orientation;
using korven::orientation_of;

// The EXIF orientation of the first APP1 Exif block ("Exif\0\0" and TIFF
// bytes) that has an orientation tag; 1 (as stored) when none has.
int exif_orientation(const jpeg_saved_marker_ptr markers)
{
    for (jpeg_saved_marker_ptr m = markers; m != nullptr; m = m->next) {
        if (m->marker != JPEG_APP0 + 1 || m->data_length < 6 || std::memcmp(m->data, "Exif\0\0", 6) != 0)
            continue;
        const std::span<const std::uint8_t> tiff(m->data + 6, m->data_length - 6);
        if (const std::optional<int> value = korven::exif_orientation_tag(tiff)) return *value;
    }
    return 1;
}

// ------------------------------------------------------------ libjpeg

using korven::jpeg::ErrorExit;

// The largest picture read: 1 GB of pixels, a 16000 x 16000 photo.
constexpr long long largest_picture_bytes = 1LL << 30;

// The bands of stored rows a turned photo is decoded in: each becomes a run
// of columns of the upright photo.
constexpr int band_rows = 32;

// The colour value of a decoded RGBX pixel, or of an inverted CMYK one (as
// photo programs store it): the X byte cleared, the ink laid over white.
void finish_row(Colour* row, int width, bool cmyk)
{
    if (!cmyk) {
        for (int x = 0; x < width; ++x) row[x] &= 0xFFFFFFu;
        return;
    }
    for (int x = 0; x < width; ++x) {
        const Colour p = row[x];
        const Colour k = p >> 24;
        row[x] = korven::rgb(static_cast<int>((p & 255) * k / 255),
                             static_cast<int>(((p >> 8) & 255) * k / 255),
                             static_cast<int>(((p >> 16) & 255) * k / 255));
    }
}

// What decoding found, for the caller to turn into a result.
enum class Outcome { decoded, not_jpeg, too_wide, too_large };

// Everything that libjpeg may jump out of. Only plain data lives in this
// frame; the picture and the band are owned by the caller.
Outcome decode(std::FILE* file, korven::Picture& picture, std::vector<Colour>& band, ErrorExit& errors)
{
    jpeg_decompress_struct info{};
    info.err = korven::jpeg::reporting_to(errors);
    if (setjmp(errors.back)) {
        jpeg_destroy_decompress(&info);
        return Outcome::not_jpeg;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&info, TRUE);
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBX;
    jpeg_calc_output_dimensions(&info);
    const Orientation o = orientation_of(exif_orientation(info.marker_list));
    const int stored_width = static_cast<int>(info.output_width);
    const int stored_height = static_cast<int>(info.output_height);
    Outcome refused = Outcome::decoded;
    constexpr int largest_side = korven::largest_picture_side;
    if (stored_width > largest_side || stored_height > largest_side) refused = Outcome::too_wide;
    else if (4LL * stored_width * stored_height > largest_picture_bytes) refused = Outcome::too_large;
    if (refused != Outcome::decoded) {
        jpeg_destroy_decompress(&info);
        return refused;
    }
    try {
        picture = o.turned ? korven::Picture::for_overwrite(stored_height, stored_width)
                           : korven::Picture::for_overwrite(stored_width, stored_height);
        if (o.turned) band.resize(static_cast<std::size_t>(band_rows) * stored_width);
    } catch (const std::bad_alloc&) {
        jpeg_destroy_decompress(&info);
        return Outcome::too_large;
    }

    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        const int first = static_cast<int>(info.output_scanline);
        if (!o.turned) {
            // Straight into its row of the picture, mirrored there if need be.
            Colour* row = picture.row(o.mirror_y ? stored_height - 1 - first : first);
            JSAMPROW rows[1] = {reinterpret_cast<JSAMPROW>(row)};
            jpeg_read_scanlines(&info, rows, 1);
            finish_row(row, stored_width, cmyk);
            if (o.mirror_x) std::reverse(row, row + stored_width);
            continue;
        }
        // A band of stored rows, then each of its columns into a row.
        const int count = std::min(band_rows, stored_height - first);
        for (int i = 0; i < count; ++i) {
            Colour* row = band.data() + static_cast<std::size_t>(i) * stored_width;
            JSAMPROW rows[1] = {reinterpret_cast<JSAMPROW>(row)};
            jpeg_read_scanlines(&info, rows, 1);
            finish_row(row, stored_width, cmyk);
        }
        for (int sx = 0; sx < stored_width; ++sx) {
            Colour* row = picture.row(o.mirror_y ? stored_width - 1 - sx : sx);
            for (int i = 0; i < count; ++i) {
                const int sy = first + i;
                row[o.mirror_x ? stored_height - 1 - sy : sy] =
                    band[static_cast<std::size_t>(i) * stored_width + sx];
            }
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return Outcome::decoded;
}

long long header_pixels(std::FILE* file, ErrorExit& errors)
{
    jpeg_decompress_struct info{};
    info.err = korven::jpeg::reporting_to(errors);
    if (setjmp(errors.back)) {
        jpeg_destroy_decompress(&info);
        return 0;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    const long long pixels = static_cast<long long>(info.image_width) * info.image_height;
    jpeg_destroy_decompress(&info);
    return pixels;
}

using korven::file_failure;

using OpenFile = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

OpenFile open_file(const std::string& path) { return {std::fopen(path.c_str(), "rb"), std::fclose}; }

}  // namespace

long long jpeg_header_pixels(const std::string& path)
{
    const OpenFile file = open_file(path);
    ErrorExit errors{};
    return file ? header_pixels(file.get(), errors) : 0;
}

FileResult read_jpeg(const std::string& path, korven::Picture& picture, CutOffJpeg cut_off)
{
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error) {
        return file_failure(std::filesystem::exists(path, error) ? "the file cannot be read"
                                                                 : "the file does not exist");
    }
    if (size > static_cast<std::uintmax_t>(largest_image_file)) return file_failure("the file is too large");
    const OpenFile file = open_file(path);
    if (!file) return file_failure("the file cannot be read");

    ErrorExit errors{};
    korven::Picture decoded;
    std::vector<Colour> band;
    switch (decode(file.get(), decoded, band, errors)) {
    case Outcome::decoded: break;
    case Outcome::not_jpeg:
        return file_failure(std::string("it is not a JPEG picture this program can read (") +
                       errors.message + ")");
    case Outcome::too_wide: return file_failure("the picture is larger than 32767 pixels on a side");
    case Outcome::too_large: return file_failure("the picture is too large for memory");
    }
    if (errors.data_cut_off && cut_off == CutOffJpeg::refused) return file_failure("the file is cut off");
    picture = std::move(decoded);
    return {};
}

}  // namespace fe
