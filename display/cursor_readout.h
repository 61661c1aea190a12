#pragma once
// The readout of the picture pixel under the mouse pointer, in the main window.

#include "platform/form.h"

namespace korven {

// The pointer moved over the picture window: TEXT9 shows the picture pixel under it.
void FORM2_MOUSEMOVE(const fe::Event& move);

}  // namespace korven
