#pragma once
// The readout of the picture pixel under the mouse pointer, in the main window.

#include <cstdint>
#include <string>

#include "platform/form.h"

namespace korven {

// A picture coordinate right-aligned in four characters (a longer one keeps
// its last four digits), or "----" outside 0..limit-1.
std::string coordinate_text(std::int16_t value, std::int16_t limit);

// The pointer moved over the picture window: TEXT9 shows the picture pixel under it.
void FORM2_MOUSEMOVE(const fe::Event& move);

}  // namespace korven
