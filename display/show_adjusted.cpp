#include "display/show_adjusted.h"

#include "display/picture_window.h"
#include "display/view_geometry.h"
#include "state/state.h"

namespace korven {

void show_new_adjusted_picture(float reset_zoom)
{
    State& s = state();
    const fe::Bitmap& adjusted = s.pictures[adjusted_slot];
    s.shown_width = static_cast<std::int16_t>(fe::get_bitmap_width(adjusted));
    s.shown_height = static_cast<std::int16_t>(fe::get_bitmap_height(adjusted));
    s.picture_width[adjusted_slot] = s.shown_width;
    s.picture_height[adjusted_slot] = s.shown_height;
    s.shown_picture = adjusted_slot;
    show_text(ui().TEXT18, s.adjusted_size_label, "Adjasted>" + size_text(s.shown_width, s.shown_height));
    fit_window_to_picture();
    INICHNG(1, reset_zoom);
    DRAW2();
}

}  // namespace korven
