#pragma once
// What DRAW makes of a photo, band by band as an encoder takes its rows, for
// a photo corrected unseen: the same kernels and level tables as DRAW, with
// no second picture of the photo's size.

#include "colour/level_table.h"
#include "core/picture.h"
#include "state/photo_document.h"

namespace korven {

// The level table DRAW builds for `recipe`'s levels and mode.
LevelTable level_table_of(const DrawRecipe& recipe);

// Writes what DRAW makes with `table` and `mode` into `target`: in "All" mode
// from `original` alone; on one channel from `previous` (the adjusted picture
// before) with that channel replaced. The three views have the same size.
void draw_into(ConstPictureView original, ConstPictureView previous, PictureView target, const LevelTable& table,
               DrawMode mode);

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
