#include "geometry/resizing.h"

#include <algorithm>
#include <new>
#include <utility>

#include "display/show_adjusted.h"
#include "state/state.h"
#include "display/long_waits.h"
#include "geometry/average_reduce.h"
#include "display/result_refusals.h"
#include "core/memory_budget.h"
#include "core/numbers.h"

namespace korven {

namespace {

// The whole of `source` drawn scaled into a new `width` x `height` bitmap.
fe::Bitmap stretched(const fe::Bitmap& source, int width, int height)
{
    fe::Bitmap result;
    fe::create_bitmap(result, width, height);
    fe::stretch_bitmap(result, 0, 0, width, height, source);
    return result;
}

}  // namespace

// "Resizing"
void BUTTON13_ON()
{
    State& s = state();
    const Controls& c = ui();
    if (s.shown_picture != adjusted_slot || s.trim_box_on == 1 || s.measure_on != 0) return;
    const int width = round_to_int(read_number(fe::get_window_text(c.EDIT6)));
    const int height = round_to_int(read_number(fe::get_window_text(c.EDIT7)));
    if (width == 0 && height == 0) return;
    // A side of 0 makes no picture, so there is nothing to do.
    if (width < 1 || height < 1) return;
    const fe::Bitmap& adjusted = s.pictures[adjusted_slot];
    if (adjusted.empty()) return;

    // The averaging reduction serves only a picture that gets smaller; a
    // direction it cannot reduce is kept at the source size and stretched after.
    const int source_width = s.picture_width[adjusted_slot], source_height = s.picture_height[adjusted_slot];
    const bool averaging = fe::get_check(c.CHECK6) == 1 && (width < source_width || height < source_height);
    const int reduced_width = std::min(width, source_width), reduced_height = std::min(height, source_height);
    const bool stretch_after = averaging && (reduced_width != width || reduced_height != height);
    if (!result_can_be_made("resize", width, height,
                            stretch_after ? picture_bytes(reduced_width, reduced_height) : 0))
        return;

    // The new picture is made completely before the adjusted picture changes.
    const fe::BusyCursor busy(takes_long(std::max(static_cast<long long>(width) * height,
                                                  static_cast<long long>(adjusted.width()) * adjusted.height())));
    fe::Bitmap result;
    try {
        if (!averaging) {
            result = stretched(adjusted, width, height);
        } else {
            fe::Bitmap reduced(reduced_width, reduced_height);
            average_reduce(adjusted.view(), reduced.view());
            result = stretch_after ? stretched(reduced, width, height) : std::move(reduced);
        }
    } catch (const std::bad_alloc&) {
        report_no_memory("resize", width, height);
        return;
    }
    s.pictures.set(adjusted_slot, std::move(result));
    set_view_size(1, 1);
    show_new_adjusted_picture(2);
}

}  // namespace korven
