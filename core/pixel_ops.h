#pragma once
// Copying between pixel views: one to one, and stretched by nearest sampling.
// Both clip to the source and the target, so any rectangle is safe.

#include "core/picture.h"

namespace korven::pixels {

// The block of target pixels an operation wrote (empty when it wrote none).
struct Area {
    int x = 0, y = 0, width = 0, height = 0;
    bool empty() const { return width <= 0 || height <= 0; }
};

// Copies the w x h block at (sx, sy) of `source` to (x, y) of `target`.
Area copy_rect(PictureView target, int x, int y, int w, int h, ConstPictureView source, int sx,
               int sy);

// Maps the source rectangle onto the target rectangle: target pixel (tx, ty)
// shows source pixel floor(sx + (tx + 0.5 - x) * sw / w), likewise for rows.
// Enlarging by a whole factor repeats each pixel exactly; reducing by a whole
// divisor takes the middle pixel of each block.
Area stretch_rect(PictureView target, double x, double y, double w, double h,
                  ConstPictureView source, double sx, double sy, double sw, double sh);

// Fills the w x h block at (x, y), clipped.
void fill_rect(PictureView target, int x, int y, int w, int h, Colour colour);

}  // namespace korven::pixels
