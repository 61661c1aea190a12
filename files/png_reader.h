#pragma once
// Reading PNG files with libpng: any bit depth and colour type, interlaced or
// not, as 8-bit colours laid over white where they are transparent, upright
// as the file's EXIF orientation says.

#include <cstdint>
#include <span>
#include <string>

#include "core/picture.h"
#include "files/file_result.h"

namespace fe {

// What reading a PNG file found besides its pixels.
struct PngFacts {
    bool composited_transparency = false;  // some pixel had alpha below 255 and was laid over white
    bool has_exif_chunk = false;           // the file holds an eXIf chunk
    int exif_orientation = 1;              // 1 to 8, from the eXIf chunk; 1 without one
};

// Decodes a PNG file upright. On failure `picture` and `facts` are left as
// they were and the result says why.
korven::FileResult read_png(const std::string& path, korven::Picture& picture, PngFacts& facts);

// The number of pixels of a PNG file's picture, from the first bytes of the
// file (24 are enough); 0 if they are not a PNG file's.
long long png_header_pixels(std::span<const std::uint8_t> start);

}  // namespace fe
