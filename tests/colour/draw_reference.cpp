#include "tests/colour/draw_reference.h"

#include "core/numbers.h"

namespace korven::reference {

Table level_table(const Points& point_levels, int channel_choice)
{
    Table level_table{};
    for (int i = 1; i <= 32; ++i) {
        const std::int16_t a = point_levels[i - 1];
        const std::int16_t b = point_levels[i];
        if (channel_choice == -1) {
            for (int j = 0; j <= (i == 32 ? 20 : 23); ++j)
                level_table[24 * (i - 1) + j] = static_cast<float>(a + (b - a) * j / 24.0);
        } else {
            for (int j = 0; j <= 7; ++j)
                level_table[8 * (i - 1) + j] = round_to_int16(a + (b - a) * j / 8.0);
        }
    }
    if (channel_choice == -1)
        level_table[765] = point_levels[32];
    else
        level_table[255] = point_levels[32];
    return level_table;
}

Colour all_channels_pixel(Colour c, const Table& level_table)
{
    std::int16_t source[3];
    source[0] = static_cast<std::int16_t>(c & 255);
    source[1] = static_cast<std::int16_t>((c & 65280) / 256);
    source[2] = static_cast<std::int16_t>((c & 16711680) / 65536);
    const std::int16_t s = static_cast<std::int16_t>(source[0] + source[1] + source[2]);
    const std::int16_t v = round_to_int16(level_table[s]);
    float level[3];
    if (s == 0) {
        level[0] = level[1] = level[2] = v;
    } else {
        const float r = (static_cast<float>(v) / static_cast<float>(s)) * 3.0f;
        for (int k = 0; k < 3; ++k) level[k] = static_cast<float>(source[k]) * r;
        std::int16_t m = round_to_int16(level[0]);
        int mi = 0;
        if (level[1] > m) {
            m = round_to_int16(level[1]);
            mi = 1;
        }
        if (level[2] > m) {
            m = round_to_int16(level[2]);
            mi = 2;
        }
        if (m > 255) {
            const float f = static_cast<float>(255 - v) / static_cast<float>(m - v);
            for (int k = 0; k < 3; ++k) {
                if (k == mi)
                    level[k] = 255.0f;
                else
                    level[k] = static_cast<float>(floor_to_int((level[k] - v) * f + v));
            }
            for (int k = 0; k < 3; ++k)
                if (level[k] < 0) level[k] = 0;
        }
    }
    return rgb(round_to_int(level[0]), round_to_int(level[1]), round_to_int(level[2]));
}

void draw(const Picture& original, Picture& adjusted, const Points& point_levels,
          int channel_choice)
{
    const Table table = level_table(point_levels, channel_choice);
    const std::uint32_t divisor[3] = {1, 256, 65536};
    const std::uint32_t mask[3] = {255, 65280, 16711680};
    for (int y = 0; y < adjusted.height(); ++y) {
        for (int x = 0; x < adjusted.width(); ++x) {
            const Colour c = original.at(x, y);
            if (channel_choice == -1) {
                adjusted.at(x, y) = all_channels_pixel(c, table);
                continue;
            }
            const int n = channel_choice;
            Colour t = adjusted.at(x, y);
            t = t & ~mask[n];
            t = static_cast<Colour>(
                round_to_int(t + static_cast<double>(table[(c & mask[n]) / divisor[n]]) * divisor[n]));
            adjusted.at(x, y) = t;
        }
    }
}

}  // namespace korven::reference
