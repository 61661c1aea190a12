#pragma once
// "DRAW" and the four buttons that choose its channels.

#include "state/photo_document.h"

namespace korven {

// The adjusted picture `recipe` makes from `original` (the same size), in a
// new picture: in "All" mode from the original alone; on one channel from
// `previous` (the adjusted picture before) with that channel replaced.
Picture drawn_picture(const Picture& original, const Picture& previous, const DrawRecipe& recipe);

// "DRAW": applies the tone curve to the original picture, making a new adjusted picture.
void BUTTON1_ON();

void RADIO1_ON();  // "All"
void RADIO2_ON();  // "R"
void RADIO3_ON();  // "G"
void RADIO4_ON();  // "B"

}  // namespace korven
