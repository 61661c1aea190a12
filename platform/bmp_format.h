#pragma once
// BMP files in memory: decoding every common variant into a picture, and
// encoding a picture as a plain 24-bit BMP that every reader opens.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/picture.h"

namespace korven::bmp {

struct DecodeResult {
    Picture picture;
    std::string error;  // empty on success: why the file was refused otherwise
    bool ok() const { return error.empty(); }
};

// Decodes a whole BMP file. Refuses, with a short reason, anything it cannot
// read faithfully (truncated, corrupt, unsupported, a side over 32767); checks
// the header's promises against the data before allocating.
DecodeResult decode(std::span<const std::uint8_t> file);

// A 24-bit, bottom-up BMP with a 40-byte info header.
std::vector<std::uint8_t> encode(ConstPictureView picture);

}  // namespace korven::bmp
