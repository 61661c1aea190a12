#include "display/zoom_boxes.h"

#include "state/state.h"
#include "display/view_geometry.h"
#include "core/numbers.h"

namespace korven {

namespace {

// A zoom may be switched on only while a picture is shown and its field holds
// a whole factor of at least 2; otherwise the box clears itself again.
bool zoom_value_refused(fe::Control box, double value)
{
    if (fe::is_window_visible(ui().FORM2) && value >= 2) return false;
    fe::set_check(box, 0);
    return true;
}

}  // namespace

// "in x"
void CHECK2_ON()
{
    State& s = state();
    const Controls& c = ui();
    if (fe::get_check(c.CHECK7) == 1) {  // the two zooms exclude each other
        fe::set_check(c.CHECK2, 0);
        return;
    }
    const double factor = read_number(fe::get_window_text(c.EDIT8));
    if (zoom_value_refused(c.CHECK2, factor)) return;
    s.zoom_in_on = static_cast<std::int16_t>(fe::get_check(c.CHECK2));
    if (s.zoom_in_on == 0 && s.zoom_in_factor > 1) {
        // Leaving an enlargement: back to one to one around the same centre.
        s.zoom_in_factor = 1;
        fe::enable_window(c.EDIT8, true);
        resize_view_around_centre(s.zoom_in_factor, 1);
        return;
    }
    // Checking only arms the enlargement; the next click on the picture applies it.
    fe::enable_window(c.EDIT8, s.zoom_in_on == 0);
}

// "out  1/"
void CHECK7_ON()
{
    State& s = state();
    const Controls& c = ui();
    if (fe::get_check(c.CHECK2) == 1) {
        fe::set_check(c.CHECK7, 0);
        return;
    }
    const double divisor = read_number(fe::get_window_text(c.EDIT44));
    if (zoom_value_refused(c.CHECK7, divisor)) return;
    s.zoom_out_on = static_cast<std::int16_t>(fe::get_check(c.CHECK7));
    if (s.zoom_out_on == 1 && s.zoom_out_divisor == 1) {
        // Entering a reduction takes effect at once, around the view's centre.
        // Clearing the box later leaves it on until a click on the picture ends it.
        s.zoom_out_divisor = round_to_int16(divisor);
        fe::enable_window(c.EDIT44, false);
        resize_view_around_centre(1, s.zoom_out_divisor);
    }
}

}  // namespace korven
