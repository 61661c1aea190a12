#include "geometry/average_reduce.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/numbers.h"

namespace korven {

namespace {

// Per source column, the channel sums of the source rows read so far for the
// target row being gathered. One column holds at most 32767 rows of 255, so
// 32 bits are plenty; the block sums across columns are taken in 64 bits.
struct ColumnSums {
    std::vector<std::uint32_t> red, green, blue;

    explicit ColumnSums(int width) : red(width), green(width), blue(width) {}

    void add_row(const Colour* row, int width)
    {
        std::uint32_t* r = red.data();
        std::uint32_t* g = green.data();
        std::uint32_t* b = blue.data();
        for (int i = 0; i < width; ++i) {
            const Colour c = row[i];
            r[i] += c & 255;
            g[i] += (c >> 8) & 255;
            b[i] += (c >> 16) & 255;
        }
    }

    void clear()
    {
        std::fill(red.begin(), red.end(), 0u);
        std::fill(green.begin(), green.end(), 0u);
        std::fill(blue.begin(), blue.end(), 0u);
    }
};

// The mean of `count` values that add up to `sum`, rounded to nearest.
int mean_of(std::uint64_t sum, std::uint64_t count)
{
    return round_to_int(static_cast<double>(sum) / static_cast<double>(count));
}

}  // namespace

void average_reduce(ConstPictureView source, PictureView target)
{
    const int source_width = source.width, source_height = source.height;
    const int width = target.width, height = target.height;
    if (width <= 0 || height <= 0 || width > source_width || height > source_height) return;

    // first_column[k]: the first source column that falls on target column k,
    // the smallest i with i x width >= k x source_width.
    std::vector<int> first_column(static_cast<std::size_t>(width) + 1);
    for (int k = 0; k <= width; ++k)
        first_column[static_cast<std::size_t>(k)] = static_cast<int>(
            (static_cast<long long>(k) * source_width + width - 1) / width);

    ColumnSums sums(source_width);
    int target_row = 0;
    int rows_gathered = 0;
    long long row_step = 0;  // target rows passed, times source_height
    for (int j = 0; j < source_height; ++j) {
        sums.add_row(source.row(j), source_width);
        ++rows_gathered;
        row_step += height;
        if (row_step < source_height) continue;
        // The last source row of this target row has been read.
        Colour* out = target.row(target_row);
        for (int k = 0; k < width; ++k) {
            const int begin = first_column[static_cast<std::size_t>(k)];
            const int end = first_column[static_cast<std::size_t>(k) + 1];
            std::uint64_t red = 0, green = 0, blue = 0;
            for (int i = begin; i < end; ++i) {
                red += sums.red[static_cast<std::size_t>(i)];
                green += sums.green[static_cast<std::size_t>(i)];
                blue += sums.blue[static_cast<std::size_t>(i)];
            }
            const std::uint64_t count = static_cast<std::uint64_t>(end - begin) * rows_gathered;
            out[k] = rgb(mean_of(red, count), mean_of(green, count), mean_of(blue, count));
        }
        sums.clear();
        rows_gathered = 0;
        ++target_row;
        row_step -= source_height;
    }
}

}  // namespace korven
