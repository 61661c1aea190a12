#pragma once
// The geometry of the picture window's view: mapping window points to picture
// points, moving a resized view around its centre, and fitting the window to
// a small picture.

#include <cstdint>
#include <string>

#include "state/state.h"

namespace korven {

// After the view took a new size: the offset that puts `centre` in its middle,
// 0 when that would be negative. The upper end is left to DRAW2.
std::int16_t offset_around(std::int16_t centre, std::int16_t view_size);

// The picture column (row) under client coordinate `window` of the drawing
// area: the inverse of the view mapping, INT((window - 14) / zoom_in_factor x
// zoom_out_divisor) + the view's offset. Saturated to 16 bits, so a far point
// still lies outside the picture.
std::int16_t picture_coordinate(int window, std::int16_t view_offset);

// Changes the view to the size of the zoom now in force with the picture point
// (centre_x, centre_y) in its middle, then redraws (which fits both bars).
// `zoom_in_factor` / `zoom_out_divisor` are the factors of the new view size
// (the one that is 1 may be left at 1).
void centre_view_on(std::int16_t centre_x, std::int16_t centre_y, double zoom_in_factor,
                    double zoom_out_divisor);

// The same around the centre of the present view.
void resize_view_around_centre(double zoom_in_factor, double zoom_out_divisor);

// Shrinks the picture window to a shown picture smaller than the view (never
// enlarges it), so the window holds no empty margin.
void fit_window_to_picture();

// "Size:(W,H)" with the display texts of the two numbers.
std::string size_text(std::int16_t width, std::int16_t height);

}  // namespace korven
