// Our own BMP reader and writer. The reader checks every header promise
// (sizes, palette, offsets, data length) against the bytes actually present
// before it allocates the picture, and refuses what it cannot read faithfully
// with a short reason instead of guessing.

#include "files/bmp_format.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <new>
#include <utility>

#include "files/bgr_rows.h"

namespace korven::bmp {
namespace {

constexpr std::int64_t max_side = largest_picture_side;
constexpr std::size_t file_header_size = 14;

// A BMP file we refuse; carries the reason up to decode().
struct Refusal {
    std::string reason;
};

[[noreturn]] void refuse(std::string reason) { throw Refusal{std::move(reason)}; }

using Bytes = std::span<const std::uint8_t>;

std::uint32_t u16_at(Bytes b, std::size_t at) { return b[at] | (b[at + 1] << 8); }
std::uint32_t u32_at(Bytes b, std::size_t at)
{
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::int32_t i32_at(Bytes b, std::size_t at) { return static_cast<std::int32_t>(u32_at(b, at)); }

// What the layout is read from: the whole file, or only its start when its
// rows are read later (nearly every file's layout lies in its first bytes).
// `size` is always the whole file's.
struct FileStart {
    Bytes bytes;
    std::uint64_t size = 0;
};

// The layout reaches past the start at hand: the whole file is needed.
struct NeedsWholeFile {};

// `length` bytes at `offset`, which the checks have placed inside the file.
Bytes part_of(const FileStart& file, std::uint64_t offset, std::uint64_t length)
{
    if (offset + length > file.bytes.size()) throw NeedsWholeFile{};
    return file.bytes.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(length));
}

// The longest header with its colour masks: 14 + 124 + 16 bytes.
constexpr std::uint64_t longest_header = 154;

// ---------------------------------------------------------------- bit fields

// One colour channel packed into a pixel word: where it sits and how wide it is.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0;  // largest value the channel holds; 0 when absent

