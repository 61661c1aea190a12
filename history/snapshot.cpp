#include "history/snapshot.h"

#include "display/picture_window.h"

namespace korven {

SnapshotFacts current_facts()
{
    const State& s = state();
    const Controls& c = ui();
    SnapshotFacts f;
    for (int slot : {original_slot, adjusted_slot}) {
        f.picture_width[slot] = s.picture_width[slot];
        f.picture_height[slot] = s.picture_height[slot];
    }
    f.shown_width = s.shown_width;
    f.shown_height = s.shown_height;
    f.shown_picture = s.shown_picture;
    f.file_path = s.file_path;
    f.file_title = s.file_title;
    f.original_size_label = fe::get_window_text(c.TEXT1);
    f.adjusted_size_label = fe::get_window_text(c.TEXT18);
    f.file_field = fe::get_window_text(c.EDIT1);
    for (int k = 0; k < curve_points; ++k) {
        f.slider_positions[k] = fe::get_scroll_pos(c.curve_sliders[k]);
        f.field_texts[k] = fe::get_window_text(c.curve_fields[k]);
    }
    f.picture_window_shown = fe::is_window_visible(c.FORM2);
    f.picture_window_caption = fe::get_window_text(c.FORM2);
    f.picture_window_width = s.picture_window_width;
    f.picture_window_height = s.picture_window_height;
    f.view_left = s.view_left;
    f.view_top = s.view_top;
    f.zoom_in_on = s.zoom_in_on;
    f.zoom_in_factor = s.zoom_in_factor;
    f.zoom_out_on = s.zoom_out_on;
    f.zoom_out_divisor = s.zoom_out_divisor;
    f.zoom_in_checked = fe::get_check(c.CHECK2) == 1;
    f.zoom_in_field_enabled = fe::is_window_enabled(c.EDIT8);
    f.zoom_out_checked = fe::get_check(c.CHECK7) == 1;
    f.zoom_out_field_enabled = fe::is_window_enabled(c.EDIT44);
    f.trim_box_on = s.trim_box_on;
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
    for (int slot : {original_slot, adjusted_slot}) {
        s.pictures[slot] = std::move(pictures[slot]);
        s.picture_width[slot] = f.picture_width[slot];
        s.picture_height[slot] = f.picture_height[slot];
    }
    s.shown_width = f.shown_width;
    s.shown_height = f.shown_height;
    s.shown_picture = f.shown_picture;
    s.file_path = f.file_path;
    s.file_title = f.file_title;
    fe::set_window_text(c.TEXT1, f.original_size_label);
    fe::set_window_text(c.TEXT18, f.adjusted_size_label);
    fe::set_window_text(c.EDIT1, f.file_field);
    // The field first: its change moves the slider to the field's value, and
    // the position set afterwards is the kept one in every case.
    for (int k = 0; k < curve_points; ++k) {
        fe::set_window_text(c.curve_fields[k], f.field_texts[k]);
        fe::set_scroll_pos(c.curve_sliders[k], f.slider_positions[k]);
    }

    s.zoom_in_on = f.zoom_in_on;
    s.zoom_in_factor = f.zoom_in_factor;
    s.zoom_out_on = f.zoom_out_on;
    s.zoom_out_divisor = f.zoom_out_divisor;
    fe::set_check(c.CHECK2, f.zoom_in_checked);
    fe::enable_window(c.EDIT8, f.zoom_in_field_enabled);
    fe::set_check(c.CHECK7, f.zoom_out_checked);
    fe::enable_window(c.EDIT44, f.zoom_out_field_enabled);
    s.trim_box_on = f.trim_box_on;
    fe::set_check(c.CHECK1, f.trim_box_checked);
    s.view_left = f.view_left;
    s.view_top = f.view_top;
    s.picture_window_width = f.picture_window_width;
    s.picture_window_height = f.picture_window_height;
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
