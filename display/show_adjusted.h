#pragma once
// The ending every command shares that leaves a new adjusted picture, or one
// of a new size, in its slot: loading, "back to Original", "Change Original",
// "Trimming", "Resizing" and "Rotating".

namespace korven {

// Shows the adjusted picture as it now is in its slot: records its size as
// the adjusted and the shown size, sets the label "Adjasted>Size:(w,h)",
// shrinks the picture window to a picture smaller than the view, then
// INICHNG(1, reset_zoom) and DRAW2.
void show_new_adjusted_picture(float reset_zoom);

}  // namespace korven
