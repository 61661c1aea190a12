#pragma once
// Encoding JPEG files with libjpeg-turbo.

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "core/picture.h"
#include "files/file_result.h"

namespace korven {

// The quality a JPEG is saved at when the user has never chosen one.
constexpr int default_jpeg_quality = 92;

// A picture given row by row, from the top down: `row(y)` is row y, valid
// until the next call. A picture can be made as it is encoded, band by band,
// without ever being held whole.
struct PictureRows {
    int width = 0;
    int height = 0;
    std::function<const Colour*(int y)> row;
};

// Encodes `rows` as a baseline JPEG (4:2:0, not progressive) of `quality`
// (1 to 100, clamped), with `icc_profile` (if any) in APP2 markers, into `bytes`.
FileResult encode_jpeg(const PictureRows& rows, int quality, std::span<const std::uint8_t> icc_profile,
                       std::vector<std::uint8_t>& bytes);
FileResult encode_jpeg(const Picture& picture, int quality, std::span<const std::uint8_t> icc_profile,
                       std::vector<std::uint8_t>& bytes);

// The rows of a whole picture.
PictureRows rows_of(const Picture& picture);

}  // namespace korven
