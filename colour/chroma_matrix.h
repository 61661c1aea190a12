#pragma once
// The matrix the analysis turns colours into chart coordinates with.

#include <array>

namespace korven {

// Turns (red, green, blue) into coordinate i = sum over j of element (i, j) x
// component j: 0 along the red axis, 1 across it, 2 the mean level.
using ChromaMatrix = std::array<std::array<float, 3>, 3>;

}  // namespace korven
