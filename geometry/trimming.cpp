#include "geometry/trimming.h"

#include <new>
#include <utility>

#include "state/state.h"
#include "display/picture_window.h"
#include "display/show_adjusted.h"
#include "core/numbers.h"

namespace korven {

namespace {

int field_value(fe::Control field) { return round_to_int(read_number(fe::get_window_text(field))); }

// The work picture at the trimmed size; out of memory, nothing changes.
bool make_work_picture(fe::Bitmap& work, int width, int height)
{
    try {
        fe::create_bitmap(work, width, height);
        return true;
    } catch (const std::bad_alloc&) {
        fe::message("There is not enough memory for the trimmed picture; nothing was changed.");
        return false;
    }
}

bool box_shown()
{
    const State& s = state();
    return s.shown_picture == adjusted_slot && s.trim_box_on == 1;
}

}  // namespace

int next_line_color(int colour)
{
    switch (colour) {
    case 0: return 3;
    case 3: return 5;
    case 5: return 9;
    case 9: return 15;
    default: return 0;
    }
}

// "Trimming Box"
void CHECK1_ON()
{
    State& s = state();
    s.trim_box_on = static_cast<std::int16_t>(fe::get_check(ui().CHECK1));
    if (s.picture_width[adjusted_slot] != s.shown_width || s.picture_height[adjusted_slot] != s.shown_height) {
        s.view_left = 0;
        s.view_top = 0;
    }
    s.shown_width = s.picture_width[adjusted_slot];
    s.shown_height = s.picture_height[adjusted_slot];
    s.shown_picture = adjusted_slot;
    INICHNG(0, 0);
    DRAW2();
}

// "X:", "Y:", "Width:", "Height:": the outline follows every keystroke. The
// window is not cleared, and the caption and the bars stay as they are.
void trimming_field_CHANGE()
{
    if (box_shown()) paint_picture_window();
}

// "Line Color"
void BUTTON15_ON()
{
    if (!box_shown()) return;
    State& s = state();
    s.line_color = static_cast<std::int16_t>(next_line_color(s.line_color));
    paint_picture_window();
}

// "Trimming"
void BUTTON11_ON()
{
    if (!box_shown()) return;
    State& s = state();
    const Controls& c = ui();
    const int x = field_value(c.EDIT4);
    const int y = field_value(c.EDIT5);
    const int width = field_value(c.EDIT6);
    const int height = field_value(c.EDIT7);
    // The box must fit the adjusted picture; it may end exactly at its edge.
    if (static_cast<long long>(width) + x > s.picture_width[adjusted_slot] ||
        static_cast<long long>(height) + y > s.picture_height[adjusted_slot])
        return;
    // A box without pixels would leave a picture without pixels.
    if (width <= 0 || height <= 0) return;
    fe::Bitmap& work = s.pictures[work_slot];
    if (!make_work_picture(work, width, height)) return;

    set_view_size(1, 1);
    fe::bit_blt(work, 0, 0, width, height, s.pictures[adjusted_slot], x, y);
    // The work picture becomes the adjusted picture: the same pixels as
    // re-creating the adjusted bitmap and copying the work picture into it.
    s.pictures[adjusted_slot] = std::move(work);
    fe::delete_bitmap(work);
    show_new_adjusted_picture(2);
}

}  // namespace korven
