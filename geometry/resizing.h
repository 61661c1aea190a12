#pragma once

namespace korven {

// "Resizing": scales the adjusted picture to the size in the box fields, by
// the bitmap stretch or, with "Avarage Color", by the averaging reduction.
void BUTTON13_ON();

}  // namespace korven
