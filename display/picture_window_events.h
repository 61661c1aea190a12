#pragma once
// What the picture window does when it is resized or scrolled.

namespace korven {

void FORM2_RESIZE();
void HSCROLL1_CHANGE();
void VSCROLL1_CHANGE();

}  // namespace korven
