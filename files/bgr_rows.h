#pragma once
// Rows of 24-bit pixels as BMP files store them (blue, green, red) to and
// from colour values: the bulk of reading and writing a photo.

#include <cstdint>

#include "core/picture.h"

namespace korven::bmp {

// `width` pixels of 3 bytes each at `from` into colour values.
void colours_from_bgr(const std::uint8_t* from, Colour* to, int width);

// `width` colour values into 3 bytes each at `to`; writes nothing past them.
void bgr_from_colours(const Colour* from, std::uint8_t* to, int width);

}  // namespace korven::bmp
