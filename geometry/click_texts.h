#pragma once
// The texts that clicks on the picture show and put on the clipboard.

#include <string>

#include "core/picture.h"

namespace korven {

// First point of a measurement: "from(" x "," y ")", each signed and
// right-aligned in 5 characters.
std::string measure_from_text(int x, int y);

// From the first point to the second, dx columns right and dy rows down:
// "(" dx "," dy ")[" distance "," angle "degree]". The angle is measured on
// the screen clockwise from the direction of growing columns, from -180 up to
// (not including) +180; straight up or down it is -90 or +90, and for no
// move at all "(   +0,   +0)[0,---degree]".
std::string measure_text(int dx, int dy);

// The colour of a clicked pixel: 26 blanks, "(RGB)=(" and the three
// components right-aligned in 3 characters.
std::string colour_readout_text(Colour colour);

}  // namespace korven
