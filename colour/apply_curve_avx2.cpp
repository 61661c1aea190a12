// The vector row loops of DRAW, 8 pixels at a time with AVX2.
// Every step gives the plain loops' result in the same precision, lane by
// lane (a division where they multiply by a reciprocal that gives the same
// quotient), so the rows are identical; the tests compare them.
#include "colour/apply_curve_rows.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define KORVEN_AVX2_ROWS 1
#if defined(__GNUC__) && !defined(__clang__)
// GCC 12 takes the intrinsics' deliberately undefined start values for
// uninitialised variables.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>
#endif

namespace korven::curve_rows {

#ifdef KORVEN_AVX2_ROWS

#define KORVEN_AVX2_TARGET __attribute__((target("avx2")))

namespace {

// Nearest whole number, halves up, for levels from 0 up to 2^22:
// round_in_range of the plain loops, which for levels of 0 and up is the
// truncation of level plus the largest float below one half.
KORVEN_AVX2_TARGET inline __m256i round_levels(__m256 level)
{
    return _mm256_cvttps_epi32(_mm256_add_ps(level, _mm256_set1_ps(0.5f - 0x1p-25f)));
}

KORVEN_AVX2_TARGET inline __m256i channel(__m256i c, int k)
{
    return _mm256_and_si256(_mm256_srli_epi32(c, 8 * k), _mm256_set1_epi32(255));
}

// The "All" ratio of each channel sum. Eight plain loads: a gather is no
// faster where it is quick and much slower on many AVX2 processors.
KORVEN_AVX2_TARGET inline __m256 ratio_of(const AllChannelsPlan& plan, __m256i sum)
{
    alignas(32) std::int32_t sums[8];
    alignas(32) float ratios[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(sums), sum);
    for (int i = 0; i < 8; ++i) ratios[i] = plan.ratio[static_cast<std::size_t>(sums[i])];
    return _mm256_load_ps(ratios);
}

// The target mean v back from the ratio (v / s) x 3: ratio x s / 3 lies
// within 0.001 of v for every v <= 255 and s <= 765 (the tests try them all), so
// one table look-up gives both.
KORVEN_AVX2_TARGET inline __m256i mean_of(__m256 ratio, __m256i s)
{
    const __m256 about_v = _mm256_mul_ps(_mm256_mul_ps(ratio, _mm256_cvtepi32_ps(s)),
                                         _mm256_set1_ps(1.0f / 3.0f));
    return _mm256_cvttps_epi32(_mm256_add_ps(about_v, _mm256_set1_ps(0.5f)));
}

KORVEN_AVX2_TARGET inline __m256i select(__m256i mask, __m256i if_set, __m256i otherwise)
{
    return _mm256_blendv_epi8(otherwise, if_set, mask);
}

// The whole rule, 8 pixels at a time.
KORVEN_AVX2_TARGET void whole_rule_row_avx2(const AllChannelsPlan& plan, Colour* pixels, int count)
{
    const __m256i byte = _mm256_set1_epi32(255);
    const __m256i one = _mm256_set1_epi32(1);
    const __m256i zero = _mm256_setzero_si256();
    const int grey = plan.mean[0];
    const __m256i black = _mm256_set1_epi32(static_cast<int>(rgb(grey, grey, grey)));
    int x = 0;
    for (; x + 8 <= count; x += 8) {
        const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixels + x));
        const __m256i source[3] = {channel(c, 0), channel(c, 1), channel(c, 2)};
        const __m256i s = _mm256_add_epi32(_mm256_add_epi32(source[0], source[1]), source[2]);
        const __m256 ratio = ratio_of(plan, s);
        const __m256i v = mean_of(ratio, s);
        const __m256 mean = _mm256_cvtepi32_ps(v);

        __m256 level[3];
        __m256i result[3];
        for (int k = 0; k < 3; ++k) {
            level[k] = _mm256_mul_ps(_mm256_cvtepi32_ps(source[k]), ratio);
            result[k] = round_levels(level[k]);
        }
        // A later channel leads only when above the rounded lead so far.
        const __m256i above1 = _mm256_castps_si256(
            _mm256_cmp_ps(level[1], _mm256_cvtepi32_ps(result[0]), _CMP_GT_OQ));
        const __m256i largest01 = select(above1, result[1], result[0]);
        const __m256i above2 = _mm256_castps_si256(
            _mm256_cmp_ps(level[2], _mm256_cvtepi32_ps(largest01), _CMP_GT_OQ));
        const __m256i largest = select(above2, result[2], largest01);
        const __m256i leads[3] = {_mm256_andnot_si256(_mm256_or_si256(above1, above2),
                                                      _mm256_set1_epi32(-1)),
                                  _mm256_andnot_si256(above2, above1), above2};

