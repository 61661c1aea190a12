#pragma once
// The analysis the slow way, written step by step from its definition: every
// pixel read with get_pixel and plotted with set_pixel, every element of the
// chart drawn with the drawing layer, to check the fast pass and ANALY against.

#include <array>
#include <cstdint>

#include "platform/form.h"

namespace korven::reference {

using Histogram = std::array<std::int32_t, 256>;

// The chroma matrix, computed in floating point and stored in single precision.
std::array<std::array<float, 3>, 3> chroma_matrix();

// Step 3 alone: every pixel of `source` as a dot on `chart` for the panel at
// `panel_top`; returns the brightness counters.
Histogram dots(const fe::Bitmap& source, float panel_top, fe::Bitmap& chart);

// The whole of ANALY(source_slot) for `source` on a 640 x 648 `chart`.
void analy(const fe::Bitmap& source, int source_slot, fe::Bitmap& chart);

}  // namespace korven::reference
