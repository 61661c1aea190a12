#pragma once
// The outline of the trimming box, drawn over the adjusted picture.

namespace korven {

// Draws the box typed into the X, Y, Width and Height fields as an outline
// that encloses its pixels at the current zoom, in `line_color`. The paint
// step calls it when the adjusted picture is shown and the box is on.
void draw_trimming_box_outline();

}  // namespace korven
