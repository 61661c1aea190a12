#include "display/trimming_box_outline.h"

#include "state/state.h"
#include "platform/draw.h"
#include "core/numbers.h"

namespace korven {

void draw_trimming_box_outline()
{
    const State& s = state();
    const Controls& c = ui();
    const double x = read_number(fe::get_window_text(c.EDIT4));
    const double y = read_number(fe::get_window_text(c.EDIT5));
    const double width = read_number(fe::get_window_text(c.EDIT6));
    const double height = read_number(fe::get_window_text(c.EDIT7));
    const double zoom = static_cast<double>(s.zoom_in_factor) / s.zoom_out_divisor;
    // One pixel outside the box on every side, so the outline covers none of it.
    const double corner_x = 13 + (x - s.view_left) * zoom;
    const double corner_y = 13 + (y - s.view_top) * zoom;
    draw::line(c.FORM2, corner_x, corner_y, width * zoom + 1, height * zoom + 1, s.line_color, draw::box_mode);
}

}  // namespace korven
