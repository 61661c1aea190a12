#pragma once
// The arithmetic of the analysis for a run of pixels, compiled for each
// instruction set from the same loop, so every version gives the same dots.

#include <cstdint>

#include "colour/chroma_matrix.h"
#include "core/code_path.h"
#include "core/picture.h"

namespace korven::analysis_dots {

// Pixels are worked through in runs of this many.
constexpr int run_length = 256;

// Panels further out than this plot no dot, which keeps every coordinate the
// loop rounds well inside the int range.
constexpr float far_panel = 1 << 24;

// What one call needs, worked out once.
struct Plan {
    float matrix[3][3];
    float centre_x;  // 451
    float centre_y;  // panel_top + 214
    std::int32_t chart_width, chart_height, chart_stride;
};
// `chart` must hold fewer than 2^31 pixels.
Plan make_plan(const ChromaMatrix& matrix, float panel_top, PictureView chart);

// Where each pixel of a run goes: its chart pixel (row x stride + column, or
// -1 beyond the chart), dot colour and mean level.
struct Run {
    std::int32_t chart_index[run_length];
    Colour colour[run_length];
    std::int32_t level[run_length];
};

// Fills the first `count` (at most run_length) entries of `run` from `pixels`.
using PlaceFunction = void (*)(const Plan& plan, const Colour* pixels, int count, Run& run);

// The version for `code`, or the plain one where this processor lacks it.
PlaceFunction place_function(CodePath path);

}  // namespace korven::analysis_dots
