#pragma once
// The first step of the averaging reduction: per source column, the channel
// sums over the source rows of one target row. A plain loop every processor
// runs, and an AVX2 loop; both give the same sums.

#include <cstdint>
#include <vector>

#include "core/picture.h"

namespace korven::column_sums {

// A column sums at most 32767 rows of 255, so 32 bits are plenty.
struct Sums {
    std::vector<std::uint32_t> red, green, blue;

    explicit Sums(int width) : red(width), green(width), blue(width) {}
};

// Replaces `sums` by the sums of rows first_row .. last_row - 1 of `source`.
void take_rows(ConstPictureView source, int first_row, int last_row, Sums& sums);

// The AVX2 loop, for processors that run it (the plain loop where the
// compiler cannot build it).
void vector_take_rows(ConstPictureView source, int first_row, int last_row, Sums& sums);

}  // namespace korven::column_sums
