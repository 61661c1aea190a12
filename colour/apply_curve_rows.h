#pragma once
// Row loops of DRAW's two passes: plain loops every processor runs (written
// so that the compiler turns them into vector code), and hand-written vector
// loops for processors that have AVX2 or AVX-512. All give identical rows.

#include <array>
#include <cstdint>
#include <cstring>

#include "colour/level_table.h"
#include "core/picture.h"

namespace korven::curve_rows {

// What the "All" pass needs for each channel sum s, worked out once per call.
struct AllChannelsPlan {
    std::array<std::int32_t, level_table_size> mean{};  // target mean level v, 0..255
    std::array<float, level_table_size> ratio{};        // (v / s) x 3, single precision
    // 1 / d in double precision for d = 1..765. For whole numbers n <= 255,
    // float(n x reciprocal[d]) is exactly the single-precision n / d (every
    // such pair was tried), so the plain loops pull toward the mean without
    // dividing.
    std::array<double, level_table_size> reciprocal{};
};
AllChannelsPlan plan_all_channels(const LevelTable& table);

// What a single-channel pass needs, worked out once per call.
struct OneChannelPlan {
    int channel = 0;                           // 0 red, 1 green, 2 blue
    std::array<std::uint8_t, 256> levels{};    // the new level for each source level
    std::array<Colour, 256> placed{};          // the same, moved to the channel's place
};
OneChannelPlan plan_one_channel(const LevelTable& table, int channel);

// One way of running both passes over a row of `width` pixels.
struct RowLoops {
    void (*all_channels)(const AllChannelsPlan& plan, const Colour* from, Colour* to, int width);
    // `to` gets `kept` with the plan's channel looked up from `from`; `kept` may be `to`.
    void (*one_channel)(const OneChannelPlan& plan, const Colour* from, const Colour* kept, Colour* to,
                        int width);
};

// The "All" pass in two steps over blocks of up to `steps_block` pixels.
// Most pixels only need their channels scaled to the target mean and
// rounded; black, and a pixel whose largest channel passes 255, need the
// whole rule. `scale` does the common case for every pixel and lists the
// places of the others in `marked` (which may be written up to 8 entries
// past the count it returns); `whole_rule` redoes those, gathered, in place.
constexpr int steps_block = 256;
using MarkedPlaces = std::array<std::uint8_t, steps_block + 8>;
struct AllChannelsSteps {
    int (*scale)(const AllChannelsPlan& plan, const Colour* from, Colour* to, MarkedPlaces& marked,
                 int count);
    void (*whole_rule)(const AllChannelsPlan& plan, Colour* pixels, int count);
};
// The places of the set bits of each 8-bit mask, packed one per byte from
// the lowest byte up, and how many there are.
struct BitPlaces {
    std::uint64_t places;
    int count;
};
inline constexpr std::array<BitPlaces, 256> places_of_bits = [] {
    std::array<BitPlaces, 256> table{};
    for (int mask = 0; mask < 256; ++mask) {
        BitPlaces& entry = table[static_cast<std::size_t>(mask)];
        for (int bit = 0; bit < 8; ++bit)
            if (mask & (1 << bit)) entry.places |= std::uint64_t(bit) << (8 * entry.count++);
    }
    return table;
}();

// Adds the places x + bit of the set bits of the 8-bit `mask` (x at most
// steps_block - 8) to the `marks` places listed in `marked`, eight at a time.
inline void list_places(MarkedPlaces& marked, int& marks, unsigned mask, int x)
{
    const BitPlaces& bits = places_of_bits[mask & 255];
    // Every place is at most 255, so no byte carries into the next.
    const std::uint64_t places = bits.places + 0x0101010101010101u * static_cast<std::uint64_t>(x);
    std::memcpy(marked.data() + marks, &places, sizeof places);
    marks += bits.count;
}

void all_channels_in_steps(const AllChannelsSteps& steps, const AllChannelsPlan& plan,
                           const Colour* from, Colour* to, int width);

// The plain loops.
int scale_row(const AllChannelsPlan& plan, const Colour* from, Colour* to, MarkedPlaces& marked,
              int count);
void whole_rule_row(const AllChannelsPlan& plan, Colour* pixels, int count);
void all_channels_row(const AllChannelsPlan& plan, const Colour* from, Colour* to, int width);
void one_channel_row(const OneChannelPlan& plan, const Colour* from, const Colour* kept, Colour* to,
                     int width);
constexpr RowLoops portable_rows{all_channels_row, one_channel_row};

// The vector loops, for processors that run them (the plain loops where the
// compiler cannot build them).
RowLoops avx2_rows();
RowLoops avx512_rows();

}  // namespace korven::curve_rows
