#include "colour/draw_button.h"

#include "state/state.h"
#include "colour/apply_curve.h"
#include "colour/level_table.h"
#include "display/picture_window.h"

namespace korven {

// "DRAW"
void BUTTON1_ON()
{
    State& st = state();
    const Controls& c = ui();
    if (!fe::is_window_visible(c.FORM2)) return;
    // The curve only goes from the original to an adjusted picture of the same size.
    if (st.picture_width[original_slot] != st.picture_width[adjusted_slot] ||
        st.picture_height[original_slot] != st.picture_height[adjusted_slot])
        return;

    // -1 "All", 0 red, 1 green, 2 blue.
    const int channel_choice = 2 * fe::get_check(c.RADIO2) + fe::get_check(c.RADIO1) +
                               3 * fe::get_check(c.RADIO3) + 4 * fe::get_check(c.RADIO4) - 2;
    if (channel_choice < -1 || channel_choice > 2) return;  // none, or several, of the buttons chosen

    const bool other_size = st.shown_width != st.picture_width[adjusted_slot] ||
                            st.shown_height != st.picture_height[adjusted_slot];
    if (other_size) {
        st.view_left = 0;
        st.view_top = 0;
    }
    st.shown_width = st.picture_width[adjusted_slot];
    st.shown_height = st.picture_height[adjusted_slot];
    st.shown_picture = adjusted_slot;

    PointLevels point_levels{};
    for (int k = 0; k < point_count; ++k)
        point_levels[static_cast<std::size_t>(k)] = static_cast<std::int16_t>(
            255 - fe::get_scroll_pos(c.curve_sliders[static_cast<std::size_t>(k)]));

    const ConstPictureView original = st.pictures[original_slot].view();
    const PictureView adjusted = st.pictures[adjusted_slot].view();
    if (channel_choice == -1) {
        apply_all_channels(original, adjusted,
                           build_level_table(point_levels, CurveMode::all_channels));
    } else {
        apply_one_channel(original, adjusted,
                          build_level_table(point_levels, CurveMode::one_channel),
                          channel_choice);
    }
    DRAW2();
}

}  // namespace korven
