#pragma once
// What a window keeps of everything drawn on it: a screen-sized picture that
// survives uncovering and enlarging. Clearing is settled lazily: the copy that
// usually follows a clear fills only the part it does not cover itself, so a
// redraw costs one pass over the canvas instead of two.

#include "core/pixel_ops.h"

namespace korven {

class KeptCanvas {
public:
    void set_background(Colour colour) { background_ = colour; }

    // Grows to at least this size, keeping the drawing; new parts are background.
    void grow(int width, int height);

    void clear() { clear_pending_ = true; }

    // The pixels, with any pending clear settled, for drawing or showing.
    PictureView view();
    const Picture& pixels();

    // Copies one to one or stretched, then settles a pending clear around them.
    void copy(int x, int y, int width, int height, ConstPictureView source, int source_x, int source_y);
    void stretch(double x, double y, double width, double height, ConstPictureView source, double source_x,
                 double source_y, double source_width, double source_height);

private:
    void settle_clear_around(const pixels::Area& covered);

    Picture canvas_;
    Colour background_ = 0;
    bool clear_pending_ = false;
};

}  // namespace korven
