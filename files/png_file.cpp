#include "files/png_file.h"

#include <png.h>

#include <bit>
#include <csetjmp>
#include <cstdio>

#include <new>

#include "files/png_chunks.h"

namespace korven {

namespace {

struct PngOutput {
    std::vector<std::uint8_t>* bytes;
    char error[200] = "";  // libpng's own words, when it stops; copying them cannot throw
};

void write_bytes(png_structp png, png_bytep bytes, png_size_t length)
{
    auto* output = static_cast<PngOutput*>(png_get_io_ptr(png));
    try {
        output->bytes->insert(output->bytes->end(), bytes, bytes + length);
    } catch (const std::bad_alloc&) {
        png_error(png, "there is not enough memory for the PNG picture");
    }
}

void flush_nothing(png_structp) {}  // the bytes are written to the file as a whole at the end

void stop(png_structp png, png_const_charp message)
{
    char (&error)[200] = static_cast<PngOutput*>(png_get_error_ptr(png))->error;
    std::snprintf(error, sizeof error, "%s", message);
    png_longjmp(png, 1);
}

void ignore_warning(png_structp, png_const_charp) {}

// Encodes the rows; false when libpng stopped. Holds nothing that needs
// destroying across the jump back, so a longjmp out of libpng leaks nothing.
bool encode(png_structp png, png_infop info, const Picture& picture)
{
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width()), static_cast<png_uint_32>(picture.height()),
                 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // 96 dots per inch, the resolution pictures are shown at.
    png_set_pHYs(png, info, 3780, 3780, PNG_RESOLUTION_METER);
    png_write_info(png, info);
    // Our colour values are the bytes red, green, blue and an unused one in
    // memory: libpng drops the fourth byte itself, so rows go out as they are.
    static_assert(std::endian::native == std::endian::little);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    for (int y = 0; y < picture.height(); ++y) png_write_row(png, reinterpret_cast<png_const_bytep>(picture.row(y)));
    png_write_end(png, info);
    return true;
}

}  // namespace

FileResult encode_png(const Picture& picture, std::span<const std::uint8_t> icc_profile,
                      std::vector<std::uint8_t>& bytes)
{
    if (picture.empty()) return file_failure("there is no picture to save");
    PngOutput output{&bytes};
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &output, stop, ignore_warning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return file_failure("there is not enough memory for the PNG picture");
    }
    png_set_write_fn(png, &output, write_bytes, flush_nothing);
    const bool encoded = encode(png, info, picture);
    png_destroy_write_struct(&png, &info);
    if (!encoded) return file_failure(output.error[0] ? output.error : "the PNG picture could not be made");
    // The profile goes in as it came: libpng would refuse some that photos carry.
    if (icc_profile.empty()) return {};
    const std::vector<std::uint8_t> profile_chunk = icc_chunk_data(icc_profile);
    if (profile_chunk.empty() || !insert_chunk_before_pixels(bytes, "iCCP", profile_chunk))
        return file_failure("the colour profile could not be written");
    return {};
}

}  // namespace korven
