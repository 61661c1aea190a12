#include "display/picture_window.h"

#include "state/state.h"
#include "display/trimming_box_outline.h"
#include "display/view_geometry.h"
#include "platform/draw.h"

namespace korven {

namespace {

// Keeps the offset inside the picture and enables the bar exactly when the
// view is smaller than the picture. Range and position are left to the callers.
void bring_bar_in_line(fe::Control bar, std::int16_t view_size, std::int16_t shown_size, std::int16_t& offset)
{
    if (view_size < shown_size) {
        fe::enable_window(bar, true);
        if (shown_size - offset < view_size) offset = static_cast<std::int16_t>(shown_size - view_size);
    } else {
        offset = 0;
        fe::enable_window(bar, false);
    }
}

const char* caption_prefix(int shown_picture)
{
    switch (shown_picture) {
    case original_slot: return "KORVEN-Original/";
    case adjusted_slot: return "KORVEN-Adjusted/";
    default: return "KORVEN-Analysis/";
    }
}

}  // namespace

void paint_picture_window()
{
    const State& s = state();
    const fe::Window window = ui().FORM2;
    const fe::Bitmap& picture = s.pictures[s.shown_picture];
    constexpr double origin = drawing_area_origin;
    if (s.zoom_in_factor == 1 && s.zoom_out_divisor == 1) {
        fe::draw_bitmap(window, origin - s.view_left, origin - s.view_top, picture);
    } else if (s.zoom_in_factor > 1) {
        fe::stretch_blt(window, origin, origin, static_cast<double>(s.view_width) * s.zoom_in_factor,
                        static_cast<double>(s.view_height) * s.zoom_in_factor, picture, s.view_left, s.view_top,
                        s.view_width, s.view_height);
    } else {
        fe::stretch_blt(window, origin, origin, static_cast<double>(s.view_width) / s.zoom_out_divisor,
                        static_cast<double>(s.view_height) / s.zoom_out_divisor, picture, s.view_left,
                        s.view_top, s.view_width, s.view_height);
    }
    if (s.shown_picture == adjusted_slot && s.trim_box_on == 1) draw_trimming_box_outline();
}

void DRAW2()
{
    State& s = state();
    const Controls& c = ui();
    bring_bar_in_line(c.HSCROLL1, s.view_width, s.shown_width, s.view_left);
    bring_bar_in_line(c.VSCROLL1, s.view_height, s.shown_height, s.view_top);
    // One clear serves both the window and the drawing area: nothing is drawn
    // between here and the paint, so clearing the area again would change nothing.
    draw::clear(c.FORM2);
    fe::set_window_text(c.FORM2, caption_prefix(s.shown_picture) + s.file_title);
    paint_picture_window();
}

}  // namespace korven
