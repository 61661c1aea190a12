// The vector row loops of DRAW, 16 pixels at a time with AVX-512. Every
// operation is the plain loop's operation in the same order and precision,
// lane by lane, so the rows are identical; the tests compare the two.
#include "colour/apply_curve_rows.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define KORVEN_VECTOR_ROWS 1
#if defined(__GNUC__) && !defined(__clang__)
// GCC 12 takes the intrinsics' deliberately undefined start values for
// uninitialised variables.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>
#endif

namespace korven::curve_rows {

#ifdef KORVEN_VECTOR_ROWS

#define KORVEN_VECTOR_TARGET __attribute__((target("avx512f,avx512bw,avx512vbmi")))

namespace {

// Nearest whole number, halves up, for levels from 0 up: x + 0.5 rounded
// toward zero never passes the whole number below the exact sum, so its
// truncation is the floor of the exact x + 0.5.
KORVEN_VECTOR_TARGET inline __m512i round_levels(__m512 level)
{
    return _mm512_cvttps_epi32(_mm512_add_round_ps(level, _mm512_set1_ps(0.5f),
                                                   _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC));
}

// The mean level of each channel sum, looked up 16 sums at a time from byte
// tables held in registers: six look-ups of 128 entries each, then the two
// top bits of the sum choose among them.
class MeanLookup {
public:
    KORVEN_VECTOR_TARGET explicit MeanLookup(const AllChannelsPlan& plan)
    {
        alignas(64) std::uint8_t means[768] = {};
        for (int s = 0; s < level_table_size; ++s)
            means[s] = static_cast<std::uint8_t>(plan.mean[static_cast<std::size_t>(s)]);
        for (int i = 0; i < 12; ++i) table_[i] = _mm512_load_si512(means + 64 * i);
    }

