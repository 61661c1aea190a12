#pragma once
// Two small commands of the main window that change no picture: "Adjastment"
// folds the main window to its top strip and back, "True Ratio" completes the
// trimming box size in the adjusted picture's proportions.

namespace korven {

void CHECK4_ON();
void BUTTON16_ON();

}  // namespace korven
