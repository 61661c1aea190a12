// Reading PNG files with libpng, straight into the picture: libpng turns every
// kind of pixel into 8-bit red, green, blue and alpha, which in memory is a
// colour value with the alpha in its top byte; each row is then laid over
// white and its top byte cleared where it lies.
#include "files/png_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <png.h>

#include <bit>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <span>

#include "files/exif_orientation.h"
#include "files/image_files.h"
#include "files/png_chunks.h"

namespace fe {

namespace {

using korven::Colour;
using korven::file_failure;
using korven::FileResult;

// ------------------------------------------------------------ pixels

// Colour level c laid over white at alpha a: (c a + 255 (255 - a)) / 255,
// rounded to the nearest whole number. 255 is odd, so the exact quotient never
// ends in a half; adding 127 before dividing rounds it.
constexpr int over_white(int c, int a) { return (c * a + 255 * (255 - a) + 127) / 255; }

// Turns a row of RGBA pixels into colour values: each pixel laid over white by
// its alpha, the top byte cleared. True when some pixel was not opaque.
bool finish_row(Colour* row, int width)
{
    bool transparent = false;
    for (int x = 0; x < width; ++x) {
        const Colour p = row[x];
        const int a = static_cast<int>(p >> 24);
        if (a == 255) {
            row[x] = p & 0xFFFFFFu;
            continue;
        }
        transparent = true;
        row[x] = korven::rgb(over_white(korven::red_of(p), a), over_white(korven::green_of(p), a),
                             over_white(korven::blue_of(p), a));
    }
    return transparent;
}

// ------------------------------------------------------------ libpng

struct PngErrors {
    char message[200] = "";  // libpng's own words, when it stops; copying them cannot throw
};

[[noreturn]] void stop(png_structp png, png_const_charp message)
{
    char (&kept)[200] = static_cast<PngErrors*>(png_get_error_ptr(png))->message;
    std::snprintf(kept, sizeof kept, "%s", message);
    png_longjmp(png, 1);
}

// Warnings about damaged ancillary chunks are not printed; such a chunk is
// left out and the picture still read.
void ignore_warning(png_structp, png_const_charp) {}

void read_bytes(png_structp png, png_bytep to, png_size_t length)
{
    auto* file = static_cast<std::FILE*>(png_get_io_ptr(png));
    if (std::fread(to, 1, length, file) == length) return;
    png_error(png, std::ferror(file) ? "the file cannot be read to its end" : "the file ends before the picture does");
}

// The largest picture read: 1 GB of pixels, as for JPEG photos.
constexpr unsigned long long largest_picture_bytes = 1ULL << 30;

// What decoding found, for the caller to turn into a result.
enum class Outcome { decoded, not_png, too_wide, too_large };

// Everything that libpng may jump out of. Only plain data lives in this
// frame; the picture and the facts are owned by the caller.
Outcome decode(png_structp png, png_infop info, korven::Picture& picture, PngFacts& facts)
{
    if (setjmp(png_jmpbuf(png))) return Outcome::not_png;
    // Any size the format allows reaches the checks below, which say why it is refused.
    png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    constexpr png_uint_32 largest_side = korven::largest_picture_side;
    if (width > largest_side || height > largest_side) return Outcome::too_wide;
    if (4ULL * width * height > largest_picture_bytes) return Outcome::too_large;

    png_set_scale_16(png);  // 16-bit levels rounded to 8 bits, not cut short
    png_set_expand(png);    // palette entries, grey under 8 bits and tRNS to 8-bit samples and alpha
    png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);  // opaque where the file has no alpha
    static_assert(std::endian::native == std::endian::little, "R, G, B, A bytes make a colour value");
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != 4 * std::size_t{width}) png_error(png, "its pixels cannot be made RGBA");

