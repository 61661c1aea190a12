#pragma once
// Row loops of DRAW's two passes: plain loops every processor runs, and
// vector loops for processors that have them. Both give identical rows.

#include <array>
#include <cstdint>

#include "colour/level_table.h"
#include "platform/picture.h"

namespace korven::curve_rows {

// What the "All" pass needs for each channel sum s, worked out once per call.
struct AllChannelsPlan {
    std::array<std::int32_t, level_table_size> mean{};  // target mean level v, 0..255
    std::array<float, level_table_size> ratio{};        // (v / s) x 3, single precision
};
AllChannelsPlan plan_all_channels(const LevelTable& table);

// The "All" result for one colour value.
Colour all_channels_pixel(const AllChannelsPlan& plan, Colour c);

void all_channels_row(const AllChannelsPlan& plan, const Colour* from, Colour* to, int width);

// `levels[l]` is the new level of the channel for source level l.
using ChannelLevels = std::array<std::uint8_t, 256>;
void one_channel_row(const ChannelLevels& levels, int channel, const Colour* from, Colour* to,
                     int width);

// The vector loops, and whether this processor runs them.
bool has_vector_rows();
void vector_all_channels_row(const AllChannelsPlan& plan, const Colour* from, Colour* to,
                             int width);
void vector_one_channel_row(const ChannelLevels& levels, int channel, const Colour* from,
                            Colour* to, int width);

}  // namespace korven::curve_rows
