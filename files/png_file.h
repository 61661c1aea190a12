#pragma once
// PNG files: a lossless format every other program reads.

#include <string>

#include "core/picture.h"
#include "files/file_result.h"

namespace fe {

// Writes `bitmap` as an 8-bit RGB PNG file (no alpha) with libpng, through a
// temporary file beside the target that replaces it only when whole, as
// `save_file` does.
korven::FileResult save_png_file(const korven::Picture& bitmap, const std::string& path);

}  // namespace fe
