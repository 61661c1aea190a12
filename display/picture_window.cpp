#include "display/picture_window.h"

#include "state/document_controls.h"
#include "display/trimming_box_outline.h"
#include "platform/draw.h"

namespace korven {

namespace {

const char* caption_prefix(int shown_picture)
{
    switch (shown_picture) {
    case original_slot: return "KORVEN-Original/";
    case adjusted_slot: return "KORVEN-Adjusted/";
    default: return "KORVEN-Analysis/";
    }
}

// How the shown picture's colours become the screen's: a photo's are
// converted when its profile (or EXIF) says they are not sRGB, unless the
// user switched that off; the chart is ours and always sRGB.
const ScreenConversion* screen_conversion_of_shown(const State& s)
{
    if (!s.colour_managed_view || s.shown_picture == analysis_slot) return nullptr;
    return s.metadata->screen_conversion.get();
}

}  // namespace

void paint_picture_window()
{
    const State& s = state();
    const fe::Window window = ui().FORM2;
    const fe::Bitmap& picture = picture_in_slot(s.shown_picture);
    const ScreenConversion* conversion = screen_conversion_of_shown(s);
    constexpr double origin = drawing_area_origin;
    if (s.zoom_in_factor == 1 && s.zoom_out_divisor == 1) {
        fe::draw_bitmap(window, origin - s.view_left, origin - s.view_top, picture, conversion);
    } else if (s.zoom_in_factor > 1) {
        fe::stretch_blt(window, origin, origin, static_cast<double>(s.view_width) * s.zoom_in_factor,
                        static_cast<double>(s.view_height) * s.zoom_in_factor, picture, s.view_left, s.view_top,
                        s.view_width, s.view_height, conversion);
    } else {
        fe::stretch_blt(window, origin, origin, static_cast<double>(s.view_width) / s.zoom_out_divisor,
                        static_cast<double>(s.view_height) / s.zoom_out_divisor, picture, s.view_left,
                        s.view_top, s.view_width, s.view_height, conversion);
    }
    if (s.shown_picture == adjusted_slot && s.trim_box_on == 1) draw_trimming_box_outline();
}

void DRAW2()
{
    const State& s = state();
    const Controls& c = ui();
    fit_scroll_bars();
    // One clear serves both the window and the drawing area: nothing is drawn
    // between here and the paint, so clearing the area again would change nothing.
    draw::clear(c.FORM2);
    show_picture_window_caption(caption_prefix(s.shown_picture) + s.file_title);
    paint_picture_window();
}

// Ctrl+M: the colour-managed view off and on; only a photo with a conversion looks different.
void KEY_COLOUR_VIEW()
{
    State& s = state();
    s.colour_managed_view = !s.colour_managed_view;
    const bool changes_view = s.metadata->screen_conversion && s.shown_picture != analysis_slot;
    if (s.picture_window_shown && changes_view) paint_picture_window();
}

}  // namespace korven
