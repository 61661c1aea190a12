#include "geometry/quarter_turn.h"

#include <algorithm>

namespace korven::quarter_turn {

void turn_block(const Band& band, int quarter_turns, PictureView target, int k0, int k1, int x0, int x1)
{
    const ConstPictureView rows = band.rows;
    for (int x = x0; x < x1; ++x) {
        const int frame_x = band.first_x + x;
        if (quarter_turns == 1) {
            Colour* to = target.row(frame_x) + (band.frame_height - 1 - band.first_y);
            for (int k = k0; k < k1; ++k) to[-k] = rows.row(k)[x];
        } else {
            Colour* to = target.row(band.frame_width - 1 - frame_x) + band.first_y;
            for (int k = k0; k < k1; ++k) to[k] = rows.row(k)[x];
        }
    }
}

void turn_band(const Band& band, int quarter_turns, PictureView target)
{
    // A strip of columns at a time, walked down all the rows: each target row
    // is written from start to end, and the source lines the strip reads stay
    // in cache for all its columns.
    constexpr int strip = 16;
    for (int x0 = 0; x0 < band.rows.width; x0 += strip)
        turn_block(band, quarter_turns, target, 0, band.rows.height, x0, std::min(band.rows.width, x0 + strip));
}

}  // namespace korven::quarter_turn
