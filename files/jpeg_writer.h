#pragma once
// Encoding JPEG files with libjpeg-turbo.

#include <cstdint>
#include <span>
#include <vector>

#include "core/picture.h"
#include "files/file_result.h"

namespace korven {

// The quality a JPEG is saved at when the user has never chosen one.
constexpr int default_jpeg_quality = 92;

// Encodes `picture` as a baseline JPEG (4:2:0, not progressive) of `quality`
// (1 to 100, clamped), with `icc_profile` (if any) in APP2 markers, into `bytes`.
FileResult encode_jpeg(const Picture& picture, int quality, std::span<const std::uint8_t> icc_profile,
                       std::vector<std::uint8_t>& bytes);

}  // namespace korven