    try {
        picture = korven::Picture::for_overwrite(static_cast<int>(width), static_cast<int>(height));
    } catch (const std::bad_alloc&) {
        return Outcome::too_large;
    }
    // An interlaced file fills each row over seven passes; any row is whole,
    // and can be finished, once the last pass has been through it.
    for (int pass = 0; pass < passes; ++pass) {
        for (png_uint_32 y = 0; y < height; ++y) {
            Colour* row = picture.row(static_cast<int>(y));
            png_read_row(png, reinterpret_cast<png_bytep>(row), nullptr);
            if (pass == passes - 1 && finish_row(row, static_cast<int>(width))) facts.composited_transparency = true;
        }
    }

    // The chunks after the pixels may hold the eXIf chunk. The picture is
    // whole by now, so damage there costs only what the damaged part held.
    if (setjmp(png_jmpbuf(png)) == 0) png_read_end(png, info);
    png_bytep exif = nullptr;
    png_uint_32 exif_size = 0;
    if (png_get_eXIf_1(png, info, &exif_size, &exif) != 0 && exif != nullptr) {
        facts.has_exif_chunk = true;
        facts.exif_orientation = korven::exif_orientation_of_tiff(std::span<const std::uint8_t>(exif, exif_size));
    }
    return Outcome::decoded;
}

// The file's own reading structures, destroyed when done.
struct PngReading {
    PngErrors errors;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &errors, stop, ignore_warning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;

    PngReading() = default;
    PngReading(const PngReading&) = delete;
    PngReading& operator=(const PngReading&) = delete;
    ~PngReading() { png_destroy_read_struct(&png, &info, nullptr); }
};

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// Opens the file for reading without waiting: a pipe with no writer would
// hold the program up for good. Null, with errno set, when it cannot be opened.
File open_without_waiting(const std::string& path)
{
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) return {nullptr, std::fclose};
    File file(fdopen(descriptor, "rb"), std::fclose);
    if (!file) close(descriptor);
    return file;
}

}  // namespace

FileResult read_png(const std::string& path, korven::Picture& picture, PngFacts& facts)
{
    const File file = open_without_waiting(path);
    if (!file) return file_failure(errno == ENOENT ? "the file does not exist" : "the file cannot be read");
    struct stat status {};
    if (fstat(fileno(file.get()), &status) != 0) return file_failure("the file cannot be read");
    if (S_ISDIR(status.st_mode)) return file_failure("it is a folder, not a picture file");
    if (!S_ISREG(status.st_mode)) return file_failure("the file cannot be read");
    if (status.st_size > largest_image_file) return file_failure("the file is too large");

    PngReading reading;
    if (reading.info == nullptr) return file_failure("there is not enough memory to read the picture");
    png_set_read_fn(reading.png, file.get(), read_bytes);
    korven::Picture decoded;
    PngFacts found;
    switch (decode(reading.png, reading.info, decoded, found)) {
    case Outcome::decoded: break;
    case Outcome::not_png:
        return file_failure(std::string("it is not a PNG picture this program can read (") +
                            reading.errors.message + ")");
    case Outcome::too_wide: return file_failure("the picture is larger than 32767 pixels on a side");
    case Outcome::too_large: return file_failure("the picture is too large for memory");
    }
    try {
        decoded = korven::turned_upright(std::move(decoded), found.exif_orientation);
    } catch (const std::bad_alloc&) {
        return file_failure("the picture is too large for memory");
    }
    picture = std::move(decoded);
    facts = found;
    return {};
}

long long png_header_pixels(std::span<const std::uint8_t> start)
{
    // The signature, then the IHDR chunk: its length (13), its name, width and height.
    static constexpr std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (start.size() < 24 || std::memcmp(start.data(), signature, 8) != 0 || korven::png_u32(&start[8]) != 13 ||
        std::memcmp(&start[12], "IHDR", 4) != 0)
        return 0;
    const std::uint32_t width = korven::png_u32(&start[16]), height = korven::png_u32(&start[20]);
    if (width == 0 || height == 0 || width > PNG_UINT_31_MAX || height > PNG_UINT_31_MAX) return 0;
    return static_cast<long long>(width) * height;
}

}  // namespace fe
