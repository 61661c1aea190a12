#include "files/exif_orientation.h"

#include <utility>

namespace korven {

namespace {

std::uint32_t read_u16(const std::uint8_t* at, bool big_endian)
{
    return big_endian ? (at[0] << 8) | at[1] : at[0] | (at[1] << 8);
}

std::uint32_t read_u32(const std::uint8_t* at, bool big_endian)
{
    return big_endian ? (read_u16(at, true) << 16) | read_u16(at + 2, true)
                      : read_u16(at, false) | (read_u16(at + 2, false) << 16);
}

}  // namespace

Orientation orientation_of(int exif_orientation)
{
    if (exif_orientation < 1 || exif_orientation > 8) return {};
    const int k = (exif_orientation - 1) % 4;  // 1 and 5: none, 2 and 6: x, 3 and 7: both, 4 and 8: y
    return {exif_orientation > 4, k == 1 || k == 2, k == 2 || k == 3};
}

std::optional<int> exif_orientation_tag(std::span<const std::uint8_t> tiff)
{
    // The byte order mark ("II" or "MM"), 42, and where the first directory starts.
    const std::size_t size = tiff.size();
    if (size < 8) return std::nullopt;
    const std::uint8_t* bytes = tiff.data();
    const bool big = bytes[0] == 'M';
    if ((bytes[0] != 'M' && bytes[0] != 'I') || bytes[1] != bytes[0]) return std::nullopt;
    const std::uint64_t directory = read_u32(bytes + 4, big);
    if (directory + 2 > size) return std::nullopt;
    // 12-byte entries of tag, type, count and value; a SHORT value sits in
    // the first two bytes of the value field.
    const std::uint32_t entries = read_u16(bytes + directory, big);
    for (std::uint32_t i = 0; i < entries; ++i) {
        const std::uint64_t entry = directory + 2 + 12 * std::uint64_t{i};
        if (entry + 12 > size) break;
        if (read_u16(bytes + entry, big) == 0x0112 && read_u16(bytes + entry + 2, big) == 3)
            return static_cast<int>(read_u16(bytes + entry + 8, big));
    }
    return std::nullopt;
}

int exif_orientation_of_tiff(std::span<const std::uint8_t> tiff)
{
    const int value = exif_orientation_tag(tiff).value_or(1);
    return value >= 1 && value <= 8 ? value : 1;
}

Picture turned_upright(Picture stored, int exif_orientation)
{
    const Orientation o = orientation_of(exif_orientation);
    if (!o.turned && !o.mirror_x && !o.mirror_y) return stored;
    const int width = stored.width(), height = stored.height();
    Picture upright = o.turned ? Picture::for_overwrite(height, width) : Picture::for_overwrite(width, height);
    // Stored pixel (sx, sy) lands at (sy, sx) when turned, then mirrored as the orientation says.
    const int last_x = upright.width() - 1, last_y = upright.height() - 1;
    for (int sy = 0; sy < height; ++sy) {
        const Colour* row = stored.row(sy);
        for (int sx = 0; sx < width; ++sx) {
            const int x = o.turned ? sy : sx;
            const int y = o.turned ? sx : sy;
            upright.at(o.mirror_x ? last_x - x : x, o.mirror_y ? last_y - y : y) = row[sx];
        }
    }
    return upright;
}

}  // namespace korven
