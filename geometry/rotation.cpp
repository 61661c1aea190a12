#include "geometry/rotation.h"

#include <new>
#include <utility>

#include "display/show_adjusted.h"
#include "state/state.h"
#include "display/long_waits.h"
#include "display/result_refusals.h"
#include "geometry/rotate_sheared.h"
#include "core/numbers.h"

namespace korven {

// "Rotating"
void BUTTON14_ON()
{
    State& s = state();
    if (s.shown_picture != adjusted_slot) return;
    const float rotation_angle = reduce_angle(read_number(fe::get_window_text(ui().EDIT43)));
    if (rotation_angle == 0) return;
    const fe::Bitmap& adjusted = s.pictures[adjusted_slot];
    if (adjusted.empty()) return;

    const RotationPlan plan = plan_rotation(rotation_angle, adjusted.width(), adjusted.height());
    if (!result_can_be_made("rotate", plan.width(), plan.height())) return;
    // The new picture is made completely before the adjusted picture changes.
    const fe::BusyCursor busy(takes_long(static_cast<long long>(plan.width()) * plan.height()));
    fe::Bitmap result;
    try {
        result = fe::Bitmap(plan.width(), plan.height());
        rotate_sheared(adjusted.view(), result.view(), plan);
    } catch (const std::bad_alloc&) {
        report_no_memory("rotate", plan.width(), plan.height());
        return;
    }
    s.pictures.set(adjusted_slot, std::move(result));
    show_new_adjusted_picture(2);
}

}  // namespace korven
