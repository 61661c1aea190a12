#pragma once
// The picture window: its redraw and its paint step.

namespace korven {

// Puts the view of the shown picture on the picture window at the current
// zoom, then the trimming box outline: the whole picture at one to one (so a
// later enlargement of the window needs no drawing), only the view's source
// rectangle when zoomed. The window clips the copy, so its cost does not grow
// with the picture. Nothing is cleared first.
void paint_picture_window();

// Brings the scroll state in line (offsets inside the picture, both bars
// fitted to the view), clears the window, sets the caption and paints.
void DRAW2();

// Ctrl+M: switches the conversion of a photo's colours for the screen off and on.
void KEY_COLOUR_VIEW();

}  // namespace korven
