#include "state/document_controls.h"

#include <utility>

#include "core/numbers.h"

namespace korven {

void show_picture_window_caption(std::string caption)
{
    State& s = state();
    s.picture_window_caption = std::move(caption);
    fe::set_window_text(ui().FORM2, s.picture_window_caption);
}

void show_picture_window(bool shown)
{
    state().picture_window_shown = shown;
    if (shown) fe::show_window(ui().FORM2);
    else fe::hide_window(ui().FORM2);
}

void show_curve_level(int k, int level)
{
    State& s = state();
    s.curve_levels[static_cast<std::size_t>(k)] = static_cast<std::int16_t>(level);
    fe::set_scroll_pos(ui().curve_sliders[static_cast<std::size_t>(k)], 255 - level);
    // The field's change handler keeps its text in the document.
    fe::set_window_text(ui().curve_fields[static_cast<std::size_t>(k)], display_text(level));
}

namespace {

fe::Control radio_of(DrawMode mode)
{
    const Controls& c = ui();
    switch (mode) {
    case DrawMode::red: return c.RADIO2;
    case DrawMode::green: return c.RADIO3;
    case DrawMode::blue: return c.RADIO4;
    default: return c.RADIO1;
    }
}

}  // namespace

void show_draw_mode(DrawMode mode)
{
    state().draw_mode = mode;
    fe::set_check(radio_of(mode), 1);
}

void show_document_values(const PhotoDocument& shown)
{
    const State& s = state();
    const Controls& c = ui();
    // Only controls whose value differs from what they show are touched: a
    // field's change handler reads its text back into the document (which
    // gives the same level), and touching all 33 points and every box would
    // cost more than the rest of an undo.
    const auto text = [](fe::Control control, const std::string& now, const std::string& before) {
        if (now != before) fe::set_window_text(control, now);
    };
    const auto check = [](fe::Control box, bool now, bool before) {
        if (now != before) fe::set_check(box, now ? 1 : 0);
    };
    const auto enable = [](fe::Control control, bool now, bool before) {
        if (now != before) fe::enable_window(control, now);
    };
    text(c.TEXT1, s.original_size_label, shown.original_size_label);
    text(c.TEXT18, s.adjusted_size_label, shown.adjusted_size_label);
    text(c.EDIT1, s.file_field, shown.file_field);
    for (std::size_t k = 0; k < curve_points; ++k) {
        text(c.curve_fields[k], s.curve_field_texts[k], shown.curve_field_texts[k]);
        if (s.curve_levels[k] != shown.curve_levels[k])
            fe::set_scroll_pos(c.curve_sliders[k], 255 - s.curve_levels[k]);
    }
    if (s.draw_mode != shown.draw_mode) fe::set_check(radio_of(s.draw_mode), 1);
    check(c.CHECK1, s.trim_box_checked, shown.trim_box_checked);
    check(c.CHECK2, s.zoom_in_checked, shown.zoom_in_checked);
    enable(c.EDIT8, s.zoom_in_field_enabled, shown.zoom_in_field_enabled);
    check(c.CHECK7, s.zoom_out_checked, shown.zoom_out_checked);
    enable(c.EDIT44, s.zoom_out_field_enabled, shown.zoom_out_field_enabled);
    if (s.picture_window_caption != shown.picture_window_caption)
        fe::set_window_text(c.FORM2, s.picture_window_caption);
}

}  // namespace korven