    std::uint32_t value(std::uint32_t pixel) const { return (pixel & mask) >> shift; }
    // value * 255 / max, rounded: the channel stretched to 8 bits (not shifted,
    // so a full 5-bit channel gives 255, not 248).
    int level(std::uint32_t pixel) const
    {
        if (max == 0) return 0;
        return static_cast<int>((static_cast<std::uint64_t>(value(pixel)) * 255 + max / 2) / max);
    }
};

Channel channel_from_mask(std::uint32_t mask, const char* name)
{
    Channel c;
    if (mask == 0) return c;
    c.mask = mask;
    while (((mask >> c.shift) & 1) == 0) ++c.shift;
    const std::uint64_t run = mask >> c.shift;
    if ((run & (run + 1)) != 0) refuse(std::string("the ") + name + " bit field is not contiguous");
    c.max = static_cast<std::uint32_t>(run);
    return c;
}

struct BitFields {
    Channel red, green, blue, alpha;
    bool uses_alpha() const { return alpha.max != 0; }
};

BitFields bit_fields(const std::array<std::uint32_t, 4>& masks, int bits)
{
    const std::uint64_t word = bits == 16 ? 0xFFFFu : 0xFFFFFFFFu;
    std::uint32_t seen = 0;
    for (std::uint32_t m : masks) {
        if (m & ~word)
            refuse("a bit field lies outside the " + std::to_string(bits) + "-bit pixel");
        if (m & seen) refuse("the bit fields overlap");
        seen |= m;
    }
    if ((masks[0] | masks[1] | masks[2]) == 0) refuse("the colour bit fields are all empty");
    return {channel_from_mask(masks[0], "red"), channel_from_mask(masks[1], "green"),
            channel_from_mask(masks[2], "blue"), channel_from_mask(masks[3], "alpha")};
}

// ---------------------------------------------------------------- headers

enum class Coding { indexed, rle8, rle4, rle24, rgb24, fields, rgba64 };

// Everything the headers say about the pixels, checked against the file.
struct Layout {
    int width = 0;
    int height = 0;
    bool top_down = false;
    int bits = 0;
    Coding coding = Coding::indexed;
    BitFields fields;
    std::vector<Colour> palette;
    std::size_t pixel_offset = 0;
};

struct InfoHeader {
    std::uint32_t size = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;  // as stored: negative means rows run top to bottom
    std::uint32_t planes = 0;
    std::uint32_t bits = 0;
    std::uint32_t compression = 0;
    std::uint32_t colours_used = 0;
    std::array<std::uint32_t, 4> masks{};
    bool has_masks = false;
    std::uint32_t colour_space = 0;    // v5 header: how the colours are to be read
    std::uint32_t profile_offset = 0;  // from the start of the info header
    std::uint32_t profile_size = 0;
    std::size_t end = 0;  // first byte after the header and any masks that follow it
    bool os2_v1() const { return size == 12; }
    bool os2_v2() const { return size == 16 || size == 64; }
};

InfoHeader read_info_header(const FileStart& whole)
{
    // Every read below lies inside the file, as the size checks make sure.
    const Bytes file = part_of(whole, 0, std::min(whole.size, longest_header));
    if (whole.size < 2 || file[0] != 'B' || file[1] != 'M') refuse("not a BMP file");
    if (whole.size < file_header_size + 4) refuse("the file is cut off in its header");
    InfoHeader h;
    h.size = u32_at(file, 14);
    switch (h.size) {
    case 12: case 16: case 40: case 52: case 56: case 64: case 108: case 124: break;
    default: refuse("unknown header size " + std::to_string(h.size));
    }
    if (whole.size < file_header_size + h.size) refuse("the file is cut off in its header");
    h.end = file_header_size + h.size;
    if (h.os2_v1()) {
        h.width = u16_at(file, 18);
        h.height = u16_at(file, 20);
        h.planes = u16_at(file, 22);
        h.bits = u16_at(file, 24);
        return h;
    }
    h.width = i32_at(file, 18);
    h.height = i32_at(file, 22);
    h.planes = u16_at(file, 26);
    h.bits = u16_at(file, 28);
    if (h.size == 16) return h;
    h.compression = u32_at(file, 30);
    h.colours_used = u32_at(file, 46);
    if (h.os2_v2()) return h;  // its later fields are not colour masks

    const bool fields = h.compression == 3 || h.compression == 6;
    if (h.size >= 52) {
        // v2 and later headers carry the masks themselves.
        const int count = h.size >= 56 ? 4 : 3;
        for (int i = 0; i < count; ++i) h.masks[i] = u32_at(file, 54 + 4 * i);
        h.has_masks = fields;
    } else if (fields) {
        // The 40-byte header is followed by three masks, or four with alpha.
        const int count = h.compression == 6 ? 4 : 3;
        if (whole.size < h.end + 4 * count) refuse("the file is cut off in its colour masks");
        for (int i = 0; i < count; ++i) h.masks[i] = u32_at(file, h.end + 4 * i);
        h.end += 4 * count;
        h.has_masks = true;
    }
    if (!fields) h.masks = {};
    if (h.size == 124) {
        h.colour_space = u32_at(file, 70);
        h.profile_offset = u32_at(file, 126);
        h.profile_size = u32_at(file, 130);
    }
    return h;
}

// ---------------------------------------------------------------- profiles

constexpr std::uint32_t embedded_profile = 0x4D424544;  // "MBED"

std::uint32_t big_endian_u32(Bytes b, std::size_t at)
{
    return (static_cast<std::uint32_t>(b[at]) << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) |
           b[at + 3];
}

// The primaries of an sRGB profile (D50-adapted XYZ of red, green, blue).
constexpr std::array<std::array<double, 3>, 3> srgb_colorants = {{
    {0.4361, 0.2225, 0.0139}, {0.3851, 0.7169, 0.0971}, {0.1431, 0.0606, 0.7141}}};

// Pixels are passed on as they are stored, which is right for sRGB. An
// embedded profile whose primaries show other colours would make them
// wrong (a profile may even swap red and green), so such files are refused.
void check_colour_profile(const FileStart& file, const InfoHeader& h)
{
    if (h.colour_space != embedded_profile) return;
    const std::uint64_t start = file_header_size + std::uint64_t{h.profile_offset};
    if (h.profile_size < 132 || start + h.profile_size > file.size)
        refuse("the colour profile lies outside the file");
    const Bytes profile = part_of(file, start, h.profile_size);
    const std::uint64_t tags = big_endian_u32(profile, 128);
    if (132 + 12 * tags > profile.size()) refuse("the colour profile is damaged");
    const std::array<std::uint32_t, 3> names = {0x7258595A, 0x6758595A, 0x6258595A};  // r/g/bXYZ
    for (std::uint64_t t = 0; t < tags; ++t) {
        const std::size_t entry = static_cast<std::size_t>(132 + 12 * t);
        const auto found = std::find(names.begin(), names.end(), big_endian_u32(profile, entry));
        if (found == names.end()) continue;
        const std::uint64_t at = big_endian_u32(profile, entry + 4);
        if (at + 20 > profile.size()) refuse("the colour profile is damaged");
        const auto& expected = srgb_colorants[found - names.begin()];
        for (std::size_t i = 0; i < 3; ++i) {
            const auto fixed = static_cast<std::int32_t>(
                big_endian_u32(profile, static_cast<std::size_t>(at + 8 + 4 * i)));
            if (std::abs(fixed / 65536.0 - expected[i]) > 0.01)
                refuse("the picture carries a colour profile other than sRGB");
        }
    }
}

Coding coding_of(const InfoHeader& h)
{
    const auto bits = h.bits;
    const auto wrong = [&](const char* coding) {
        refuse(std::string(coding) + " with " + std::to_string(bits) + " bits per pixel");
    };
    if (h.os2_v2() && h.compression > 4)
        refuse("unknown compression " + std::to_string(h.compression));
    switch (h.compression) {
    case 0:
        switch (bits) {
        case 1: case 2: case 4: case 8: return Coding::indexed;
        case 16: case 32: return Coding::fields;
        case 24: return Coding::rgb24;
        case 64: return Coding::rgba64;
        default: refuse("unsupported bits per pixel " + std::to_string(bits));
        }
    case 1:
        if (bits != 8) wrong("RLE8");
        return Coding::rle8;
    case 2:
        if (bits != 4) wrong("RLE4");
        return Coding::rle4;
    case 3:
        if (h.os2_v2()) refuse("Huffman-coded pictures are not supported");
        [[fallthrough]];
    case 6:
        if (bits != 16 && bits != 32) wrong("bit fields");
        return Coding::fields;
    case 4:
        if (!h.os2_v2()) refuse("BMP files holding a JPEG picture are not supported");
        if (bits != 24) wrong("RLE24");
        return Coding::rle24;
    case 5: refuse("BMP files holding a PNG picture are not supported");
    default: refuse("unknown compression " + std::to_string(h.compression));
    }
}

bool is_rle(Coding c) { return c == Coding::rle8 || c == Coding::rle4 || c == Coding::rle24; }

// The palette holds what the header declares, but never more than the pixel
// depth can index, nor more than fits before the pixel data (files whose
// offset leaves room for a short palette rely on that).
std::vector<Colour> read_palette(const FileStart& file, const InfoHeader& h,
                                 std::size_t pixel_offset)
{
    const std::size_t entry_size = h.os2_v1() ? 3 : 4;
    const std::uint64_t indexable = std::uint64_t{1} << h.bits;
    std::uint64_t count = h.colours_used != 0 ? h.colours_used : indexable;
    if (h.colours_used != 0 && h.end + count * entry_size > file.size)
        refuse("the palette of " + std::to_string(count) +
               " colours runs past the end of the file");
    count = std::min<std::uint64_t>({count, indexable, (pixel_offset - h.end) / entry_size});
    if (count == 0) refuse("the palette is missing");
    const Bytes entries = part_of(file, h.end, count * entry_size);
    std::vector<Colour> palette(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const std::size_t at = i * entry_size;
        palette[i] = rgb(entries[at + 2], entries[at + 1], entries[at]);
    }
    return palette;
}

BitFields fields_of(const InfoHeader& h)
{
    if (h.has_masks) return bit_fields(h.masks, static_cast<int>(h.bits));
    if (h.bits == 16) return bit_fields({0x7C00, 0x03E0, 0x001F, 0}, 16);
    return bit_fields({0xFF0000, 0xFF00, 0xFF, 0}, 32);
}

std::uint64_t row_bytes(const Layout& l)
{
    return (static_cast<std::uint64_t>(l.width) * static_cast<std::uint64_t>(l.bits) + 31) / 32 * 4;
}

Layout read_layout(const FileStart& file)
{
    const InfoHeader h = read_info_header(file);
    Layout l;
    if (h.planes != 1) refuse("the planes field is " + std::to_string(h.planes) + ", not 1");
    if (h.width <= 0 || h.height == 0)
        refuse("the picture size " + std::to_string(h.width) + " x " + std::to_string(h.height) +
               " is not valid");
    const std::int64_t height = h.height < 0 ? -h.height : h.height;
    if (h.width > max_side || height > max_side)
        refuse("the picture is " + std::to_string(h.width) + " x " + std::to_string(height) +
               " pixels; sides over 32767 are not supported");
    l.width = static_cast<int>(h.width);
    l.height = static_cast<int>(height);
    l.top_down = h.height < 0;
    l.bits = static_cast<int>(h.bits);
    l.coding = coding_of(h);
    if (is_rle(l.coding) && l.top_down) refuse("compressed pictures cannot be stored top down");
    check_colour_profile(file, h);

    l.pixel_offset = u32_at(file.bytes, 10);
    if (l.pixel_offset < h.end) refuse("the pixel data starts inside the header");
    if (l.pixel_offset >= file.size) refuse("the file is cut off before its pixel data");

    if (l.coding == Coding::indexed || l.coding == Coding::rle8 || l.coding == Coding::rle4)
        l.palette = read_palette(file, h, l.pixel_offset);
    if (l.coding == Coding::fields) l.fields = fields_of(h);

    const std::uint64_t available = file.size - l.pixel_offset;
    if (is_rle(l.coding)) {
        // A two-byte run covers at most 255 pixels. Only moves and an early end
        // reach further, so a stream promising more than 256 pixels per byte
        // is refused as corrupt before a vast picture is allocated for it.
        const std::uint64_t pixels = static_cast<std::uint64_t>(l.width) * l.height;
        if (pixels > 256 * available)
            refuse("the compressed data is far too short for a " + std::to_string(l.width) + " x " +
                   std::to_string(l.height) + " picture");
    } else {
        const std::uint64_t last_row = (static_cast<std::uint64_t>(l.width) * l.bits + 7) / 8;
        const std::uint64_t needed = row_bytes(l) * (l.height - 1) + last_row;
        if (needed > available)
            refuse("the file is cut off: the pixels need " + std::to_string(needed) +
                   " bytes, only " + std::to_string(available) + " are there");
    }
    return l;
}

// ---------------------------------------------------------------- rows

[[noreturn]] void refuse_index(std::size_t index, std::size_t palette_size)
{
    refuse("a pixel uses colour " + std::to_string(index) + " of a palette with " +
           std::to_string(palette_size) + " colours");
}

Colour palette_colour(const std::vector<Colour>& palette, std::size_t index)
{
    if (index >= palette.size()) refuse_index(index, palette.size());
    return palette[index];
}

void indexed_row(const std::uint8_t* src, Colour* dst, int width, int bits,
                 const std::vector<Colour>& palette)
{
    if (bits == 8) {
        for (int x = 0; x < width; ++x) dst[x] = palette_colour(palette, src[x]);
        return;
    }
    const int per_byte = 8 / bits;
    const unsigned index_mask = (1u << bits) - 1;
    for (int x = 0; x < width; ++x) {
        const int shift = 8 - bits * (x % per_byte + 1);  // leftmost pixel in the high bits
        dst[x] = palette_colour(palette, (src[x / per_byte] >> shift) & index_mask);
    }
}

std::uint32_t pixel_word(const std::uint8_t* src, int x, int bits)
{
    if (bits == 16) return src[2 * x] | (src[2 * x + 1] << 8);
    const std::uint8_t* p = src + 4 * x;
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// A channel times the alpha, both as fractions of their maximum, in 8 bits,
// rounded: the pixel laid onto black. Exact in 64 bits because the fields
// of one 32-bit word cannot together be wider than 32 bits.
int flattened(const Channel& c, const Channel& alpha, std::uint32_t pixel)
{
    if (c.max == 0) return 0;
    const std::uint64_t whole = static_cast<std::uint64_t>(c.max) * alpha.max;
    const std::uint64_t product = static_cast<std::uint64_t>(c.value(pixel)) * alpha.value(pixel);
    return static_cast<int>((product * 255 + whole / 2) / whole);
}

void fields_row(const std::uint8_t* src, Colour* dst, int width, int bits, const BitFields& f,
                bool apply_alpha)
{
    const bool plain_bgrx = bits == 32 && !apply_alpha && f.red.mask == 0xFF0000 &&
                            f.green.mask == 0xFF00 && f.blue.mask == 0xFF;
    if (plain_bgrx) {
        for (int x = 0; x < width; ++x, src += 4) dst[x] = rgb(src[2], src[1], src[0]);
        return;
    }
    for (int x = 0; x < width; ++x) {
        const std::uint32_t p = pixel_word(src, x, bits);
        dst[x] = apply_alpha ? rgb(flattened(f.red, f.alpha, p), flattened(f.green, f.alpha, p),
                                   flattened(f.blue, f.alpha, p))
                             : rgb(f.red.level(p), f.green.level(p), f.blue.level(p));
    }
}

// 64-bit pixels hold blue, green, red and alpha as signed fixed-point numbers
// with 13 fraction bits, in linear light; colours get the sRGB curve, then
// are laid onto black by their alpha.
class Rgba64Converter {
public:
    Rgba64Converter()
    {
        for (int v = 0; v <= one; ++v) {
            const double linear = static_cast<double>(v) / one;
            encoded_[v] = linear <= 0.0031308 ? 12.92 * linear
                                              : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
        }
    }
    Colour operator()(const std::uint8_t* p) const
    {
        const double alpha = static_cast<double>(unit(p + 6)) / one;
        const auto level = [&](const std::uint8_t* c) {
            return static_cast<int>(std::floor(encoded_[unit(c)] * alpha * 255 + 0.5));
        };
        return rgb(level(p + 4), level(p + 2), level(p));
    }

private:
    static constexpr int one = 8192;
    static int unit(const std::uint8_t* c)
    {
        const int v = static_cast<std::int16_t>(c[0] | (c[1] << 8));
        return std::clamp(v, 0, one);
    }
    std::array<double, one + 1> encoded_{};
};

// A picture whose alpha is zero everywhere was written by a program that left
// those bits unused: show its colours rather than a black picture.
bool any_alpha(Bytes file, const Layout& l)
{
    const std::uint64_t stride = row_bytes(l);
    for (int y = 0; y < l.height; ++y) {
        const std::uint8_t* src = file.data() + l.pixel_offset + y * stride;
        for (int x = 0; x < l.width; ++x)
            if (l.fields.alpha.value(pixel_word(src, x, l.bits)) != 0) return true;
    }
    return false;
}

// Converts the rows of an uncompressed picture, each into its place.
class RowConverter {
public:
    RowConverter(const Layout& l, Picture& picture, bool apply_alpha)
        : layout_(l), picture_(picture), apply_alpha_(apply_alpha)
    {
        if (l.coding == Coding::rgba64) rgba64_ = std::make_unique<Rgba64Converter>();
    }

    // Row y as stored in the file (bottom up unless the picture is top down).
    void operator()(int y, const std::uint8_t* src) const
    {
        const Layout& l = layout_;
        Colour* dst = picture_.row(l.top_down ? y : l.height - 1 - y);
        switch (l.coding) {
        case Coding::indexed: indexed_row(src, dst, l.width, l.bits, l.palette); break;
        case Coding::rgb24: colours_from_bgr(src, dst, l.width); break;
        case Coding::fields: fields_row(src, dst, l.width, l.bits, l.fields, apply_alpha_); break;
        case Coding::rgba64:
            for (int x = 0; x < l.width; ++x) dst[x] = (*rgba64_)(src + 8 * x);
            break;
        default: break;
        }
    }

private:
    const Layout& layout_;
    Picture& picture_;
    bool apply_alpha_;
    std::unique_ptr<Rgba64Converter> rgba64_;
};

bool needs_alpha_scan(const Layout& l)
{
    return l.coding == Coding::fields && l.fields.uses_alpha();
}

void decode_rows(Bytes file, const Layout& l, Picture& picture)
{
    const std::uint64_t stride = row_bytes(l);
    const RowConverter convert(l, picture, needs_alpha_scan(l) && any_alpha(file, l));
    for (int y = 0; y < l.height; ++y) convert(y, file.data() + l.pixel_offset + y * stride);
}

// The rows of an uncompressed picture read from `file` a few at a time and
// converted as they come. Files whose alpha must be scanned first are not
// read this way.
constexpr std::size_t bytes_per_read = std::size_t{1} << 20;

void read_rows(FileReader& file, const Layout& l, Picture& picture)
{
    const std::uint64_t stride = row_bytes(l);
    const std::uint64_t last_row = (static_cast<std::uint64_t>(l.width) * l.bits + 7) / 8;
    const int rows_per_read = static_cast<int>(
        std::clamp<std::uint64_t>(bytes_per_read / stride, 1, static_cast<std::uint64_t>(l.height)));
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(rows_per_read * stride));
    const RowConverter convert(l, picture, false);
    for (int first = 0; first < l.height; first += rows_per_read) {
        const int count = std::min(rows_per_read, l.height - first);
        // The last row of the file may end without its padding.
        const std::uint64_t length =
            (count - 1) * stride + (first + count == l.height ? last_row : stride);
        if (!file.read(l.pixel_offset + first * stride, static_cast<std::size_t>(length), rows.data()))
            refuse("the file cannot be read");
        for (int i = 0; i < count; ++i) convert(first + i, rows.data() + i * stride);
    }
}

// ---------------------------------------------------------------- RLE

// Runs of RLE4, RLE8 and RLE24 data. Rows go bottom up; pixels the data
// skips (by a move, an early end of line or of picture) stay black.
class RleDecoder {
public:
    RleDecoder(Bytes data, const Layout& l, Picture& picture)
        : data_(data), layout_(l), picture_(picture), row_end_(padded_row_end(l))
    {
    }

