#pragma once
// The averaging reduction of "Resizing": every target pixel becomes the mean
// colour of the block of source pixels that falls on it.

#include "geometry/kernel_path.h"
#include "core/picture.h"

namespace korven {

// Reduces `source` into `target`, which is no larger than it in either
// direction (and not empty). Source column i falls on target column
// floor(i x target width / source width), source row j on target row
// floor(j x target height / source height); each channel of a target pixel is
// the mean of that channel over its block, rounded to nearest (halves up).
// No block is too large: sums are kept in counters wide enough for any block
// of a picture with sides up to 32767. `path` chooses the loops (both give
// the same picture).
void average_reduce(ConstPictureView source, PictureView target, CodePath path = CodePath::fastest);

}  // namespace korven
