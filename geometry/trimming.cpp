#include "geometry/trimming.h"

#include <new>
#include <optional>
#include <utility>

#include "state/state.h"
#include "display/picture_window.h"
#include "display/show_adjusted.h"
#include "core/numbers.h"

namespace korven {

namespace {

int field_value(fe::Control field) { return round_to_int(read_number(fe::get_window_text(field))); }

// The part of `source` at (x, y) of `width` x `height`, in a new picture;
// none when memory runs out, which is said.
std::optional<fe::Bitmap> trimmed(const fe::Bitmap& source, int x, int y, int width, int height)
{
    try {
        fe::Bitmap work;
        fe::create_bitmap(work, width, height);
        fe::bit_blt(work, 0, 0, width, height, source, x, y);
        return work;
    } catch (const std::bad_alloc&) {
        fe::message("There is not enough memory for the trimmed picture; nothing was changed.");
        return std::nullopt;
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
    s.trim_box_checked = fe::get_check(ui().CHECK1) == 1;  // as the click left it
    s.trim_box_on = s.trim_box_checked ? 1 : 0;
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
    std::optional<fe::Bitmap> work = trimmed(s.pictures[adjusted_slot], x, y, width, height);
    if (!work) return;
    set_view_size(1, 1);
    // The work picture becomes the adjusted picture: the same pixels as
    // re-creating the adjusted bitmap and copying the work picture into it.
    s.pictures.set(adjusted_slot, std::move(*work));
    show_new_adjusted_picture(2);
}

}  // namespace korven
