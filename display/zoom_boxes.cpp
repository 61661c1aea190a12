#include "display/zoom_boxes.h"

#include "state/state.h"
#include "display/view_geometry.h"
#include "core/numbers.h"

namespace korven {

namespace {

// A zoom may be switched on only while a picture is shown and its field holds
// a whole factor of at least 2; otherwise the box clears itself again.
bool zoom_value_refused(fe::Control box, bool& checked, double value)
{
    if (state().picture_window_shown && value >= 2) return false;
    show_check(box, checked, false);
    return true;
}

}  // namespace

// "in x"
void CHECK2_ON()
{
    State& s = state();
    const Controls& c = ui();
    s.zoom_in_checked = fe::get_check(c.CHECK2) == 1;  // as the click left it
    if (s.zoom_out_checked) {  // the two zooms exclude each other
        show_check(c.CHECK2, s.zoom_in_checked, false);
        return;
    }
    const double factor = read_number(fe::get_window_text(c.EDIT8));
    if (zoom_value_refused(c.CHECK2, s.zoom_in_checked, factor)) return;
    s.zoom_in_on = s.zoom_in_checked ? 1 : 0;
    if (s.zoom_in_on == 0 && s.zoom_in_factor > 1) {
        // Leaving an enlargement: back to one to one around the same centre.
        s.zoom_in_factor = 1;
        show_enabled(c.EDIT8, s.zoom_in_field_enabled, true);
        resize_view_around_centre(s.zoom_in_factor, 1);
        return;
    }
    // Checking only arms the enlargement; the next click on the picture applies it.
    show_enabled(c.EDIT8, s.zoom_in_field_enabled, s.zoom_in_on == 0);
}

// "out  1/"
void CHECK7_ON()
{
    State& s = state();
    const Controls& c = ui();
    s.zoom_out_checked = fe::get_check(c.CHECK7) == 1;  // as the click left it
    if (s.zoom_in_checked) {
        show_check(c.CHECK7, s.zoom_out_checked, false);
        return;
    }
    const double divisor = read_number(fe::get_window_text(c.EDIT44));
    if (zoom_value_refused(c.CHECK7, s.zoom_out_checked, divisor)) return;
    s.zoom_out_on = s.zoom_out_checked ? 1 : 0;
    if (s.zoom_out_on == 1 && s.zoom_out_divisor == 1) {
        // Entering a reduction takes effect at once, around the view's centre.
        // Clearing the box later leaves it on until a click on the picture ends it.
        s.zoom_out_divisor = round_to_int16(divisor);
        show_enabled(c.EDIT44, s.zoom_out_field_enabled, false);
        resize_view_around_centre(1, s.zoom_out_divisor);
    }
}

}  // namespace korven
