#pragma once
// "SAVE": writes the adjusted or the analysis picture, whichever is shown, to a BMP file.

namespace korven {

void BUTTON6_ON();

}  // namespace korven
