#pragma once
// The one pass of the colour analysis over a picture: every pixel becomes a
// dot of the chromaticity diagram and a count of the brightness histogram.

#include <array>
#include <cstdint>
#include <vector>

#include "colour/chroma_matrix.h"
#include "core/code_path.h"
#include "core/picture.h"

namespace korven {

// Slot m counts the pixels whose mean level rounds to m.
using BrightnessHistogram = std::array<std::int32_t, 256>;

// The paths of the pass this processor runs, fastest first; `portable` is
// always there. All give identical charts and counts.
std::vector<CodePath> analysis_paths_here();

// Every pixel of `picture`, in row order, with the coordinates q of `matrix`
// in single precision: t = 141.4 / q2, and the dot goes to (451 - q1 x t,
// panel_top + 214 - q0 x t) of `chart`, on the pixel `pixel_coordinate`
// gives, in the colour scaled to mean level 85 (each level x 85 / q2, rounded).
// A black pixel (q2 = 0) takes the centre in (85, 85, 85), dividing by
// nothing. Where several dots land on one chart pixel the last in row order
// wins; dots beyond the chart are dropped. Returns the counts of q2 rounded.
// The matrix is expected to hold entries within -1..1 and, in its mean row,
// weights of 1/4 to 1 (the start-up matrix does); others are taken as the
// nearest of those, and means and dot levels above 255 as 255.
BrightnessHistogram analyse(ConstPictureView picture, const ChromaMatrix& matrix,
                            float panel_top, PictureView chart,
                            CodePath path = CodePath::fastest);

}  // namespace korven
