#pragma once
// "SAVE": writes the adjusted or the analysis picture, whichever is shown, to a BMP file
// (or a PNG file, when the chosen name ends in .png).

namespace korven {

void BUTTON6_ON();

}  // namespace korven
