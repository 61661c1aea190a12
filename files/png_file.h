#pragma once
// Encoding PNG files with libpng: a lossless format every other program reads.

#include <cstdint>
#include <span>
#include <vector>

#include "core/picture.h"
#include "files/file_result.h"

namespace korven {

// Encodes `picture` as an 8-bit RGB PNG (no alpha, 96 dpi), with
// `icc_profile` (if any) in an iCCP chunk, into `bytes`.
FileResult encode_png(const Picture& picture, std::span<const std::uint8_t> icc_profile,
                      std::vector<std::uint8_t>& bytes);

}  // namespace korven
