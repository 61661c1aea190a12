#include "colour/apply_curve_rows.h"

#include <algorithm>

namespace korven::curve_rows {

AllChannelsPlan plan_all_channels(const LevelTable& table)
{
    AllChannelsPlan plan;
    for (int s = 0; s < level_table_size; ++s) {
        const auto at = static_cast<std::size_t>(s);
        const int v = std::clamp(round_to_int(table[at]), 0, 255);
        plan.mean[at] = v;
        // Black has no ratio to keep; it becomes grey, so its ratio stays 0.
        if (s > 0) {
            plan.ratio[at] = static_cast<float>(v) / static_cast<float>(s) * 3.0f;
            plan.reciprocal[at] = 1.0 / s;
        }
    }
    return plan;
}

namespace {

// Nearest whole number, halves up, of a level from 0 up to 2^22: the
// program's round_in_range without its sign test, which levels never need
// (the truncation of level plus the largest float below one half).
inline std::int32_t rounded(float level) { return static_cast<std::int32_t>(level + (0.5f - 0x1p-25f)); }

struct Channels {
    std::int32_t red, green, blue, sum;
};
inline Channels channels_of(Colour c)
{
    const auto red = static_cast<std::int32_t>(c & 255);
    const auto green = static_cast<std::int32_t>((c >> 8) & 255);
    const auto blue = static_cast<std::int32_t>((c >> 16) & 255);
    return {red, green, blue, red + green + blue};
}

inline Colour packed(std::int32_t red, std::int32_t green, std::int32_t blue)
{
    return static_cast<Colour>(red | (green << 8) | (blue << 16));
}

// The target mean v back from the ratio (v / s) x 3: ratio x s / 3 lies
// within 0.001 of v for every v <= 255 and s <= 765 (the tests try them all), so one
// table look-up gives both, and the compiler vectorises a loop with one.
inline std::int32_t mean_of(float ratio, std::int32_t sum)
{
    return static_cast<std::int32_t>(ratio * static_cast<float>(sum) * (1.0f / 3.0f) + 0.5f);
}

// The whole rule for one pixel, black and channels past 255 included.
inline Colour all_channels_pixel(const AllChannelsPlan& plan, Colour colour)
{
    const Channels c = channels_of(colour);
    const float ratio = plan.ratio[static_cast<std::size_t>(c.sum)];
    const std::int32_t v = mean_of(ratio, c.sum);
    const float level[3] = {static_cast<float>(c.red) * ratio, static_cast<float>(c.green) * ratio,
                            static_cast<float>(c.blue) * ratio};
    const std::int32_t whole[3] = {rounded(level[0]), rounded(level[1]), rounded(level[2])};
    // A later channel leads only when its level is above the rounded lead so far.
    const bool green_leads = level[1] > static_cast<float>(whole[0]);
    const std::int32_t largest01 = green_leads ? whole[1] : whole[0];
    const bool blue_leads = level[2] > static_cast<float>(largest01);
    const std::int32_t largest = blue_leads ? whole[2] : largest01;

    // Past 255 every channel is pulled toward the mean, the lead to exactly 255.
    const bool over = largest > 255;
    const std::int32_t span = over ? std::min(largest - v, level_table_size - 1) : 1;
    const auto pull =
        static_cast<float>((255 - v) * plan.reciprocal[static_cast<std::size_t>(span)]);
    const auto mean = static_cast<float>(v);
    const auto result = [&](int k, bool leads) {
        // Truncation and flooring agree once negatives become 0.
        const auto pulled = std::max(static_cast<std::int32_t>((level[k] - mean) * pull + mean), 0);
        return !over ? whole[k] : leads ? 255 : pulled;
    };
    const std::int32_t grey = plan.mean[0];
    return c.sum == 0 ? packed(grey, grey, grey)
                      : packed(result(0, !(green_leads | blue_leads)),
                               result(1, green_leads & !blue_leads), result(2, blue_leads));
}

}  // namespace

// The adjusted picture's rows never overlap the original's: saying so lets
// the compiler keep several pixels in flight.
int scale_row(const AllChannelsPlan& plan, const Colour* from, Colour* __restrict to,
              MarkedPlaces& marked, int count)
{
    std::array<std::uint32_t, steps_block> needs_whole_rule{};  // 1 or 0
    for (int i = 0; i < count; ++i) {
        const Channels c = channels_of(from[i]);
        const float ratio = plan.ratio[static_cast<std::size_t>(c.sum)];
        const float red = static_cast<float>(c.red) * ratio;
        const float green = static_cast<float>(c.green) * ratio;
        const float blue = static_cast<float>(c.blue) * ratio;
        to[i] = packed(rounded(red), rounded(green), rounded(blue));
        // The largest channel passes 255 once rounded.
        const bool over = std::max(std::max(red, green), blue) >= 255.5f;
        needs_whole_rule[static_cast<std::size_t>(i)] = (c.sum == 0) | over;
    }
    // Eight marks at a time; those past the count are 0.
    int marks = 0;
    for (int x = 0; x < count; x += 8) {
        unsigned mask = 0;
        for (int bit = 0; bit < 8; ++bit)
            mask |= needs_whole_rule[static_cast<std::size_t>(x + bit)] << bit;
        list_places(marked, marks, mask, x);
    }
    return marks;
}

void whole_rule_row(const AllChannelsPlan& plan, Colour* pixels, int count)
{
    for (int i = 0; i < count; ++i) pixels[i] = all_channels_pixel(plan, pixels[i]);
}

void all_channels_in_steps(const AllChannelsSteps& steps, const AllChannelsPlan& plan,
                           const Colour* from, Colour* to, int width)
{
    MarkedPlaces marked;
    Colour gathered[steps_block];
    for (int start = 0; start < width; start += steps_block) {
        const int count = std::min(steps_block, width - start);
        const int marks = steps.scale(plan, from + start, to + start, marked, count);
        for (int j = 0; j < marks; ++j) gathered[j] = from[start + marked[j]];
        // Whole groups of 8 for the vector loops, the last one padded with black.
        const int padded = std::min((marks + 7) / 8 * 8, steps_block);
        std::fill(gathered + marks, gathered + padded, Colour{0});
        steps.whole_rule(plan, gathered, padded);
        for (int j = 0; j < marks; ++j) to[start + marked[j]] = gathered[j];
    }
}

void all_channels_row(const AllChannelsPlan& plan, const Colour* from, Colour* to, int width)
{
    all_channels_in_steps({scale_row, whole_rule_row}, plan, from, to, width);
}

OneChannelPlan plan_one_channel(const LevelTable& table, int channel)
{
    OneChannelPlan plan;
    plan.channel = channel;
    for (std::size_t level = 0; level < plan.levels.size(); ++level) {
        plan.levels[level] = static_cast<std::uint8_t>(std::clamp(round_to_int(table[level]), 0, 255));
        plan.placed[level] = Colour{plan.levels[level]} << (8 * channel);
    }
    return plan;
}

// Not restricted: `kept` may be `to`, read and written at the same place.
void one_channel_row(const OneChannelPlan& plan, const Colour* from, const Colour* kept, Colour* to,
                     int width)
{
    const int shift = 8 * plan.channel;
    const Colour keep = ~(Colour{255} << shift);
    const Colour* placed = plan.placed.data();
    for (int x = 0; x < width; ++x) to[x] = (kept[x] & keep) | placed[(from[x] >> shift) & 255];
}

}  // namespace korven::curve_rows
