// The AVX2 loop of the column sums: 8 columns at a time are summed down all
// the rows in registers and stored once, instead of being stored after every
// row. Integer sums of the same pixels, so the result is the plain loop's;
// the tests compare the two.
#include "geometry/column_sums.h"

#include <algorithm>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define KORVEN_VECTOR_SUMS 1
#include <immintrin.h>
#endif

namespace korven::column_sums {

#ifdef KORVEN_VECTOR_SUMS

__attribute__((target("avx2"))) void vector_take_rows(ConstPictureView source, int first_row, int last_row,
                                                      Sums& sums)
{
    // Rows are taken in runs, so no more rows are read side by side than the
    // processor can follow; the sums of a run are added to the runs before.
    constexpr int rows_per_run = 64;
    // The rows of a run are read side by side, 32 bytes each, which the
    // processor does not foresee: ask for each row's pixels 1 KiB ahead.
    constexpr int prefetch_pixels = 256;
    const __m256i channel = _mm256_set1_epi32(255);
    const int whole = source.width - source.width % 8;
    for (int run = first_row; run < last_row; run += rows_per_run) {
        const int run_end = std::min(last_row, run + rows_per_run);
        const bool first_run = run == first_row;
        for (int i = 0; i < whole; i += 8) {
            const bool prefetch = i + prefetch_pixels < source.width;
            __m256i r = _mm256_setzero_si256(), g = r, b = r;
            if (!first_run) {
                r = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(sums.red.data() + i));
                g = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(sums.green.data() + i));
                b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(sums.blue.data() + i));
            }
            for (int j = run; j < run_end; ++j) {
                const Colour* pixels = source.row(j) + i;
                if (prefetch) _mm_prefetch(reinterpret_cast<const char*>(pixels + prefetch_pixels), _MM_HINT_T0);
                const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixels));
                r = _mm256_add_epi32(r, _mm256_and_si256(c, channel));
                g = _mm256_add_epi32(g, _mm256_and_si256(_mm256_srli_epi32(c, 8), channel));
                b = _mm256_add_epi32(b, _mm256_and_si256(_mm256_srli_epi32(c, 16), channel));
            }
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(sums.red.data() + i), r);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(sums.green.data() + i), g);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(sums.blue.data() + i), b);
        }
    }
    // The last columns, fewer than 8.
    for (int i = whole; i < source.width; ++i) {
        std::uint32_t r = 0, g = 0, b = 0;
        for (int j = first_row; j < last_row; ++j) {
            const Colour c = source.row(j)[i];
            r += c & 255;
            g += (c >> 8) & 255;
            b += (c >> 16) & 255;
        }
        sums.red[static_cast<std::size_t>(i)] = r;
        sums.green[static_cast<std::size_t>(i)] = g;
        sums.blue[static_cast<std::size_t>(i)] = b;
    }
}

#else

void vector_take_rows(ConstPictureView source, int first_row, int last_row, Sums& sums)
{
    take_rows(source, first_row, last_row, sums);
}

#endif

}  // namespace korven::column_sums
