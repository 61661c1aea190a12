#include "state/state.h"

#include <cmath>
#include <utility>

#include "core/numbers.h"

namespace korven {

State& state()
{
    static State instance;
    return instance;
}

Controls& ui()
{
    static Controls instance;
    return instance;
}

const fe::Bitmap& picture_in_slot(int slot)
{
    const State& s = state();
    return slot == analysis_slot ? s.analysis_picture : s.pictures[slot];
}

void show_text(fe::Control control, std::string& kept, std::string text)
{
    kept = std::move(text);
    fe::set_window_text(control, kept);
}

void show_check(fe::Control box, bool& kept, bool checked)
{
    kept = checked;
    fe::set_check(box, checked ? 1 : 0);
}

void show_enabled(fe::Control control, bool& kept, bool enabled)
{
    kept = enabled;
    fe::enable_window(control, enabled);
}

void reset_state()
{
    state() = State{};
    ui() = Controls{};
}

namespace {

std::int16_t view_size(int outer_size, int frame, double zoom_in_factor, double zoom_out_divisor)
{
    return round_to_int16(std::floor((outer_size - static_cast<double>(frame)) / zoom_in_factor * zoom_out_divisor));
}

bool fit_scroll_bar(fe::Control bar, std::int16_t view_size, std::int16_t shown_size, std::int16_t& offset)
{
    if (view_size >= shown_size) {
        const bool moved = offset != 0;
        offset = 0;
        fe::enable_window(bar, false);
        return moved;
    }
    const int last = shown_size - view_size;
    const bool moved = offset > last;
    if (moved) offset = static_cast<std::int16_t>(last);
    fe::enable_window(bar, true);
    fe::set_scroll_range(bar, 0, last);
    fe::set_scroll_pos(bar, offset);
    return moved;
}

}  // namespace

void set_view_size(double zoom_in_factor, double zoom_out_divisor)
{
    State& s = state();
    s.view_width = view_size(s.picture_window_width, picture_frame_width, zoom_in_factor, zoom_out_divisor);
    s.view_height = view_size(s.picture_window_height, picture_frame_height, zoom_in_factor, zoom_out_divisor);
}

bool fit_scroll_bars()
{
    State& s = state();
    const Controls& c = ui();
    const bool moved_across = fit_scroll_bar(c.HSCROLL1, s.view_width, s.shown_width, s.view_left);
    const bool moved_down = fit_scroll_bar(c.VSCROLL1, s.view_height, s.shown_height, s.view_top);
    return moved_across || moved_down;
}

void INICHNG(float reset_box, float reset_zoom)
{
    State& s = state();
    Controls& c = ui();
    if (reset_box == 1) {
        show_check(c.CHECK1, s.trim_box_checked, false);
        s.trim_box_on = 0;
    }
    if (reset_zoom > 0) {
        show_check(c.CHECK2, s.zoom_in_checked, false);
        s.zoom_in_on = 0;
        s.zoom_in_factor = 1;
        show_enabled(c.EDIT8, s.zoom_in_field_enabled, true);
        show_check(c.CHECK7, s.zoom_out_checked, false);
        s.zoom_out_on = 0;
        s.zoom_out_divisor = 1;
        show_enabled(c.EDIT44, s.zoom_out_field_enabled, true);
        if (reset_zoom == 2) {
            s.view_left = 0;
            s.view_top = 0;
        }
    }
    set_view_size(s.zoom_in_factor, s.zoom_out_divisor);
    fit_scroll_bars();
}

std::string NMCUT(std::string_view path)
{
    const auto cut = path.find_last_of("\\/");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

}  // namespace korven
