#include "colour/level_table.h"

#include <algorithm>

#include "core/numbers.h"

namespace korven {

LevelTable build_level_table(const PointLevels& point_levels, CurveMode mode)
{
    LevelTable table{};
    const auto level = [&](int k) {
        return std::clamp<int>(point_levels[static_cast<std::size_t>(k)], 0, 255);
    };
    const bool all = mode == CurveMode::all_channels;
    // "All" steps 24 sums per point, the last interval stopping at sum 764;
    // a single channel steps 8 levels per point.
    const int steps = all ? 24 : 8;
    for (int i = 1; i < point_count; ++i) {
        const int a = level(i - 1);
        const int b = level(i);
        const int last_step = (all && i == point_count - 1) ? 20 : steps - 1;
        for (int j = 0; j <= last_step; ++j) {
            const double value = a + static_cast<double>(b - a) * j / steps;
            // A single channel keeps whole levels only.
            table[static_cast<std::size_t>(steps * (i - 1) + j)] =
                all ? static_cast<float>(value) : static_cast<float>(round_to_int16(value));
        }
    }
    table[all ? 765 : 255] = static_cast<float>(level(point_count - 1));
    return table;
}

}  // namespace korven