    void run()
    {
        for (;;) {
            if (!has(2)) {
                // A missing end marker is harmless once every row is complete.
                if (y_ >= layout_.height) return;
                refuse("the compressed pixel data is cut off");
            }
            const int count = data_[at_];
            const int code = data_[at_ + 1];
            at_ += 2;
            if (count > 0) {
                repeated(count, code);
            } else if (code == 0) {
                if (y_ >= layout_.height) refuse("the compressed data goes past the last row");
                x_ = 0;
                ++y_;
            } else if (code == 1) {
                return;
            } else if (code == 2) {
                moved();
            } else {
                literal(code);
            }
        }
    }

private:
    // Widely used writers of 4 and 8-bit files let a row's runs cover the
    // row's padding, up to the next multiple of 4 pixels. Those pixels are
    // dropped; a run reaching further is corrupt.
    static int padded_row_end(const Layout& l)
    {
        return l.coding == Coding::rle24 ? l.width : (l.width + 3) / 4 * 4;
    }

    bool has(std::size_t n) const { return data_.size() - at_ >= n; }

    // The pixels of the next `count` that lie inside the row; those in the
    // padding are left out.
    std::span<Colour> place(int count)
    {
        if (y_ >= layout_.height) refuse("the compressed data goes past the last row");
        if (count > row_end_ - x_) refuse("a compressed run goes past the end of a row");
        const int from = std::min(x_, layout_.width);
        const int inside = std::min(x_ + count, layout_.width) - from;
        x_ += count;
        return {picture_.row(layout_.height - 1 - y_) + from, static_cast<std::size_t>(inside)};
    }

