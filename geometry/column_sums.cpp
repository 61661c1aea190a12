#include "geometry/column_sums.h"

#include <algorithm>

namespace korven::column_sums {

namespace {

// Columns first .. last - 1 of `row` become the sums, or are added to them.
template <bool add>
void take_row(const Colour* row, int first, int last, Sums& sums)
{
    std::uint32_t* r = sums.red.data();
    std::uint32_t* g = sums.green.data();
    std::uint32_t* b = sums.blue.data();
    for (int i = first; i < last; ++i) {
        const Colour c = row[i];
        r[i] = (add ? r[i] : 0) + (c & 255);
        g[i] = (add ? g[i] : 0) + ((c >> 8) & 255);
        b[i] = (add ? b[i] : 0) + ((c >> 16) & 255);
    }
}

}  // namespace

void take_rows(ConstPictureView source, int first_row, int last_row, Sums& sums)
{
    // A strip of columns at a time, so the strip's sums stay in the nearest
    // cache while all the rows are added.
    constexpr int strip = 512;
    for (int first = 0; first < source.width; first += strip) {
        const int last = std::min(source.width, first + strip);
        take_row<false>(source.row(first_row), first, last, sums);
        for (int j = first_row + 1; j < last_row; ++j) take_row<true>(source.row(j), first, last, sums);
    }
}

}  // namespace korven::column_sums
