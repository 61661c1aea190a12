// Plain loops, and byte shuffles of four pixels at a time on processors with
// SSSE3 (nearly every x86-64 one), chosen once at run time.
#include "files/bgr_rows.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define KORVEN_SHUFFLED_ROWS 1
#include <immintrin.h>
#endif

namespace korven::bmp {

namespace {

void colours_from_bgr_plain(const std::uint8_t* from, Colour* to, int width)
{
    for (int x = 0; x < width; ++x, from += 3) to[x] = rgb(from[2], from[1], from[0]);
}

void bgr_from_colours_plain(const Colour* from, std::uint8_t* to, int width)
{
    for (int x = 0; x < width; ++x, to += 3) {
        to[0] = static_cast<std::uint8_t>(blue_of(from[x]));
        to[1] = static_cast<std::uint8_t>(green_of(from[x]));
        to[2] = static_cast<std::uint8_t>(red_of(from[x]));
    }
}

#ifdef KORVEN_SHUFFLED_ROWS

// Each 16-byte load or store covers 12 bytes of pixels and 4 bytes more, so
// the shuffled loops stop while 6 pixels are left (18 bytes >= 16).
__attribute__((target("ssse3"))) void colours_from_bgr_shuffled(const std::uint8_t* from,
                                                                  Colour* to, int width)
{
    const __m128i order = _mm_setr_epi8(2, 1, 0, -1, 5, 4, 3, -1, 8, 7, 6, -1, 11, 10, 9, -1);
    int x = 0;
    for (; x + 6 <= width; x += 4) {
        const __m128i bgr = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 3 * x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + x), _mm_shuffle_epi8(bgr, order));
    }
    colours_from_bgr_plain(from + 3 * x, to + x, width - x);
}

__attribute__((target("ssse3"))) void bgr_from_colours_shuffled(const Colour* from,
                                                                 std::uint8_t* to, int width)
{
    const __m128i order = _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
    int x = 0;
    for (; x + 6 <= width; x += 4) {
        const __m128i colours = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 3 * x), _mm_shuffle_epi8(colours, order));
    }
    bgr_from_colours_plain(from + x, to + 3 * x, width - x);
}

bool shuffles()
{
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("ssse3");
    }();
    return has;
}

#endif

}  // namespace

void colours_from_bgr(const std::uint8_t* from, Colour* to, int width)
{
#ifdef KORVEN_SHUFFLED_ROWS
    if (shuffles()) return colours_from_bgr_shuffled(from, to, width);
#endif
    colours_from_bgr_plain(from, to, width);
}

void bgr_from_colours(const Colour* from, std::uint8_t* to, int width)
{
#ifdef KORVEN_SHUFFLED_ROWS
    if (shuffles()) return bgr_from_colours_shuffled(from, to, width);
#endif
    bgr_from_colours_plain(from, to, width);
}

}  // namespace korven::bmp
