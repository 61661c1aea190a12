#pragma once
// Reading PNG files with libpng: any bit depth and colour type, interlaced or
// not, as 8-bit colours laid over white where they are transparent, upright
// as the file's EXIF orientation says.

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

// The number of pixels of a PNG file's picture, from its header; 0 if it is
// not a PNG file or cannot be read.
long long png_header_pixels(const std::string& path);

}  // namespace fe