    // An encoded run: one colour (RLE8, RLE24) or two alternating ones (RLE4).
    void repeated(int count, int code)
    {
        if (layout_.coding == Coding::rle24) {
            if (!has(2)) refuse("the compressed pixel data is cut off");
            const Colour c = rgb(data_[at_ + 1], data_[at_], code);
            at_ += 2;
            std::ranges::fill(place(count), c);
            return;
        }
        const std::span<Colour> dst = place(count);
        if (layout_.coding == Coding::rle8) {
            std::ranges::fill(dst, palette_colour(layout_.palette, code));
            return;
        }
        const Colour pair[2] = {palette_colour(layout_.palette, code >> 4),
                                count > 1 ? palette_colour(layout_.palette, code & 15) : 0};
        for (std::size_t i = 0; i < dst.size(); ++i) dst[i] = pair[i & 1];
    }

    // An absolute run of `count` pixels, padded to a whole 16-bit word.
    void literal(int count)
    {
        const std::size_t bytes = layout_.coding == Coding::rle8   ? count
                                  : layout_.coding == Coding::rle4 ? (count + 1) / 2
                                                                   : 3 * count;
        if (!has(bytes)) refuse("the compressed pixel data is cut off");
        const std::span<Colour> dst = place(count);
        const std::uint8_t* src = data_.data() + at_;
        for (std::size_t i = 0; i < dst.size(); ++i) {
            switch (layout_.coding) {
            case Coding::rle8: dst[i] = palette_colour(layout_.palette, src[i]); break;
            case Coding::rle4:
                dst[i] = palette_colour(layout_.palette, i % 2 ? src[i / 2] & 15 : src[i / 2] >> 4);
                break;
            default: dst[i] = rgb(src[3 * i + 2], src[3 * i + 1], src[3 * i]); break;
            }
        }
        at_ += std::min(bytes + (bytes & 1), data_.size() - at_);
    }

