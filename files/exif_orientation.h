#pragma once
// EXIF orientation: which of the eight ways a camera stored a photo, read
// from the photo's EXIF bytes, and the stored pixels turned upright. JPEG and
// PNG files carry the same EXIF bytes, so both readers share this.

#include <cstdint>
#include <optional>
#include <span>

#include "core/picture.h"

namespace korven {

// How the stored rows lie in the upright photo: EXIF orientations 1 to 4 keep
// rows as rows, 5 to 8 turn them into columns; each may be mirrored along
// the upright photo's width (x) and height (y).
struct Orientation {
    bool turned = false;
    bool mirror_x = false;
    bool mirror_y = false;
};

// The way of EXIF orientation 1 to 8; any other value keeps the photo as stored.
Orientation orientation_of(int exif_orientation);

// The value of the orientation tag (0x0112, a SHORT) of the first image
// directory of TIFF-structured EXIF bytes (the bytes after a JPEG's
// "Exif\0\0", or a PNG's eXIf chunk); nothing when there is no such tag or
// the bytes are damaged. Safe on any bytes.
std::optional<int> exif_orientation_tag(std::span<const std::uint8_t> tiff);

// The orientation those bytes give, 1 to 8; 1 (as stored) when the tag is
// missing, damaged or out of range.
int exif_orientation_of_tiff(std::span<const std::uint8_t> tiff);

// The stored pixels as the upright photo shows them. Orientation 1 or a value
// out of range gives `stored` back untouched, without a copy. Throws
// std::bad_alloc when there is no memory for the turned picture.
Picture turned_upright(Picture stored, int exif_orientation);

}  // namespace korven
