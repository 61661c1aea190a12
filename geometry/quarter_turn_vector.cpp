// The AVX2 loop of the quarter turn: 8 rows of 8 pixels are loaded, turned
// in registers and stored as 8 columns. Pixels are moved, never changed, so
// the result is the plain loop's; the tests compare the two.
#include "geometry/quarter_turn.h"

#include <algorithm>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define KORVEN_VECTOR_TURN 1
#include <immintrin.h>
#endif

namespace korven::quarter_turn {

#ifdef KORVEN_VECTOR_TURN

namespace {

// Stores the 8 x 8 block whose row i starts at from + i x from_step so that
// its column i starts at to + i x to_step.
__attribute__((target("avx2"))) inline void turn_eight(const Colour* from, std::ptrdiff_t from_step, Colour* to,
                                                       std::ptrdiff_t to_step)
{
    __m256i r[8];
    for (int i = 0; i < 8; ++i) r[i] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + i * from_step));
    // Pairs of 32-bit lanes, then pairs of 64-bit lanes, then 128-bit halves.
    __m256i a[8], b[8];
    for (int i = 0; i < 8; i += 2) {
        a[i] = _mm256_unpacklo_epi32(r[i], r[i + 1]);
        a[i + 1] = _mm256_unpackhi_epi32(r[i], r[i + 1]);
    }
    for (int i = 0; i < 8; i += 4) {
        b[i] = _mm256_unpacklo_epi64(a[i], a[i + 2]);
        b[i + 1] = _mm256_unpackhi_epi64(a[i], a[i + 2]);
        b[i + 2] = _mm256_unpacklo_epi64(a[i + 1], a[i + 3]);
        b[i + 3] = _mm256_unpackhi_epi64(a[i + 1], a[i + 3]);
    }
    for (int i = 0; i < 4; ++i) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + i * to_step),
                            _mm256_permute2x128_si256(b[i], b[i + 4], 0x20));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + (i + 4) * to_step),
                            _mm256_permute2x128_si256(b[i], b[i + 4], 0x31));
    }
}

// The whole 8 x 8 blocks of the band, for one quarter turn or for three.
template <bool one_quarter>
__attribute__((target("avx2"))) void turn_blocks(const Band& band, PictureView target)
{
    // Strips of 16 columns, walked down all the rows of the band: each target
    // row is written from start to end, and the source lines a strip reads
    // stay in cache for both halves of the strip.
    const std::ptrdiff_t stride = band.rows.stride;
    const int width = band.rows.width, count = band.rows.height;
    const int whole_rows = count - count % 8, whole_columns = width - width % 8;
    // One quarter: row k + 7 - i of a block gives its target column i, so
    // the block's rows go in from the bottom, and the band's first row
    // lands in the target's last column of the band.
    const std::ptrdiff_t from_step = one_quarter ? -stride : stride;
    const std::ptrdiff_t to_step = one_quarter ? target.stride : -target.stride;
    const std::ptrdiff_t next_half = 8 * to_step;
    for (int x = 0; x < whole_columns; x += 16) {
        const bool two_halves = x + 8 < whole_columns;
        const int frame_x = band.first_x + x;
        Colour* const to_row = one_quarter ? target.row(frame_x) + (band.frame_height - band.first_y - 8)
                                           : target.row(band.frame_width - 1 - frame_x) + band.first_y;
        for (int k = 0; k < whole_rows; k += 8) {
            const Colour* from = band.rows.row(one_quarter ? k + 7 : k) + x;
            Colour* to = to_row + (one_quarter ? -k : k);
            turn_eight(from, from_step, to, to_step);
            if (two_halves) turn_eight(from + 8, from_step, to + next_half, to_step);
        }
    }
}

}  // namespace

__attribute__((target("avx2"))) void vector_turn_band(const Band& band, int quarter_turns, PictureView target)
{
    if (quarter_turns == 1)
        turn_blocks<true>(band, target);
    else
        turn_blocks<false>(band, target);
    // The edges the blocks leave: the last rows, then the last columns.
    const int count = band.rows.height, width = band.rows.width;
    const int whole_rows = count - count % 8, whole_columns = width - width % 8;
    turn_block(band, quarter_turns, target, whole_rows, count, 0, whole_columns);
    turn_block(band, quarter_turns, target, 0, count, whole_columns, width);
}

#else

void vector_turn_band(const Band& band, int quarter_turns, PictureView target)
{
    turn_band(band, quarter_turns, target);
}

#endif

}  // namespace korven::quarter_turn