    void moved()
    {
        if (!has(2)) refuse("the compressed pixel data is cut off");
        x_ += data_[at_];
        y_ += data_[at_ + 1];
        at_ += 2;
        if (x_ > layout_.width || y_ >= layout_.height)
            refuse("a move in the compressed data leaves the picture");
    }

    Bytes data_;
    const Layout& layout_;
    Picture& picture_;
    const int row_end_;  // where the runs of a row must end at the latest
    std::size_t at_ = 0;
    int x_ = 0;
    int y_ = 0;
};

// ---------------------------------------------------------------- writing

void put_u16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v)
{
    out[at] = static_cast<std::uint8_t>(v);
    out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void put_u32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v)
{
    put_u16(out, at, v & 0xFFFF);
    put_u16(out, at + 2, v >> 16);
}

// Runs a decoding step, turning a refusal or a lack of memory into the result's reason.
template <typename Step>
DecodeResult decoded_by(Step step)
{
    DecodeResult result;
    try {
        result.picture = step();
    } catch (const Refusal& refusal) {
        result.error = refusal.reason;
    } catch (const std::bad_alloc&) {
        result.error = "the picture is too large for memory";
    }
    return result;
}

Picture decode_whole(Bytes file)
{
    const Layout layout = read_layout({file, file.size()});
    if (is_rle(layout.coding)) {
        // Pixels the data skips stay black.
        Picture picture(layout.width, layout.height);
        RleDecoder(file.subspan(layout.pixel_offset), layout, picture).run();
        return picture;
    }
    Picture picture = Picture::for_overwrite(layout.width, layout.height);
    decode_rows(file, layout, picture);
    return picture;
}

