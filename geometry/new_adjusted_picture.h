#pragma once
// What "Resizing" and "Rotating" share: the refusal of a result that cannot be
// made, and showing the new adjusted picture once it is complete.

#include <cstdint>
#include <string_view>

#include "platform/form.h"

namespace korven {

// True when a new adjusted picture of `width` x `height` (both at least 1)
// can be made beside the present one, with `work_bytes` of work space. When a
// side is over 32767 pixels or memory is too small, shows one message saying
// why `action` ("resize", "rotate") did nothing, and returns false.
bool result_can_be_made(std::string_view action, long long width, long long height,
                        std::uint64_t work_bytes = 0);

// The message for memory that ran out while the result was being made.
void report_no_memory(std::string_view action, long long width, long long height);

// Makes `picture` the adjusted picture and shows it: the sizes, the label
// "Adjasted>Size:(w,h)", the window shrunk to a small picture, INICHNG(1, 2)
// and DRAW2.
void show_new_adjusted_picture(fe::Bitmap picture);

}  // namespace korven
