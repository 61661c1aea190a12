#include "display/switching.h"

#include "state/state.h"
#include "display/picture_window.h"
#include "display/show_adjusted.h"
#include "display/view_geometry.h"
#include "core/numbers.h"

namespace korven {

namespace {

// The shown picture becomes the slot's picture at the slot's recorded size.
void show_slot(int slot)
{
    State& s = state();
    s.shown_width = s.picture_width[slot];
    s.shown_height = s.picture_height[slot];
    s.shown_picture = static_cast<std::uint8_t>(slot);
}

}  // namespace

// "Switch"
void BUTTON9_ON()
{
    if (!state().picture_window_shown) return;
    // original -> adjusted -> analysis -> original
    show_slot((state().shown_picture + 1) % 3);
    INICHNG(1, 0);
    DRAW2();
}

// "back to Original"
void BUTTON8_ON()
{
    State& s = state();
    if (!s.picture_window_shown) return;
    const bool size_changes = s.picture_width[original_slot] != s.picture_width[adjusted_slot] ||
                              s.picture_height[original_slot] != s.picture_height[adjusted_slot];
    // The original serves as the adjusted picture too: neither is written again.
    s.pictures.set(adjusted_slot, s.pictures.shared(original_slot));
    if (size_changes) {
        s.view_left = 0;
        s.view_top = 0;
    }
    show_new_adjusted_picture(1);
}

// "Change Original"
void BUTTON12_ON()
{
    State& s = state();
    // Before the first load there is nothing to promote, and the window fit
    // would shrink the hidden picture window to its bare frame.
    if (!s.picture_window_shown) return;
    s.pictures.set(original_slot, s.pictures.shared(adjusted_slot));
    s.picture_width[original_slot] = s.picture_width[adjusted_slot];
    s.picture_height[original_slot] = s.picture_height[adjusted_slot];
    show_text(ui().TEXT1, s.original_size_label,
              size_text(s.picture_width[original_slot], s.picture_height[original_slot]));
    // The file name stays in file_path and file_title, so the caption still names it.
    show_text(ui().EDIT1, s.file_field, "(Changed)");
    show_new_adjusted_picture(0);
}

}  // namespace korven
