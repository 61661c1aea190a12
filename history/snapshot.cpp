#include "history/snapshot.h"

#include <utility>

#include "display/picture_window.h"

namespace korven {

namespace {

// Calls `pair(kept, live)` for every state variable a step keeps.
template <typename Facts, typename Live, typename Pair>
void pair_state_variables(Facts& f, Live& s, Pair pair)
{
    for (int slot : {original_slot, adjusted_slot}) {
        pair(f.picture_width[slot], s.picture_width[slot]);
        pair(f.picture_height[slot], s.picture_height[slot]);
    }
    pair(f.shown_width, s.shown_width);
    pair(f.shown_height, s.shown_height);
    pair(f.shown_picture, s.shown_picture);
    pair(f.file_path, s.file_path);
    pair(f.file_title, s.file_title);
    pair(f.picture_window_width, s.picture_window_width);
    pair(f.picture_window_height, s.picture_window_height);
    pair(f.view_left, s.view_left);
    pair(f.view_top, s.view_top);
    pair(f.zoom_in_on, s.zoom_in_on);
    pair(f.zoom_in_factor, s.zoom_in_factor);
    pair(f.zoom_out_on, s.zoom_out_on);
    pair(f.zoom_out_divisor, s.zoom_out_divisor);
    pair(f.trim_box_on, s.trim_box_on);
}

}  // namespace

SnapshotFacts current_facts()
{
    const Controls& c = ui();
    SnapshotFacts f;
    pair_state_variables(f, std::as_const(state()), [](auto& kept, const auto& live) { kept = live; });
    f.original_size_label = fe::get_window_text(c.TEXT1);
    f.adjusted_size_label = fe::get_window_text(c.TEXT18);
    f.file_field = fe::get_window_text(c.EDIT1);
    for (int k = 0; k < curve_points; ++k) {
        f.slider_positions[k] = fe::get_scroll_pos(c.curve_sliders[k]);
        f.field_texts[k] = fe::get_window_text(c.curve_fields[k]);
    }
    f.picture_window_shown = fe::is_window_visible(c.FORM2);
    f.picture_window_caption = fe::get_window_text(c.FORM2);
    f.zoom_in_checked = fe::get_check(c.CHECK2) == 1;
    f.zoom_in_field_enabled = fe::is_window_enabled(c.EDIT8);
    f.zoom_out_checked = fe::get_check(c.CHECK7) == 1;
    f.zoom_out_field_enabled = fe::is_window_enabled(c.EDIT44);
    f.trim_box_checked = fe::get_check(c.CHECK1) == 1;
    return f;
}

std::uint64_t fingerprint(const Picture& picture)
{
    // FNV-1a over the colour values, one value per step.
    std::uint64_t hash = 14695981039346656037ull ^ static_cast<std::uint64_t>(picture.width()) << 32 ^
                         static_cast<std::uint64_t>(picture.height());
    for (Colour value : picture.pixels()) hash = (hash ^ value) * 1099511628211ull;
    return hash;
}

void restore(const SnapshotFacts& f, std::array<Picture, 2> pictures)
{
    State& s = state();
    const Controls& c = ui();
    s.pictures[original_slot] = std::move(pictures[original_slot]);
    s.pictures[adjusted_slot] = std::move(pictures[adjusted_slot]);
    pair_state_variables(f, s, [](const auto& kept, auto& live) { live = kept; });
    fe::set_window_text(c.TEXT1, f.original_size_label);
    fe::set_window_text(c.TEXT18, f.adjusted_size_label);
    fe::set_window_text(c.EDIT1, f.file_field);
    // The field first: its change moves the slider to the field's value, and
    // the position set afterwards is the kept one in every case.
    for (int k = 0; k < curve_points; ++k) {
        fe::set_window_text(c.curve_fields[k], f.field_texts[k]);
        fe::set_scroll_pos(c.curve_sliders[k], f.slider_positions[k]);
    }
    fe::set_check(c.CHECK2, f.zoom_in_checked);
    fe::enable_window(c.EDIT8, f.zoom_in_field_enabled);
    fe::set_check(c.CHECK7, f.zoom_out_checked);
    fe::enable_window(c.EDIT44, f.zoom_out_field_enabled);
    fe::set_check(c.CHECK1, f.trim_box_checked);
    // The window grows back too, where a command had shrunk it to a small picture.
    if (fe::get_width(c.FORM2) != f.picture_window_width || fe::get_height(c.FORM2) != f.picture_window_height)
        fe::set_window_size(c.FORM2, f.picture_window_width, f.picture_window_height);
    INICHNG(0, 0);
    if (f.picture_window_shown) {
        DRAW2();
        fe::show_window(c.FORM2);
    } else {
        fe::hide_window(c.FORM2);
        fe::set_window_text(c.FORM2, f.picture_window_caption);
    }
}

}  // namespace korven