// The first `length` bytes of the file.
std::vector<std::uint8_t> read_bytes(FileReader& file, std::uint64_t length)
{
    if (length > std::numeric_limits<std::size_t>::max()) throw std::bad_alloc();
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    if (!file.read(0, bytes.size(), bytes.data())) refuse("the file cannot be read");
    return bytes;
}

}  // namespace

std::int64_t header_pixels(std::span<const std::uint8_t> start)
{
    try {
        const InfoHeader h = read_info_header({start, start.size()});
        return std::max<std::int64_t>(h.width, 0) * (h.height < 0 ? -h.height : h.height);
    } catch (const Refusal&) {
        return 0;
    }
}

DecodeResult decode(std::span<const std::uint8_t> file)
{
    return decoded_by([&] { return decode_whole(file); });
}

DecodeResult decode(FileReader& file)
{
    return decoded_by([&] {
        // The layout of nearly every file lies in its first bytes; only
        // uncompressed rows can be converted as they are read.
        constexpr std::uint64_t start_length = 64 << 10;
        const std::uint64_t size = file.size();
        const std::vector<std::uint8_t> start = read_bytes(file, std::min(size, start_length));
        Layout layout;
        try {
            layout = read_layout({start, size});
        } catch (const NeedsWholeFile&) {
            return decode_whole(read_bytes(file, size));
        }
        if (is_rle(layout.coding) || needs_alpha_scan(layout))
            return decode_whole(read_bytes(file, size));
        Picture picture = Picture::for_overwrite(layout.width, layout.height);
        read_rows(file, layout, picture);
        return picture;
    });
}

