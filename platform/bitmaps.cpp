// Bitmaps are our own pictures: creating, reading and writing pixels, copying.
#include <algorithm>

#include "platform/form.h"
#include "core/numbers.h"
#include "core/pixel_ops.h"

namespace fe {

void create_bitmap(Bitmap& bitmap, double width, double height)
{
    bitmap = Bitmap(std::max(0, korven::round_to_int(width)), std::max(0, korven::round_to_int(height)));
}

void delete_bitmap(Bitmap& bitmap) { bitmap = Bitmap(); }

int get_bitmap_width(const Bitmap& bitmap) { return bitmap.width(); }

int get_bitmap_height(const Bitmap& bitmap) { return bitmap.height(); }

Colour get_pixel(const Bitmap& bitmap, double x, double y)
{
    const int column = korven::pixel_coordinate(x), row = korven::pixel_coordinate(y);
    if (column < 0 || row < 0 || column >= bitmap.width() || row >= bitmap.height()) return 0;
    return bitmap.at(column, row);
}

void set_pixel(Bitmap& bitmap, double x, double y, Colour colour)
{
    const int column = korven::pixel_coordinate(x), row = korven::pixel_coordinate(y);
    if (column < 0 || row < 0 || column >= bitmap.width() || row >= bitmap.height()) return;
    bitmap.at(column, row) = colour & 0xFFFFFFu;
}

void bit_blt(Bitmap& target, double x, double y, double width, double height, const Bitmap& source,
             double source_x, double source_y)
{
    korven::pixels::copy_rect(target.view(), korven::pixel_coordinate(x), korven::pixel_coordinate(y),
                              korven::round_to_int(width), korven::round_to_int(height), source.view(),
                              korven::pixel_coordinate(source_x), korven::pixel_coordinate(source_y));
}

void stretch_blt(Bitmap& target, double x, double y, double width, double height, const Bitmap& source,
                 double source_x, double source_y, double source_width, double source_height)
{
    korven::pixels::stretch_rect(target.view(), x, y, width, height, source.view(), source_x, source_y,
                                 source_width, source_height);
}

void draw_bitmap(Bitmap& target, double x, double y, const Bitmap& source)
{
    bit_blt(target, x, y, source.width(), source.height(), source, 0, 0);
}

void stretch_bitmap(Bitmap& target, double x, double y, double width, double height, const Bitmap& source)
{
    stretch_blt(target, x, y, width, height, source, 0, 0, source.width(), source.height());
}

}  // namespace fe
