#pragma once

namespace korven {

// "Rotating": turns the adjusted picture clockwise by the degrees in EDIT43.
void BUTTON14_ON();

}  // namespace korven
