#pragma once
// Clicks on the picture: zoom in or end a reduction around the clicked point,
// measure between two points, or read the colour of the clicked pixel.

#include "platform/form.h"

namespace korven {

void FORM2_CLICK(const fe::Event& click);
void CHECK5_ON();

}  // namespace korven
