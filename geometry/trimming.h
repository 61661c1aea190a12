#pragma once
// The trimming box: showing it over the adjusted picture, its outline colour,
// and cutting the adjusted picture down to it.

namespace korven {

void CHECK1_ON();
void trimming_field_CHANGE();  // EDIT4_CHANGE to EDIT7_CHANGE, one handler for the four fields
void BUTTON15_ON();
void BUTTON11_ON();

// The outline colour after `colour` in the cycle 0, 3, 5, 9, 15, back to 0.
int next_line_color(int colour);

}  // namespace korven
