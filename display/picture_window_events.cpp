#include "display/picture_window_events.h"

#include "state/state.h"
#include "display/picture_window.h"
#include "platform/draw.h"
#include "core/numbers.h"

namespace korven {

namespace {

// A scroll bar moved: the view follows it; at the bar's end the window is
// cleared first, since the picture no longer covers what was drawn beyond it.
void follow_bar(fe::Control bar, std::int16_t& offset, std::int16_t shown_size, std::int16_t view_size)
{
    offset = round_to_int16(fe::get_scroll_pos(bar));
    if (offset == shown_size - view_size) draw::clear(ui().FORM2);
    paint_picture_window();
}

}  // namespace

// The picture window changed size.
void FORM2_RESIZE()
{
    State& s = state();
    const Controls& c = ui();
    if (!s.picture_window_shown) return;
    s.picture_window_width = round_to_int16(fe::get_width(c.FORM2));
    s.picture_window_height = round_to_int16(fe::get_height(c.FORM2));
    set_view_size(s.zoom_in_factor, s.zoom_out_divisor);
    const bool moved = fit_scroll_bars();
    // At one to one the whole picture is on the window already; only a moved
    // view needs drawing. A view that went back to 0 because it now covers the
    // picture is drawn too, or the window would go on showing the picture
    // shifted while clicks and the readout count from its first column. A
    // zoomed paint covers only the old view, so it is redone.
    const bool one_to_one = s.zoom_in_factor == 1 && s.zoom_out_divisor == 1;
    if (!one_to_one || moved) paint_picture_window();
}

// The horizontal bar of the picture window.
void HSCROLL1_CHANGE()
{
    State& s = state();
    follow_bar(ui().HSCROLL1, s.view_left, s.shown_width, s.view_width);
}

// The vertical bar of the picture window.
void VSCROLL1_CHANGE()
{
    State& s = state();
    follow_bar(ui().VSCROLL1, s.view_top, s.shown_height, s.view_height);
}

}  // namespace korven
