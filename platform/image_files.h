#pragma once
// JPEG files: reading them into pictures, with the photo's orientation applied.

#include <string>

#include "platform/form.h"

namespace fe {

// Decodes a JPEG file upright (its EXIF orientation applied). On failure
// `picture` is left as it was and the result says why.
FileResult read_jpeg(const std::string& path, Bitmap& picture);

// The number of pixels of a JPEG file's picture, from its header; 0 if it
// has none that can be read.
long long jpeg_header_pixels(const std::string& path);

// Writes a JPEG file of the given quality (0 to 100), e.g. to make test photos.
FileResult write_jpeg(const Bitmap& picture, const std::string& path, int quality);

// The number of pixels of the picture in a BMP or JPEG file, from its header
// alone; 0 if the file is neither or cannot be read.
long long picture_file_pixels(const std::string& path);

// The largest file the readers accept, so a huge file is refused before it is read.
constexpr long long largest_image_file = 2LL << 30;

}  // namespace fe
