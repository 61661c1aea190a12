#pragma once
// What the commands that make a new adjusted picture share ("DRAW", "Resizing",
// "Rotating"): the refusal of a result that cannot be made.

#include <cstdint>
#include <string_view>

namespace korven {

// True when a new adjusted picture of `width` x `height` (both at least 1)
// can be made beside the present one, with `work_bytes` of work space. When a
// side is over 32767 pixels or memory is too small, shows one message saying
// why `action` ("draw", "resize", "rotate") did nothing, and returns false.
bool result_can_be_made(std::string_view action, long long width, long long height,
                        std::uint64_t work_bytes = 0);

// The message for memory that ran out while the result was being made.
void report_no_memory(std::string_view action, long long width, long long height);

}  // namespace korven
