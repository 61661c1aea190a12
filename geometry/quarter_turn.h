#pragma once
// Turning rows of a picture a quarter: a band of rows becomes a band of
// target columns. A plain loop every processor runs, and an AVX2 loop that
// moves blocks of 8 x 8 pixels in registers; both write the same pixels.

#include "platform/picture.h"

namespace korven::quarter_turn {

// `rows` are rows first_y .. first_y + rows.height - 1 of a picture
// rows.width wide and `height` high.
struct Band {
    ConstPictureView rows;
    int first_y;
    int height;
};

// Writes the band into `target` turned clockwise: by one quarter, pixel
// (x, y) goes to (height - 1 - y, x); by three, to (y, width - 1 - x).
void turn_band(const Band& band, int quarter_turns, PictureView target);

// The band's rows k0 .. k1 - 1, columns x0 .. x1 - 1 only, the plain way.
void turn_block(const Band& band, int quarter_turns, PictureView target, int k0, int k1, int x0, int x1);

// The AVX2 loop, and whether this processor runs it.
bool has_vector_turn();
void vector_turn_band(const Band& band, int quarter_turns, PictureView target);

}  // namespace korven::quarter_turn