    // `s` holds sums 0..765, one per 32-bit lane.
    KORVEN_VECTOR_TARGET __m512i operator()(__m512i s) const
    {
        // Each lane's low byte indexes; its bit 7 picks the upper half of a pair.
        const __mmask16 upper_half = _mm512_test_epi32_mask(s, _mm512_set1_epi32(128));
        __m512i pair[3];
        for (int i = 0; i < 3; ++i)
            pair[i] = _mm512_mask_blend_epi32(
                upper_half, _mm512_permutex2var_epi8(table_[4 * i], s, table_[4 * i + 1]),
                _mm512_permutex2var_epi8(table_[4 * i + 2], s, table_[4 * i + 3]));
        __m512i mean = _mm512_mask_blend_epi32(
            _mm512_test_epi32_mask(s, _mm512_set1_epi32(256)), pair[0], pair[1]);
        mean = _mm512_mask_blend_epi32(_mm512_test_epi32_mask(s, _mm512_set1_epi32(512)), mean,
                                       pair[2]);
        return _mm512_and_si512(mean, _mm512_set1_epi32(255));
    }

private:
    __m512i table_[12];
};

KORVEN_VECTOR_TARGET void all_channels_row_avx512(const AllChannelsPlan& plan,
                                                  const Colour* from, Colour* to, int width)
{
    const MeanLookup look_up_mean(plan);
    const __m512i byte = _mm512_set1_epi32(255);
    const __m512i one = _mm512_set1_epi32(1);
    const __m512i zero = _mm512_setzero_si512();
    const int grey = plan.mean[0];
    const __m512i black = _mm512_set1_epi32(static_cast<int>(rgb(grey, grey, grey)));
    int x = 0;
    for (; x + 16 <= width; x += 16) {
        const __m512i c = _mm512_loadu_si512(from + x);
        const __m512i source[3] = {_mm512_and_si512(c, byte),
                                   _mm512_and_si512(_mm512_srli_epi32(c, 8), byte),
                                   _mm512_and_si512(_mm512_srli_epi32(c, 16), byte)};
        const __m512i s = _mm512_add_epi32(_mm512_add_epi32(source[0], source[1]), source[2]);
        const __m512i v = look_up_mean(s);
        const __m512 mean = _mm512_cvtepi32_ps(v);
        // (v / s) x 3 as the plan has it; dividing here is cheaper than a
        // second look-up. Black lanes divide by 1 and are replaced below.
        const __m512 ratio = _mm512_mul_ps(
            _mm512_div_ps(mean, _mm512_cvtepi32_ps(_mm512_max_epi32(s, one))),
            _mm512_set1_ps(3.0f));

        __m512 level[3];
        __m512i result[3];
        for (int k = 0; k < 3; ++k) {
            level[k] = _mm512_mul_ps(_mm512_cvtepi32_ps(source[k]), ratio);
            result[k] = round_levels(level[k]);
        }
        // A later channel leads only when above the rounded lead so far.
        const __mmask16 above1 =
            _mm512_cmp_ps_mask(level[1], _mm512_cvtepi32_ps(result[0]), _CMP_GT_OQ);
        const __m512i largest01 = _mm512_mask_mov_epi32(result[0], above1, result[1]);
        const __mmask16 above2 =
            _mm512_cmp_ps_mask(level[2], _mm512_cvtepi32_ps(largest01), _CMP_GT_OQ);
        const __m512i largest = _mm512_mask_mov_epi32(largest01, above2, result[2]);
        const __mmask16 leads[3] = {static_cast<__mmask16>(~(above1 | above2)),
                                    static_cast<__mmask16>(above1 & ~above2), above2};

        // Past 255 every channel is pulled toward the mean, the lead to
        // exactly 255. Worked out for all lanes (no branch to mispredict);
        // lanes within range divide by 1 and keep their rounded levels.
        const __mmask16 over = _mm512_cmpgt_epi32_mask(largest, byte);
        const __m512i span = _mm512_mask_sub_epi32(one, over, largest, v);
        const __m512 pull = _mm512_div_ps(_mm512_cvtepi32_ps(_mm512_sub_epi32(byte, v)),
                                          _mm512_cvtepi32_ps(span));
        for (int k = 0; k < 3; ++k) {
            const __m512 pulled =
                _mm512_add_ps(_mm512_mul_ps(_mm512_sub_ps(level[k], mean), pull), mean);
            // Truncation and flooring agree once negatives become 0.
            const __m512i whole = _mm512_max_epi32(_mm512_cvttps_epi32(pulled), zero);
            result[k] = _mm512_mask_mov_epi32(result[k], over & ~leads[k], whole);
            result[k] = _mm512_mask_mov_epi32(result[k], over & leads[k], byte);
        }
        __m512i out = _mm512_or_si512(
            result[0], _mm512_or_si512(_mm512_slli_epi32(result[1], 8),
                                       _mm512_slli_epi32(result[2], 16)));
        out = _mm512_mask_mov_epi32(out, _mm512_cmpeq_epi32_mask(s, zero), black);
        _mm512_storeu_si512(to + x, out);
    }
    all_channels_row(plan, from + x, to + x, width - x);
}

KORVEN_VECTOR_TARGET void one_channel_row_avx512(const OneChannelPlan& plan, const Colour* from,
                                                 const Colour* kept, Colour* to, int width)
{
    // Every byte of the source is looked up; the channel's byte is kept.
    const std::uint8_t* levels = plan.levels.data();
    const __m512i table[4] = {_mm512_loadu_si512(levels), _mm512_loadu_si512(levels + 64),
                              _mm512_loadu_si512(levels + 128), _mm512_loadu_si512(levels + 192)};
    const __m512i channel_bits = _mm512_set1_epi32(255 << (8 * plan.channel));
    int x = 0;
    for (; x + 16 <= width; x += 16) {
        const __m512i source = _mm512_loadu_si512(from + x);
        const __m512i low = _mm512_permutex2var_epi8(table[0], source, table[1]);
        const __m512i high = _mm512_permutex2var_epi8(table[2], source, table[3]);
        const __m512i looked_up = _mm512_mask_blend_epi8(_mm512_movepi8_mask(source), low, high);
        const __m512i target = _mm512_loadu_si512(kept + x);
        // channel_bits ? looked_up : target, bit by bit
        _mm512_storeu_si512(to + x,
                            _mm512_ternarylogic_epi32(channel_bits, looked_up, target, 0xCA));
    }
    one_channel_row(plan, from + x, kept + x, to + x, width - x);
}

}  // namespace

RowLoops avx512_rows()
{
    return RowLoops{all_channels_row_avx512, one_channel_row_avx512};
}

#else

RowLoops avx512_rows() { return portable_rows; }

#endif

}  // namespace korven::curve_rows
