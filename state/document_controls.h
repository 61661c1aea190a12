#pragma once
// The controls that show values of the photo document (beside `show_text`,
// `show_check` and `show_enabled`). A command sets such a value through these,
// so the document and the control agree; undo puts the document back and then
// `show_document_values` brings the controls in line.

#include <string>

#include "state/state.h"

namespace korven {

// The picture window's caption and whether it is shown.
void show_picture_window_caption(std::string caption);
void show_picture_window(bool shown);

// Point k of the curve at `level` (0..255): its slider, and its field showing the level.
void show_curve_level(int k, int level);

// The mode of DRAW, and its radio button checked.
void show_draw_mode(DrawMode mode);

// Every control above as the document says, after the document was put back
// in place of `shown` (what the controls show until now); only those that
// differ are touched. The picture
// window's size, visibility and drawing are left to the caller.
void show_document_values(const PhotoDocument& shown);

}  // namespace korven
