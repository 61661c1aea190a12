#include "display/cursor_readout.h"

#include <string>

#include "state/state.h"
#include "display/view_geometry.h"
#include "core/numbers.h"

namespace korven {

std::string coordinate_text(std::int16_t value, std::int16_t limit)
{
    if (value >= limit || value < 0) return "----";
    return right_align(number_text(value), 4, "  ");
}

namespace {

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
