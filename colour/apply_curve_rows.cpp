#include "colour/apply_curve_rows.h"

#include <algorithm>

#include "platform/numbers.h"

namespace korven::curve_rows {

AllChannelsPlan plan_all_channels(const LevelTable& table)
{
    AllChannelsPlan plan;
    for (int s = 0; s < level_table_size; ++s) {
        const int v = std::clamp(round_to_int(table[static_cast<std::size_t>(s)]), 0, 255);
        plan.mean[static_cast<std::size_t>(s)] = v;
        // Black has no ratio to keep; it becomes grey, so its ratio stays 0.
        if (s > 0)
            plan.ratio[static_cast<std::size_t>(s)] =
                static_cast<float>(v) / static_cast<float>(s) * 3.0f;
    }
    return plan;
}

Colour all_channels_pixel(const AllChannelsPlan& plan, Colour c)
{
    const int source[3] = {static_cast<int>(c & 255), static_cast<int>((c >> 8) & 255),
                           static_cast<int>((c >> 16) & 255)};
    const int s = source[0] + source[1] + source[2];
    const int v = plan.mean[static_cast<std::size_t>(s)];
    if (s == 0) return rgb(v, v, v);

    const float ratio = plan.ratio[static_cast<std::size_t>(s)];
    float level[3];
    for (int k = 0; k < 3; ++k) level[k] = static_cast<float>(source[k]) * ratio;
    // The largest channel after rounding; a later channel leads only when its
    // unrounded level is above the rounded lead so far.
    int largest = round_to_int(level[0]);
    int lead = 0;
    for (int k = 1; k < 3; ++k) {
        if (level[k] > static_cast<float>(largest)) {
            largest = round_to_int(level[k]);
            lead = k;
        }
    }
    int result[3];
    if (largest <= 255) {
        for (int k = 0; k < 3; ++k) result[k] = round_to_int(level[k]);
        return rgb(result[0], result[1], result[2]);
    }
    // Past 255: pull every channel toward the mean until the lead is exactly 255.
    const float mean = static_cast<float>(v);
    const float pull = static_cast<float>(255 - v) / static_cast<float>(largest - v);
    for (int k = 0; k < 3; ++k) {
        result[k] = k == lead ? 255 : floor_to_int((level[k] - mean) * pull + mean);
        if (result[k] < 0) result[k] = 0;
    }
    return rgb(result[0], result[1], result[2]);
}

void all_channels_row(const AllChannelsPlan& plan, const Colour* from, Colour* to, int width)
{
    for (int x = 0; x < width; ++x) to[x] = all_channels_pixel(plan, from[x]);
}

void one_channel_row(const ChannelLevels& levels, int channel, const Colour* from, Colour* to,
                     int width)
{
    const int shift = 8 * channel;
    const Colour keep = ~(Colour{255} << shift);
    for (int x = 0; x < width; ++x)
        to[x] = (to[x] & keep) | (Colour{levels[(from[x] >> shift) & 255]} << shift);
}

}  // namespace korven::curve_rows
