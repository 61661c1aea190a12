#include "geometry/rotate_sheared.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "geometry/quarter_turn.h"
#include "core/numbers.h"
#include "core/shared_runs.h"

namespace korven {

float reduce_angle(double degrees)
{
    // fmod is exact, so even a huge angle keeps its true remainder.
    double reduced = std::fmod(degrees, 360.0);
    if (reduced < 0) reduced += 360.0;  // a tiny negative angle may round to 360
    const float angle = static_cast<float>(reduced);
    return angle >= 360.0f ? 0.0f : angle;
}

RotationPlan plan_rotation(float rotation_angle, int width, int height)
{
    const float a = rotation_angle;
    RotationPlan plan;
    // The first matching row of the split table.
    if (a <= 45.0f)        plan = {0, +1, a};
    else if (a >= 315.0f)  plan = {0, -1, 360.0f - a};
    else if (a < 90.0f)    plan = {1, -1, 90.0f - a};
    else if (a <= 135.0f)  plan = {1, +1, a - 90.0f};
    else if (a < 180.0f)   plan = {2, -1, 180.0f - a};
    else if (a <= 225.0f)  plan = {2, +1, a - 180.0f};
    else if (a < 270.0f)   plan = {3, -1, 270.0f - a};
    else                   plan = {3, +1, a - 270.0f};

    const float r = plan.residual_angle / 180.0f * 3.141593f;
    const double slope = std::tan(static_cast<double>(r));
    plan.row_tilt = round_to_int16(width * slope);
    plan.column_tilt = round_to_int16(height * slope);
    plan.frame_width = width + plan.column_tilt;
    plan.frame_height = height + plan.row_tilt;
    return plan;
}

namespace {

// Where the two shears put each source pixel in the tilted frame: pixel
// (x, y) goes to (x + row_shift[y], y + lift of column x). The lift steps by
// turn_sign at each run start after the first, so run k is lifted by
// first_lift + turn_sign x k.
struct Shears {
    std::vector<int> row_shift;             // per source row
    std::vector<unsigned char> row_stepped;  // per source row: its shift differs from the row above
    std::vector<int> run_start;             // first column of each run of equally lifted columns
    int first_lift = 0;
    int turn_sign = 1;

    int lift_of_run(int k) const { return first_lift + turn_sign * k; }
    int run_count() const { return static_cast<int>(run_start.size()); }
};

// Steps the two accumulators as the shears do. Each starts at half of the side
// it is compared with, so a tilt of t over a side of n steps no more than t
// times (no pixel falls off the frame; a quarter turn does not step at all),
// and never more than once per row or column.
Shears plan_shears(int width, int height, const RotationPlan& plan)
{
    Shears shears;
    shears.turn_sign = plan.turn_sign;
    shears.first_lift = plan.turn_sign > 0 ? 0 : plan.row_tilt;
    shears.run_start.push_back(0);
    int column_step = round_to_int(width / 2.0);
    for (int x = 0; x + 1 < width; ++x) {
        column_step += plan.row_tilt;
        if (column_step >= width) {
            column_step -= width;
            shears.run_start.push_back(x + 1);
        }
    }

    shears.row_shift.resize(static_cast<std::size_t>(height));
    shears.row_stepped.resize(static_cast<std::size_t>(height));
    int shift = plan.turn_sign > 0 ? plan.column_tilt : 0;
    bool stepped = false;
    int row_step = round_to_int(height / 2.0);
    for (int y = 0; y < height; ++y) {
        shears.row_shift[static_cast<std::size_t>(y)] = shift;
        shears.row_stepped[static_cast<std::size_t>(y)] = stepped;
        row_step += plan.column_tilt;
        stepped = row_step >= height;
        if (stepped) {
            row_step -= height;
            shift -= plan.turn_sign;
        }
    }
    return shears;
}

// The mean of the four pixels (x, y), (x - 1, y), (x, y - 1), (x - 1, y - 1),
// each channel rounded to nearest (halves up).
Colour mean_of_four(ConstPictureView source, int x, int y)
{
    const Colour* lower = source.row(y) + x - 1;
    const Colour* upper = source.row(y - 1) + x - 1;
    const Colour c[4] = {lower[0], lower[1], upper[0], upper[1]};
    int sum[3] = {0, 0, 0};
    for (const Colour colour : c)
        for (int channel = 0; channel < 3; ++channel) sum[channel] += (colour >> (8 * channel)) & 255;
    return rgb((sum[0] + 2) / 4, (sum[1] + 2) / 4, (sum[2] + 2) / 4);
}

// Copies `count` pixels (n <= count <= 2n) as two blocks of n, which may overlap.
template <int n>
inline void copy_as_two_blocks(Colour* to, const Colour* from, int count)
{
    Colour head[n], tail[n];
    std::memcpy(head, from, sizeof head);
    std::memcpy(tail, from + count - n, sizeof tail);
    std::memcpy(to, head, sizeof head);
    std::memcpy(to + count - n, tail, sizeof tail);
}

// Copies a run of pixels. Most runs of a tilt are a few pixels long, where a
// call of memcpy costs more than the copy itself.
inline void copy_run(Colour* to, const Colour* from, int count)
{
    if (count > 16) std::memcpy(to, from, static_cast<std::size_t>(count) * sizeof(Colour));
    else if (count >= 8) copy_as_two_blocks<8>(to, from, count);
    else if (count >= 4) copy_as_two_blocks<4>(to, from, count);
    else if (count >= 2) copy_as_two_blocks<2>(to, from, count);
    else if (count == 1) *to = *from;
}

// One frame row written into a target row, left to right (`reversed` false)
// or right to left. Writes outside the row are dropped.
struct RowWriter {
    Colour* row;
    int width;
    bool reversed;

