#include "colour/analysis.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

#include "colour/analysis_dots.h"
#include "core/shared_runs.h"

namespace korven {

namespace {

using analysis_dots::Plan;
using analysis_dots::PlaceFunction;
using analysis_dots::run_length;

// Marks a pixel of a helper's layer that no dot has reached; colours never have the top byte.
constexpr Colour no_dot = 0xFF000000u;

// Plots rows [first, end) of `picture` on `layer` in row order, a dot over
// any earlier one, and adds their counts to `counts`.
void plot_rows(const Plan& plan, PlaceFunction place, ConstPictureView picture, int first, int end,
               PictureView layer, BrightnessHistogram& counts)
{
    // Four sets of counters taking turns, so that a run of equal levels does
    // not wait on one counter being written again and again.
    constexpr int turns = 4;
    std::array<BrightnessHistogram, turns> partial{};
    const auto plot = [&](const analysis_dots::Run& run, int i, int turn) {
        if (run.chart_index[i] >= 0) layer.pixels[run.chart_index[i]] = run.colour[i];
        ++partial[static_cast<std::size_t>(turn)][static_cast<std::size_t>(run.level[i])];
    };
    analysis_dots::Run run;
    for (int y = first; y < end; ++y) {
        for (int x = 0; x < picture.width; x += run_length) {
            const int count = std::min(run_length, picture.width - x);
            place(plan, picture.row(y) + x, count, run);
            int i = 0;
            for (; i + turns <= count; i += turns)
                for (int turn = 0; turn < turns; ++turn) plot(run, i + turn, turn);
            for (; i < count; ++i) plot(run, i, 0);
        }
    }
    for (const BrightnessHistogram& part : partial)
        for (std::size_t level = 0; level < counts.size(); ++level) counts[level] += part[level];
}

// Every dot of `layer`, laid out like `chart`, over `chart`.
void overlay(const std::vector<Colour>& layer, PictureView chart)
{
    for (int y = 0; y < chart.height; ++y) {
        const Colour* from = layer.data() + y * chart.stride;
        Colour* to = chart.row(y);
        for (int x = 0; x < chart.width; ++x)
            if (from[x] != no_dot) to[x] = from[x];
    }
}

}  // namespace

BrightnessHistogram analyse(ConstPictureView picture, const ChromaMatrix& matrix, float panel_top,
                            PictureView chart, CodePath path)
{
    BrightnessHistogram counts{};
    if (picture.width <= 0 || picture.height <= 0) return counts;
    // Chart positions are counted in 32 bits; no picture of ours comes near.
    if (chart.width <= 0 || chart.height <= 0 || chart.stride * chart.height > INT32_MAX)
        chart.width = chart.height = 0;
    const Plan plan = analysis_dots::make_plan(matrix, panel_top, chart);
    const PlaceFunction place = analysis_dots::place_function(path);

    // Large pictures are split in two halves of rows. The lower half is
    // plotted on a layer of its own (by the helper thread, where there is
    // one); laid over the chart after the upper half, its dots come last, as
    // in one pass.
    const long long pixels = static_cast<long long>(picture.width) * picture.height;
    std::vector<Colour> layer;
    if (pixels >= pixels_worth_a_thread) {
        try {
            layer.assign(static_cast<std::size_t>(chart.stride * chart.height), no_dot);
        } catch (const std::bad_alloc&) {
            // No memory for the layer: one pass over every row.
        }
    }
    if (layer.empty()) {
        plot_rows(plan, place, picture, 0, picture.height, chart, counts);
        return counts;
    }
    const int split = picture.height / 2;
    const PictureView layer_view{layer.data(), chart.width, chart.height, chart.stride};
    BrightnessHistogram lower_counts{};
    share_runs(2, 1, pixels, [&](int half, int) {
        if (half == 0)
            plot_rows(plan, place, picture, 0, split, chart, counts);
        else
            plot_rows(plan, place, picture, split, picture.height, layer_view, lower_counts);
    });
    overlay(layer, chart);
    for (std::size_t level = 0; level < counts.size(); ++level) counts[level] += lower_counts[level];
    return counts;
}

}  // namespace korven
