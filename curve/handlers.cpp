#include "curve/handlers.h"

#include <algorithm>
#include <string>

#include "curve/curve_files.h"
#include "state/document_controls.h"
#include "curve/presets.h"
#include "platform/form.h"
#include "core/numbers.h"

namespace korven {

static_assert(curve_point_count == curve_points);

namespace {

constexpr int slider_top = 0;
constexpr int slider_bottom = 255;

// A field read leniently: text that is not a number reads as 0.
double read_field(fe::Control field) { return read_number(fe::get_window_text(field)); }

// VSCROLL(k+2)_CHANGE: the user moved the slider of point k; its level is
// 255 - position, and its field shows it.
void slider_moved(int k)
{
    show_curve_level(k, 255 - fe::get_scroll_pos(ui().curve_sliders[k]));
}

// EDIT(k+10)_CHANGE: the text of the field of point k changed, typed or set.
// The field keeps its text as typed; the slider stops at the end of its range.
void field_changed(int k)
{
    State& s = state();
    s.curve_field_texts[k] = fe::get_window_text(ui().curve_fields[k]);
    const int position =
        std::clamp(round_to_int(255 - read_number(s.curve_field_texts[k])), slider_top, slider_bottom);
    s.curve_levels[k] = static_cast<std::int16_t>(255 - position);
    fe::set_scroll_pos(ui().curve_sliders[k], position);
}

// Reads the two limits and the factor, and rewrites the points between the
// limits with the chosen curve; refused limits leave every point alone.
void apply_preset(PresetShape shape)
{
    const Controls& c = ui();
    const PresetInputs inputs{
        .a = read_field(c.EDIT45),
        .lo = read_field(c.EDIT3),
        .b = read_field(c.EDIT46),
        .hi = read_field(c.EDIT9),
        .factor = read_field(c.EDIT2),
    };
    CurveValues current{};
    for (int k = 0; k < curve_points; ++k) current[k] = state().curve_levels[k];

    const PresetResult result = preset_values(shape, inputs, current);
    for (int k = result.first; k <= result.last; ++k) show_curve_level(k, result.values[k]);
}

// "Linear"
void BUTTON3_ON() { apply_preset(PresetShape::linear); }

// "log"
void BUTTON4_ON() { apply_preset(PresetShape::log); }

// "exp"
void BUTTON5_ON() { apply_preset(PresetShape::exp); }

}  // namespace

void add_curve_handlers(HandlerTable& table)
{
    for (int k = 0; k < curve_points; ++k) {
        const std::string slider = "VSCROLL" + std::to_string(k + 2);
        const std::string field = "EDIT" + std::to_string(k + 10);
        table[slider + "_CHANGE"] = [k](const fe::Event&) { slider_moved(k); };
        table[field + "_CHANGE"] = [k](const fe::Event&) { field_changed(k); };
    }
    table["BUTTON3_ON"] = plain(BUTTON3_ON);
    table["BUTTON4_ON"] = plain(BUTTON4_ON);
    table["BUTTON5_ON"] = plain(BUTTON5_ON);
    table["KEY_LOAD_CURVE"] = plain(KEY_LOAD_CURVE);
    table["KEY_SAVE_CURVE"] = plain(KEY_SAVE_CURVE);
}

}  // namespace korven