bool write(ConstPictureView picture, const ByteSink& sink)
{
    const std::size_t width = static_cast<std::size_t>(std::max(picture.width, 0));
    const std::size_t height = static_cast<std::size_t>(std::max(picture.height, 0));
    const std::size_t stride = (width * 3 + 3) / 4 * 4;
    const std::size_t offset = file_header_size + 40;

    std::vector<std::uint8_t> header(offset, 0);
    header[0] = 'B';
    header[1] = 'M';
    put_u32(header, 2, static_cast<std::uint32_t>(offset + stride * height));
    put_u32(header, 10, offset);
    put_u32(header, 14, 40);
    put_u32(header, 18, static_cast<std::uint32_t>(width));
    put_u32(header, 22, static_cast<std::uint32_t>(height));  // positive: bottom row first
    put_u16(header, 26, 1);                                    // planes
    put_u16(header, 28, 24);                                   // bits per pixel
    put_u32(header, 34, static_cast<std::uint32_t>(stride * height));
    put_u32(header, 38, 2835);  // 72 dots per inch, in dots per metre
    put_u32(header, 42, 2835);
    if (!sink(header)) return false;

    // Rows a few hundred kilobytes at a time; the padding stays 0.
    constexpr std::size_t piece_bytes = 256 << 10;
    const std::size_t rows_per_piece =
        std::clamp<std::size_t>(piece_bytes / std::max<std::size_t>(stride, 1), 1,
                                std::max<std::size_t>(height, 1));
    std::vector<std::uint8_t> piece(rows_per_piece * stride, 0);
    for (std::size_t first = 0; first < height; first += rows_per_piece) {
        const std::size_t rows = std::min(rows_per_piece, height - first);
        for (std::size_t i = 0; i < rows; ++i)
            bgr_from_colours(picture.row(static_cast<int>(height - 1 - (first + i))),
                             piece.data() + i * stride, static_cast<int>(width));
        if (!sink(std::span(piece).first(rows * stride))) return false;
    }
    return true;
}

std::vector<std::uint8_t> encode(ConstPictureView picture)
{
    std::vector<std::uint8_t> out;
    write(picture, [&](std::span<const std::uint8_t> bytes) {
        out.insert(out.end(), bytes.begin(), bytes.end());
        return true;
    });
    return out;
}

}  // namespace korven::bmp
