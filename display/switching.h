#pragma once
// Moving pictures between their roles: "Switch" steps the picture window
// through the original, adjusted and analysis pictures, "back to Original"
// throws the adjustments away, "Change Original" makes the adjusted picture
// the new original so that curves accumulate.

namespace korven {

void BUTTON9_ON();
void BUTTON8_ON();
void BUTTON12_ON();

}  // namespace korven
