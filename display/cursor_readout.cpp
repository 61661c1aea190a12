#include "display/cursor_readout.h"

#include <cmath>
#include <string>

#include "state/state.h"
#include "display/view_geometry.h"
#include "platform/numbers.h"

namespace korven {

namespace {

// Picture column (row) under window coordinate `window`: the inverse of the
// view mapping. Saturated to 16 bits, so a far point still reads as outside.
std::int16_t picture_coordinate(int window, std::int16_t view_offset)
{
    const State& s = state();
    const double steps = std::floor(static_cast<double>(window - drawing_area_origin) / s.zoom_in_factor *
                                    s.zoom_out_divisor);
    return round_to_int16(steps + view_offset);
}

// The coordinate right-aligned in four characters (a longer one keeps its
// last four digits), or dashes outside 0..limit-1.
std::string coordinate_text(std::int16_t value, std::int16_t limit)
{
    if (value >= limit || value < 0) return "----";
    return right_align(number_text(value), 4, "  ");
}

// "(X,Y)=(" column "," row ")" for the picture pixel under client point (x, y).
std::string cursor_readout_text(int x, int y)
{
    const State& s = state();
    const std::int16_t column = picture_coordinate(x, s.view_left);
    const std::int16_t row = picture_coordinate(y, s.view_top);
    // The limits are the sizes recorded for the shown slot.
    return "(X,Y)=(" + coordinate_text(column, s.picture_width[s.shown_picture]) + "," +
           coordinate_text(row, s.picture_height[s.shown_picture]) + ")";
}

}  // namespace

void FORM2_MOUSEMOVE(const fe::Event& move)
{
    fe::set_window_text(ui().TEXT9, cursor_readout_text(move.x, move.y));
}

}  // namespace korven
