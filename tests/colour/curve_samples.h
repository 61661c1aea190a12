#pragma once
// Curves and pictures the colour tests share.

#include <cstdint>
#include <random>

#include "colour/level_table.h"
#include "core/picture.h"

namespace korven::testing {

// The curve a fresh program starts with: 0, 8, ..., 248, 255.
inline PointLevels start_up_curve()
{
    PointLevels points{};
    for (int k = 0; k < 32; ++k) points[k] = static_cast<std::int16_t>(8 * k);
    points[32] = 255;
    return points;
}

inline PointLevels random_curve(std::mt19937& random)
{
    std::uniform_int_distribution<int> level(0, 255);
    PointLevels points{};
    for (auto& point : points) point = static_cast<std::int16_t>(level(random));
    return points;
}

inline PointLevels flat_curve(int level)
{
    PointLevels points{};
    points.fill(static_cast<std::int16_t>(level));
    return points;
}

// Random colours, with a share of greys, primaries and bright saturated ones.
inline Picture random_picture(std::mt19937& random, int width, int height)
{
    std::uniform_int_distribution<int> level(0, 255);
    std::uniform_int_distribution<int> kind(0, 5);
    Picture picture(width, height);
    for (Colour& pixel : picture.pixels()) {
        const int r = level(random), g = level(random), b = level(random);
        switch (kind(random)) {
        case 0: pixel = rgb(r, r, r); break;
        case 1: pixel = rgb(255 * (r & 1), 255 * (g & 1), 255 * (b & 1)); break;
        case 2: pixel = rgb(255, g, 0); break;
        default: pixel = rgb(r, g, b); break;
        }
    }
    return picture;
}

}  // namespace korven::testing
