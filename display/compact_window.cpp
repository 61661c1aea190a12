#include "display/compact_window.h"

#include <algorithm>
#include <cfloat>
#include <string>

#include "state/state.h"
#include "core/numbers.h"

namespace korven {

namespace {

constexpr int main_window_width = 593;
constexpr int full_main_window_height = 522;
constexpr int short_main_window_height = 125;

// A field's number in single precision; the lenient reading is finite but may
// exceed the float range, which a plain conversion would not survive.
float single_number(const std::string& text)
{
    return static_cast<float>(std::clamp(read_number(text), -static_cast<double>(FLT_MAX),
                                         static_cast<double>(FLT_MAX)));
}

}  // namespace

// "Adjastment"
void CHECK4_ON()
{
    // Only the size changes: the controls below the strip keep their state while hidden.
    const int height = fe::get_check(ui().CHECK4) == 1 ? full_main_window_height : short_main_window_height;
    fe::set_window_size(ui().MAINFORM, main_window_width, height);
}

// "True Ratio"
void BUTTON16_ON()
{
    const State& s = state();
    const Controls& c = ui();
    const std::string width_text = fe::get_window_text(c.EDIT6);
    const std::string height_text = fe::get_window_text(c.EDIT7);
    if (width_text.empty() == height_text.empty()) return;  // exactly one must be left empty
    const float w = single_number(width_text);
    const float h = single_number(height_text);
    if (w == 0 && h == 0) return;
    // Before the first load the adjusted picture has no size to take the ratio of.
    const std::int16_t picture_w = s.picture_width[adjusted_slot];
    const std::int16_t picture_h = s.picture_height[adjusted_slot];
    if (picture_w == 0 || picture_h == 0) return;
    if (height_text.empty()) {
        const float new_h = w * picture_h / picture_w;
        fe::set_window_text(c.EDIT7, display_text(round_to_int(new_h)));
    } else {
        const float new_w = h * picture_w / picture_h;
        fe::set_window_text(c.EDIT6, display_text(round_to_int(new_w)));
    }
}

}  // namespace korven
