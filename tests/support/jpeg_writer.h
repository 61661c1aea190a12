#pragma once
// Writing JPEG photos for tests and benchmarks to load (the program itself
// writes none).

#include <string>

#include "core/picture.h"

namespace korven {

// Writes `picture` as a baseline JPEG of the given quality (0 to 100); false
// when the file cannot be written.
bool write_jpeg(const Picture& picture, const std::string& path, int quality);

}  // namespace korven
