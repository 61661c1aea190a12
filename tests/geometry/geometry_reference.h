#pragma once
// Resizing and rotation the slow way, one pixel at a time, written step by
// step from the rules, to check the fast kernels against.

#include <random>

#include "core/picture.h"

namespace korven::reference {

// The averaging reduction to `width` x `height` (no larger than the source),
// with the running column and row counters of the handler.
Picture average_reduce(const Picture& source, int width, int height);

// The whole picture stretched to `width` x `height` by nearest sampling:
// target pixel (x, y) shows source pixel floor((x + 0.5) x Ws / width),
// floor((y + 0.5) x Hs / height).
Picture stretch(const Picture& source, int width, int height);

// The rotation by `rotation_angle` (0 < angle < 360) with its two shears,
// writing pixel by pixel in source order. Writes that fall outside the new
// picture are dropped and counted in `dropped`.
Picture rotate(const Picture& source, float rotation_angle, int* dropped = nullptr);

// Random colours, none of them black.
Picture random_picture(std::mt19937& random, int width, int height);

}  // namespace korven::reference