        // Past 255 every channel is pulled toward the mean, the lead to
        // exactly 255. Worked out for all lanes (no branch to mispredict);
        // lanes within range divide by 1 and keep their rounded levels.
        const __m256i over = _mm256_cmpgt_epi32(largest, byte);
        const __m256i span = select(over, _mm256_sub_epi32(largest, v), one);
        const __m256 pull = _mm256_div_ps(_mm256_cvtepi32_ps(_mm256_sub_epi32(byte, v)),
                                          _mm256_cvtepi32_ps(span));
        for (int k = 0; k < 3; ++k) {
            const __m256 pulled =
                _mm256_add_ps(_mm256_mul_ps(_mm256_sub_ps(level[k], mean), pull), mean);
            // Truncation and flooring agree once negatives become 0.
            const __m256i whole = _mm256_max_epi32(_mm256_cvttps_epi32(pulled), zero);
            result[k] = select(over, select(leads[k], byte, whole), result[k]);
        }
        __m256i out = _mm256_or_si256(
            result[0], _mm256_or_si256(_mm256_slli_epi32(result[1], 8),
                                       _mm256_slli_epi32(result[2], 16)));
        out = select(_mm256_cmpeq_epi32(s, zero), black, out);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixels + x), out);
    }
    whole_rule_row(plan, pixels + x, count - x);
}

// The common case for 8 pixels: channels scaled and rounded. Returns a bit
// for each pixel that needs the whole rule.
KORVEN_AVX2_TARGET inline int scale_eight(const AllChannelsPlan& plan, const Colour* from,
                                          Colour* to)
{
    const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from));
    const __m256i source[3] = {channel(c, 0), channel(c, 1), channel(c, 2)};
    const __m256i s = _mm256_add_epi32(_mm256_add_epi32(source[0], source[1]), source[2]);
    const __m256 ratio = ratio_of(plan, s);
    __m256 level[3];
    for (int k = 0; k < 3; ++k) level[k] = _mm256_mul_ps(_mm256_cvtepi32_ps(source[k]), ratio);
    const __m256i out = _mm256_or_si256(
        round_levels(level[0]), _mm256_or_si256(_mm256_slli_epi32(round_levels(level[1]), 8),
                                                _mm256_slli_epi32(round_levels(level[2]), 16)));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(to), out);
    // Black, or a largest channel that passes 255 once rounded.
    const __m256 largest = _mm256_max_ps(_mm256_max_ps(level[0], level[1]), level[2]);
    const __m256 marked = _mm256_or_ps(
        _mm256_castsi256_ps(_mm256_cmpeq_epi32(s, _mm256_setzero_si256())),
        _mm256_cmp_ps(largest, _mm256_set1_ps(255.5f), _CMP_GE_OQ));
    return _mm256_movemask_ps(marked);
}

KORVEN_AVX2_TARGET int scale_row_avx2(const AllChannelsPlan& plan, const Colour* from, Colour* to,
                                      MarkedPlaces& marked, int count)
{
    int marks = 0;
    int x = 0;
    for (; x + 8 <= count; x += 8)
        list_places(marked, marks, static_cast<unsigned>(scale_eight(plan, from + x, to + x)), x);
    if (x < count) {
        // The last few pixels of a row, through a group padded with black.
        Colour in[8] = {}, out[8];
        const int left = count - x;
        std::memcpy(in, from + x, sizeof(Colour) * static_cast<std::size_t>(left));
        const auto mask = static_cast<unsigned>(scale_eight(plan, in, out)) & ((1u << left) - 1);
        list_places(marked, marks, mask, x);
        std::memcpy(to + x, out, sizeof(Colour) * static_cast<std::size_t>(left));
    }
    return marks;
}

void all_channels_row_avx2(const AllChannelsPlan& plan, const Colour* from, Colour* to, int width)
{
    all_channels_in_steps({scale_row_avx2, whole_rule_row_avx2}, plan, from, to, width);
}

// A single channel is a table look-up per pixel, which plain loads do as
// fast as a gather does (faster on many processors). What the vector code
// adds is the store: the row goes to a new picture, and a store that
// bypasses the cache saves reading each line of it first.
KORVEN_AVX2_TARGET void one_channel_row_avx2(const OneChannelPlan& plan, const Colour* from,
                                             const Colour* kept, Colour* to, int width)
{
    const int shift = 8 * plan.channel;
    const Colour keep = ~(Colour{255} << shift);
    const Colour* placed = plan.placed.data();
    int x = 0;
    const auto scalar = [&](int end) {
        for (; x < end; ++x) to[x] = (kept[x] & keep) | placed[(from[x] >> shift) & 255];
    };
    scalar(std::min(width, static_cast<int>((32 - reinterpret_cast<std::uintptr_t>(to) % 32) % 32 / 4)));
    if (reinterpret_cast<std::uintptr_t>(to + x) % 32 == 0) {
        alignas(32) Colour eight[8];
        for (; x + 8 <= width; x += 8) {
            for (int i = 0; i < 8; ++i) eight[i] = (kept[x + i] & keep) | placed[(from[x + i] >> shift) & 255];
            const __m256i row = _mm256_load_si256(reinterpret_cast<const __m256i*>(eight));
            _mm256_stream_si256(reinterpret_cast<__m256i*>(to + x), row);
        }
        _mm_sfence();  // the streamed rows are seen by the thread that waits for them
    }
    scalar(width);
}

}  // namespace

RowLoops avx2_rows() { return RowLoops{all_channels_row_avx2, one_channel_row_avx2}; }

#else

RowLoops avx2_rows() { return portable_rows; }

#endif

}  // namespace korven::curve_rows
