#include "geometry/average_reduce.h"

#include <cstdint>
#include <vector>

#include "geometry/column_sums.h"
#include "core/shared_runs.h"

namespace korven {

namespace {

// first[k]: the first source index that falls on target index k, the smallest
// i with i x target_size >= k x source_size; first[target_size] = source_size.
std::vector<int> first_sources(int source_size, int target_size)
{
    std::vector<int> first(static_cast<std::size_t>(target_size) + 1);
    for (int k = 0; k <= target_size; ++k)
        first[static_cast<std::size_t>(k)] =
            static_cast<int>((static_cast<long long>(k) * source_size + target_size - 1) / target_size);
    return first;
}

// Means of sums, each rounded to nearest with halves up as round_to_int
// rounds them, but by a multiplication with 1 / count instead of a division.
// Exact for counts up to 2^30 (sides up to 32767) and means up to 255: the product is off from
// the true mean by less than 2^-44, a mean that is not a half lies at least
// 1 / (2 x count) >= 2^-31 from one, and the 2^-40 added to the half lifts an
// exact half (perhaps computed a little low) over the whole number above it.
class Means {
public:
    explicit Means(std::uint64_t count) : inverse_(1.0 / static_cast<double>(count)) {}

    int operator()(std::int64_t sum) const
    {
        return static_cast<int>(static_cast<double>(sum) * inverse_ + (0.5 + 0x1p-40));
    }

private:
    double inverse_;
};

// Writes one target row from the column sums of its source rows: each pixel
// the means over its block of columns. `Sum` holds the sums of one block.
template <typename Sum>
void write_means(const column_sums::Sums& sums, const std::vector<int>& first_column, int rows, Colour* out)
{
    const int width = static_cast<int>(first_column.size()) - 1;
    const int source_width = first_column.back();
    // Blocks are `narrow` or `narrow + 1` columns wide.
    const int narrow = source_width / width;
    const Means narrow_means(static_cast<std::uint64_t>(narrow) * rows);
    const Means wide_means(static_cast<std::uint64_t>(narrow + 1) * rows);
    // One walk along the columns; each block is written when the next begins.
    int k = 0;
    Sum red = 0, green = 0, blue = 0;
    const auto write_block = [&] {
        const int block_width = first_column[static_cast<std::size_t>(k) + 1] - first_column[static_cast<std::size_t>(k)];
        const Means& mean = block_width == narrow ? narrow_means : wide_means;
        out[k] = rgb(mean(red), mean(green), mean(blue));
        red = green = blue = 0;
        ++k;
    };
    for (int i = 0; i < source_width; ++i) {
        if (i == first_column[static_cast<std::size_t>(k) + 1]) write_block();
        red += sums.red[static_cast<std::size_t>(i)];
        green += sums.green[static_cast<std::size_t>(i)];
        blue += sums.blue[static_cast<std::size_t>(i)];
    }
    write_block();
}

}  // namespace

void average_reduce(ConstPictureView source, PictureView target, CodePath path)
{
    const int source_width = source.width, source_height = source.height;
    const int width = target.width, height = target.height;
    if (width <= 0 || height <= 0 || width > source_width || height > source_height) return;

    const std::vector<int> first_column = first_sources(source_width, width);
    const std::vector<int> first_row = first_sources(source_height, height);
    const bool vector = runs_vector_loops(path);
    // Target rows are independent: a large picture shares them with a helper.
    share_runs(height, 8, static_cast<long long>(source_width) * source_height, [&](int first_target_row, int end_target_row) {
        column_sums::Sums sums(source_width);
        for (int t = first_target_row; t < end_target_row; ++t) {
            const int first = first_row[static_cast<std::size_t>(t)];
            const int last = first_row[static_cast<std::size_t>(t) + 1];
            if (vector)
                column_sums::vector_take_rows(source, first, last, sums);
            else
                column_sums::take_rows(source, first, last, sums);
            // Blocks of up to 65536 pixels add up in 32 bits (their sums stay
            // below 2^24); larger blocks, few and so cheap either way, in 64.
            const long long block_area = static_cast<long long>(source_width / width + 1) * (last - first);
            if (block_area <= (1 << 16))
                write_means<std::uint32_t>(sums, first_column, last - first, target.row(t));
            else
                write_means<std::uint64_t>(sums, first_column, last - first, target.row(t));
        }
    });
}

}  // namespace korven
