#pragma once
// PNG files: a lossless format every other program reads.

#include <string>

#include "platform/form.h"

namespace fe {

// Writes `bitmap` as an 8-bit RGB PNG file (no alpha), through a temporary
// file beside the target that replaces it only when whole, as `save_file` does.
FileResult save_png_file(const Bitmap& bitmap, const std::string& path);

}  // namespace fe
