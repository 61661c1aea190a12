#include "display/view_geometry.h"

#include <cmath>

#include "state/state.h"
#include "display/picture_window.h"
#include "core/numbers.h"

namespace korven {

std::int16_t offset_around(std::int16_t centre, std::int16_t view_size)
{
    const int offset = floor_to_int(centre - view_size / 2.0);
    return round_to_int16(offset < 0 ? 0 : offset);
}

std::int16_t picture_coordinate(int window, std::int16_t view_offset)
{
    const State& s = state();
    const double steps =
        std::floor(static_cast<double>(window - drawing_area_origin) / s.zoom_in_factor * s.zoom_out_divisor);
    return round_to_int16(steps + view_offset);
}

void centre_view_on(std::int16_t centre_x, std::int16_t centre_y, double zoom_in_factor, double zoom_out_divisor)
{
    State& s = state();
    set_view_size(zoom_in_factor, zoom_out_divisor);
    s.view_left = offset_around(centre_x, s.view_width);
    s.view_top = offset_around(centre_y, s.view_height);
    DRAW2();
}

void resize_view_around_centre(double zoom_in_factor, double zoom_out_divisor)
{
    const State& s = state();
    // The centre of the present view, stored as a whole picture point.
    centre_view_on(round_to_int16(s.view_left + s.view_width / 2.0), round_to_int16(s.view_top + s.view_height / 2.0),
                   zoom_in_factor, zoom_out_divisor);
}

void fit_window_to_picture()
{
    State& s = state();
    bool resized = false;
    // A view reduced by a zoom may be wider than a picture of nearly 32767
    // pixels; the window's size then stops at the 16-bit end instead of wrapping.
    if (s.view_width > s.shown_width) {
        s.view_width = s.shown_width;
        s.picture_window_width = round_to_int16(s.shown_width + picture_frame_width);
        resized = true;
    }
    if (s.view_height > s.shown_height) {
        s.view_height = s.shown_height;
        s.picture_window_height = round_to_int16(s.shown_height + picture_frame_height);
        resized = true;
    }
    if (resized) fe::set_window_size(ui().FORM2, s.picture_window_width, s.picture_window_height);
}

std::string size_text(std::int16_t width, std::int16_t height)
{
    return "Size:(" + display_text(width) + "," + display_text(height) + ")";
}

}  // namespace korven
