#pragma once
// The drawing layer: lines and boxes in palette colours, and clearing the
// picture window. Targets are bitmaps or a window that keeps its drawing.

#include "platform/form.h"

namespace draw {

enum Mode { line_mode = 0, box_mode = 1, filled_box_mode = 2 };
enum Style { solid = 0, dashed = 2 };

// The 16-colour palette: 0 black, 1 dark blue, 2 dark green, 3 dark cyan,
// 4 dark red, 5 dark magenta, 6 brown, 7 light grey, 8 dark grey, 9 blue,
// 10 green, 11 cyan, 12 red, 13 magenta, 14 yellow, 15 white.
korven::Colour palette_colour(int number);

// From (x, y) to (x + dx, y + dy), both ends included: a line, a box outline or
// a filled box. Real coordinates fall on pixels by `pixel_coordinate`
// (platform/picture.h); whatever lies beyond the target is clipped.
void line(fe::Bitmap& target, double x, double y, double dx, double dy, int colour,
          int mode = line_mode, int style = solid);
void line(fe::Window target, double x, double y, double dx, double dy, int colour,
          int mode = line_mode, int style = solid);

// Clears a window to its background colour.
void clear(fe::Window target);

// The same operations on a plain view, used by both targets.
void line(korven::PictureView target, double x, double y, double dx, double dy, int colour,
          int mode, int style);

}  // namespace draw
