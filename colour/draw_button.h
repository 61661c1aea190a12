#pragma once

namespace korven {

// "DRAW": applies the tone curve to the original picture, writing the adjusted picture.
void BUTTON1_ON();

}  // namespace korven
