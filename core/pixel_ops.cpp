#include "core/pixel_ops.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "core/numbers.h"

namespace korven::pixels {

Area copy_rect(PictureView target, int x, int y, int w, int h, ConstPictureView source, int sx,
               int sy)
{
    // Clip against the source, then the target, moving both corners together.
    const auto clip = [](int& dst, int& src, int& len, int src_size, int dst_size) {
        if (src < 0) { dst -= src; len += src; src = 0; }
        if (dst < 0) { src -= dst; len += dst; dst = 0; }
        len = std::min({len, src_size - src, dst_size - dst});
    };
    clip(x, sx, w, source.width, target.width);
    clip(y, sy, h, source.height, target.height);
    if (w <= 0 || h <= 0) return {};
    for (int row = 0; row < h; ++row)
        std::memmove(target.row(y + row) + x, source.row(sy + row) + sx,
                     static_cast<std::size_t>(w) * sizeof(Colour));
    return {x, y, w, h};
}

namespace {

// For each target index in [first, last), the source index it samples, or -1
// where the sample falls outside the source rectangle or the source.
std::vector<int> sample_indices(int first, int last, double start, double size, double source_start,
                                double source_size, int source_limit)
{
    std::vector<int> indices;
    indices.reserve(static_cast<std::size_t>(std::max(0, last - first)));
    const double scale = source_size / size;
    const int lowest = std::max(0, pixel_coordinate(source_start));
    const int highest = std::min(source_limit, pixel_coordinate(source_start + source_size)) - 1;
    for (int t = first; t < last; ++t) {
        const int s = floor_to_int(source_start + (t + 0.5 - start) * scale);
        indices.push_back(s < lowest || s > highest ? -1 : s);
    }
    return indices;
}

}  // namespace

Area stretch_rect(PictureView target, double x, double y, double w, double h,
                  ConstPictureView source, double sx, double sy, double sw, double sh)
{
    if (!(w > 0 && h > 0 && sw > 0 && sh > 0)) return {};
    const int left = std::max(0, pixel_coordinate(x));
    const int right = std::min(target.width, pixel_coordinate(x + w));
    const int top = std::max(0, pixel_coordinate(y));
    const int bottom = std::min(target.height, pixel_coordinate(y + h));
    if (left >= right || top >= bottom) return {};

    const std::vector<int> columns = sample_indices(left, right, x, w, sx, sw, source.width);
    const std::vector<int> rows = sample_indices(top, bottom, y, h, sy, sh, source.height);
    // The samples are monotonic, so the valid ones form one block.
    const auto valid = [](const std::vector<int>& indices, int first) {
        const auto begin = std::find_if(indices.begin(), indices.end(), [](int i) { return i >= 0; });
        const auto end = std::find_if(begin, indices.end(), [](int i) { return i < 0; });
        return std::pair{first + static_cast<int>(begin - indices.begin()),
                         first + static_cast<int>(end - indices.begin())};
    };
    const auto [first_column, end_column] = valid(columns, left);
    const auto [first_row, end_row] = valid(rows, top);
    for (int ty = first_row; ty < end_row; ++ty) {
        const Colour* from = source.row(rows[static_cast<std::size_t>(ty - top)]);
        Colour* to = target.row(ty);
        for (int tx = first_column; tx < end_column; ++tx) to[tx] = from[columns[static_cast<std::size_t>(tx - left)]];
    }
    return {first_column, first_row, end_column - first_column, end_row - first_row};
}

void fill_rect(PictureView target, int x, int y, int w, int h, Colour colour)
{
    const long long left = std::max(0, x), top = std::max(0, y);
    const long long right = std::min<long long>(target.width, static_cast<long long>(x) + w);
    const long long bottom = std::min<long long>(target.height, static_cast<long long>(y) + h);
    for (long long row = top; row < bottom; ++row)
        std::fill(target.row(static_cast<int>(row)) + left, target.row(static_cast<int>(row)) + right,
                  colour);
}

}  // namespace korven::pixels
