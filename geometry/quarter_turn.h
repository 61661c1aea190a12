#pragma once
// Turning rows of a picture a quarter: a band of rows becomes a band of
// target columns. A plain loop every processor runs, and an AVX2 loop that
// moves blocks of 8 x 8 pixels in registers; both write the same pixels.

#include "core/picture.h"

namespace korven::quarter_turn {

// A block of a frame picture `frame_width` x `frame_height`: `rows` holds
// its columns first_x .. first_x + rows.width - 1 of its rows first_y ..
// first_y + rows.height - 1.
struct Band {
    ConstPictureView rows;
    int first_x;
    int first_y;
    int frame_width;
    int frame_height;
};

// Writes the band into `target` turned clockwise: by one quarter, frame
// pixel (X, Y) goes to (frame_height - 1 - Y, X); by three, to
// (Y, frame_width - 1 - X).
void turn_band(const Band& band, int quarter_turns, PictureView target);

// Rows k0 .. k1 - 1, columns x0 .. x1 - 1 of `rows` only, the plain way.
void turn_block(const Band& band, int quarter_turns, PictureView target, int k0, int k1, int x0, int x1);

// The AVX2 loop, for processors that run it (the plain loop where the
// compiler cannot build it).
void vector_turn_band(const Band& band, int quarter_turns, PictureView target);

}  // namespace korven::quarter_turn
