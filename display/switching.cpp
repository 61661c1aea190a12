#include "display/switching.h"

#include <new>
#include <string>

#include "state/state.h"
#include "display/picture_window.h"
#include "display/show_adjusted.h"
#include "display/view_geometry.h"
#include "core/numbers.h"

namespace korven {

namespace {

// Makes `target` an independent copy of `source`. The copy is made before
// `target` is touched, so running out of memory leaves every picture as it was.
bool copy_picture(const fe::Bitmap& source, fe::Bitmap& target)
{
    try {
        fe::Bitmap copy = source;
        target = std::move(copy);
        return true;
    } catch (const std::bad_alloc&) {
        fe::message("There is not enough memory to copy the picture; nothing was changed.");
        return false;
    }
}

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
    if (!fe::is_window_visible(ui().FORM2)) return;
    // original -> adjusted -> analysis -> original
    show_slot((state().shown_picture + 1) % 3);
    INICHNG(1, 0);
    DRAW2();
}

// "back to Original"
void BUTTON8_ON()
{
    State& s = state();
    if (!fe::is_window_visible(ui().FORM2)) return;
    const bool size_changes = s.picture_width[original_slot] != s.picture_width[adjusted_slot] ||
                              s.picture_height[original_slot] != s.picture_height[adjusted_slot];
    if (!copy_picture(s.pictures[original_slot], s.pictures[adjusted_slot])) return;
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
    if (!fe::is_window_visible(ui().FORM2)) return;
    if (!copy_picture(s.pictures[adjusted_slot], s.pictures[original_slot])) return;
    s.picture_width[original_slot] = s.picture_width[adjusted_slot];
    s.picture_height[original_slot] = s.picture_height[adjusted_slot];
    fe::set_window_text(ui().TEXT1, size_text(s.picture_width[original_slot], s.picture_height[original_slot]));
    // The file name stays in file_path and file_title, so the caption still names it.
    fe::set_window_text(ui().EDIT1, "(Changed)");
    show_new_adjusted_picture(0);
}

}  // namespace korven
