#include "platform/draw.h"

#include <array>
#include <cstdlib>
#include <utility>

#include "core/numbers.h"
#include "core/pixel_ops.h"
#include "platform/runtime_canvas.h"

namespace draw {

using korven::Colour;
using korven::PictureView;
using korven::rgb;

namespace {

constexpr std::array<Colour, 16> palette = {
    rgb(0, 0, 0),       rgb(0, 0, 128),     rgb(0, 128, 0),     rgb(0, 128, 128),
    rgb(128, 0, 0),     rgb(128, 0, 128),   rgb(128, 128, 0),   rgb(192, 192, 192),
    rgb(128, 128, 128), rgb(0, 0, 255),     rgb(0, 255, 0),     rgb(0, 255, 255),
    rgb(255, 0, 0),     rgb(255, 0, 255),   rgb(255, 255, 0),   rgb(255, 255, 255),
};

// Dashes of 4 pixels with gaps of 3, counted along the whole outline.
constexpr int dash_on = 4;
constexpr int dash_period = 7;

void plot(PictureView target, int x, int y, Colour colour)
{
    if (x >= 0 && y >= 0 && x < target.width && y < target.height) target.row(y)[x] = colour;
}

// Bresenham from (x0, y0) to (x1, y1), both included; `step` counts pixels for dashes.
void segment(PictureView target, int x0, int y0, int x1, int y1, Colour colour, bool dashed,
             int& step)
{
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        if (!dashed || step % dash_period < dash_on) plot(target, x0, y0, colour);
        ++step;
        if (x0 == x1 && y0 == y1) return;
        const int twice = 2 * error;
        if (twice >= dy) { error += dy; x0 += sx; }
        if (twice <= dx) { error += dx; y0 += sy; }
    }
}

// The pixel a real coordinate falls on; far outside any picture, pulled in
// so the loops stay short.
int bounded(double value)
{
    constexpr int limit = 1 << 20;
    const int whole = korven::pixel_coordinate(value);
    return whole < -limit ? -limit : (whole > limit ? limit : whole);
}

}  // namespace

Colour palette_colour(int number) { return palette[static_cast<std::size_t>(number & 15)]; }

void line(PictureView target, double x, double y, double dx, double dy, int colour, int mode,
          int style)
{
    const Colour value = palette_colour(colour);
    const bool is_dashed = style == dashed;
    int x0 = bounded(x), y0 = bounded(y), x1 = bounded(x + dx), y1 = bounded(y + dy);
    int step = 0;
    if (mode == line_mode) {
        segment(target, x0, y0, x1, y1, value, is_dashed, step);
        return;
    }
    if (x0 > x1) std::swap(x0, x1);
    if (y0 > y1) std::swap(y0, y1);
    if (mode == filled_box_mode) {
        korven::pixels::fill_rect(target, x0, y0, x1 - x0 + 1, y1 - y0 + 1, value);
        return;
    }
    segment(target, x0, y0, x1, y0, value, is_dashed, step);
    segment(target, x1, y0, x1, y1, value, is_dashed, step);
    segment(target, x1, y1, x0, y1, value, is_dashed, step);
    segment(target, x0, y1, x0, y0, value, is_dashed, step);
}

void line(fe::Bitmap& target, double x, double y, double dx, double dy, int colour, int mode,
          int style)
{
    line(target.view(), x, y, dx, dy, colour, mode, style);
}

void line(fe::Window target, double x, double y, double dx, double dy, int colour, int mode,
          int style)
{
    line(fe::detail::canvas(target).view(), x, y, dx, dy, colour, mode, style);
    fe::detail::canvas_changed(target);
}

void clear(fe::Window target)
{
    fe::detail::canvas(target).clear();
    fe::detail::canvas_changed(target);
}

}  // namespace draw
