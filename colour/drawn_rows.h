#pragma once
// What DRAW makes of a photo, band by band as an encoder takes its rows, for
// a photo corrected unseen: the same kernels and level tables as DRAW, with
// no second picture of the photo's size.

#include "colour/level_table.h"
#include "core/picture.h"
#include "state/photo_document.h"

namespace korven {

class DrawnRows {
public:
    // `original` and `previous` (the adjusted picture before, for one
    // channel) have the same size and outlive this.
    DrawnRows(const Picture& original, const Picture& previous, const DrawRecipe& recipe);

    // Row y of what `drawn_picture` makes, for y from the top down; valid until the next call.
    const Colour* row(int y);

private:
    static constexpr int band_rows = 32;
    const Picture& original_;
    const Picture& previous_;
    DrawMode mode_;
    LevelTable table_;
    Picture band_;
    int band_first_ = -1;
};

}  // namespace korven