    void put(int x, Colour c) const
    {
        if (x < 0 || x >= width) return;
        row[reversed ? width - 1 - x : x] = c;
    }

    void copy(int x, const Colour* from, int count) const
    {
        if (x < 0) { from -= x; count += x; x = 0; }
        count = std::min(count, width - x);
        if (count <= 0) return;
        if (!reversed) {
            copy_run(row + x, from, count);
            return;
        }
        Colour* to = row + (width - 1 - x);
        for (int i = 0; i < count; ++i) to[-i] = from[i];
    }
};

constexpr int prefetch_rows = 4;

// Writes every pixel and hole that lands on row `frame_y` of the tilted frame.
void tilt_frame_row(ConstPictureView source, const Shears& shears, int frame_y, const RowWriter& out)
{
    const int width = source.width, height = source.height;
    // Only runs lifted by frame_y - height + 1 .. frame_y reach this row.
    const int k_at_low = shears.turn_sign * (frame_y - height + 1 - shears.first_lift);
    const int k_at_high = shears.turn_sign * (frame_y - shears.first_lift);
    const int k_first = std::max(0, std::min(k_at_low, k_at_high));
    const int k_last = std::min(shears.run_count() - 1, std::max(k_at_low, k_at_high));
    for (int k = k_first; k <= k_last; ++k) {
        const int y = frame_y - shears.lift_of_run(k);
        const int x0 = shears.run_start[static_cast<std::size_t>(k)];
        const int x1 = k + 1 < shears.run_count() ? shears.run_start[static_cast<std::size_t>(k) + 1] : width;
        const int shift = shears.row_shift[static_cast<std::size_t>(y)];
        // Successive runs come from successive source rows, a pattern the
        // processor does not foresee: ask now for what a later frame row reads.
        if (y + prefetch_rows < height) __builtin_prefetch(source.row(y + prefetch_rows) + x0);
        out.copy(x0 + shift, source.row(y) + x0, x1 - x0);
        if (k == 0) continue;  // only a lifted column leaves a hole
        // The hole beside pixel (x0, hole_y): above it for a clockwise tilt,
        // to its left otherwise; both lie on this frame row.
        const int hole_y = shears.turn_sign > 0 ? y + 1 : y;
        if (hole_y >= height || !shears.row_stepped[static_cast<std::size_t>(hole_y)]) continue;
        const int hole_x = x0 + shears.row_shift[static_cast<std::size_t>(hole_y)] - (shears.turn_sign > 0 ? 0 : 1);
        out.put(hole_x, mean_of_four(source, x0, hole_y));
    }
}

}  // namespace

void rotate_sheared(ConstPictureView source, PictureView target, const RotationPlan& plan, CodePath path)
{
    const int width = source.width, height = source.height;
    if (width <= 0 || height <= 0 || target.width != plan.width() || target.height != plan.height()) return;
    const Shears shears = plan_shears(width, height, plan);
    const int frame_width = plan.frame_width, frame_height = plan.frame_height;
    // Frame rows, and frame columns, are independent: a large picture shares
    // them with a helper thread.
    const long long pixels = static_cast<long long>(width) * height;

    if (plan.quarter_turns % 2 == 0) {
        // Frame rows are target rows: as they are, or upside down and mirrored.
        const bool half_turn = plan.quarter_turns == 2;
        share_runs(frame_height, 64, pixels, [&](int first_y, int end_y) {
            for (int frame_y = first_y; frame_y < end_y; ++frame_y) {
                const int target_y = half_turn ? frame_height - 1 - frame_y : frame_y;
                tilt_frame_row(source, shears, frame_y, {target.row(target_y), frame_width, half_turn});
            }
        });
        return;
    }

    const bool vector = runs_vector_loops(path);
    const auto turn = [&](const quarter_turn::Band& band) {
        if (vector)
            quarter_turn::vector_turn_band(band, plan.quarter_turns, target);
        else
            quarter_turn::turn_band(band, plan.quarter_turns, target);
    };
    if (plan.row_tilt == 0 && plan.column_tilt == 0) {
        // Without a tilt the frame is the source itself, turned in bands of
        // all its rows and 64 of its columns.
        share_runs(width, 64, pixels, [&](int first_x, int end_x) {
            const ConstPictureView columns{source.pixels + first_x, end_x - first_x, height, source.stride};
            turn({columns, first_x, 0, width, height});
        });
        return;
    }
    // Otherwise bands of frame rows are tilted into a buffer and turned.
    constexpr int band_rows = 32;
    const int bands = (frame_height + band_rows - 1) / band_rows;
    share_runs(bands, 4, pixels, [&](int first_band, int end_band) {
        std::vector<Colour> buffer(static_cast<std::size_t>(band_rows) * frame_width);
        for (int first_y = first_band * band_rows; first_y < std::min(frame_height, end_band * band_rows);
             first_y += band_rows) {
            const int count = std::min(band_rows, frame_height - first_y);
            std::fill(buffer.begin(), buffer.end(), Colour{0});
            for (int k = 0; k < count; ++k)
                tilt_frame_row(source, shears, first_y + k,
                               {buffer.data() + static_cast<std::ptrdiff_t>(k) * frame_width, frame_width, false});
            turn({{buffer.data(), frame_width, count, frame_width}, 0, first_y, frame_width, frame_height});
        }
    });
}

}  // namespace korven
