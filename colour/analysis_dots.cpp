// One loop written once, compiled three times: for every processor, for AVX2
// and for AVX-512. The compiler vectorises it for each; every step is the same
// single-precision operation in the same order (never fused: the colour target
// compiles with -ffp-contract=off), so all three give the same dots.
#include "colour/analysis_dots.h"

#include <algorithm>
#include <cmath>

namespace korven::analysis_dots {

namespace {

[[gnu::always_inline]] inline void place(const Plan& plan, const Colour* __restrict pixels, int count,
                                         Run& __restrict run)
{
    float m[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) m[i][j] = plan.matrix[i][j];
    const float centre_x = plan.centre_x, centre_y = plan.centre_y;
    const int chart_width = plan.chart_width, chart_height = plan.chart_height;
    const int chart_stride = plan.chart_stride;
    for (int p = 0; p < count; ++p) {
        const Colour c = pixels[p];
        const float level[3] = {static_cast<float>(c & 255), static_cast<float>((c >> 8) & 255),
                                static_cast<float>((c >> 16) & 255)};
        float q[3];
        for (int i = 0; i < 3; ++i) q[i] = m[i][0] * level[0] + m[i][1] * level[1] + m[i][2] * level[2];
        // Black has no hue: it takes the centre (its q0 and q1 are 0) in the
        // mean grey, and is divided by 1 instead of 0. Adding 0 or 1, 0 or 85
        // changes nothing else and keeps the loop free of branches.
        const float black = static_cast<float>(q[2] == 0.0f);
        const float mean = q[2] + black;
        const float spread = 141.4f / mean;  // a pure primary lands 200 out
        const float brighten = 85.0f / mean;  // the colour at mean level 85
        // The pixel the dot falls on, as `pixel_coordinate` maps it; these
        // coordinates lie within a few thousand of the centre, where that is
        // plain `round_in_range`.
        const int column = round_in_range(centre_x - q[1] * spread);
        const int row = round_in_range(centre_y - q[0] * spread);
        const bool on_chart = static_cast<unsigned>(column) < static_cast<unsigned>(chart_width) &&
                              static_cast<unsigned>(row) < static_cast<unsigned>(chart_height);
        run.chart_index[p] = on_chart ? row * chart_stride + column : -1;
        Colour dot = 0;
        for (int k = 0; k < 3; ++k) {
            const float dot_level = level[k] * brighten + black * 85.0f;
            dot |= static_cast<Colour>(std::min(round_in_range(dot_level), 255)) << (8 * k);
        }
        run.colour[p] = dot;
        run.level[p] = std::min(round_in_range(q[2]), 255);
    }
}

void place_portable(const Plan& plan, const Colour* pixels, int count, Run& run)
{
    place(plan, pixels, count, run);
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define KORVEN_ANALYSIS_VECTORS 1

__attribute__((target("avx2"))) void place_avx2(const Plan& plan, const Colour* pixels, int count,
                                                Run& run)
{
    place(plan, pixels, count, run);
}

__attribute__((target("avx512f,avx512dq,avx512bw,avx512vl"))) void place_avx512(
    const Plan& plan, const Colour* pixels, int count, Run& run)
{
    place(plan, pixels, count, run);
}
#endif

// The vector versions, fastest first.
constexpr CodePath vector_paths[] = {CodePath::avx512, CodePath::avx2};

}  // namespace

Plan make_plan(const ChromaMatrix& matrix, float panel_top, PictureView chart)
{
    // Bounds that keep every value the loop rounds small: the mean, dot
    // levels up to 85 / (1/4) and spreads of a few thousand pixels at most.
    const auto within = [](float value, float lowest, float highest) {
        value = value >= lowest ? value : lowest;  // NaN too
        return value <= highest ? value : highest;
    };
    Plan plan{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            plan.matrix[i][j] = i == 2 ? within(matrix[2][j], 0.25f, 1.0f) : within(matrix[i][j], -1.0f, 1.0f);
    plan.centre_x = 451.0f;
    plan.centre_y = panel_top + 214.0f;
    plan.chart_width = chart.width;
    plan.chart_height = chart.height;
    plan.chart_stride = static_cast<std::int32_t>(chart.stride);
    // A panel this far out has no dot on any chart of ours.
    if (!(std::abs(panel_top) <= far_panel)) {
        plan.centre_y = 0;
        plan.chart_width = plan.chart_height = 0;
    }
    return plan;
}

PlaceFunction place_function(CodePath path)
{
#ifdef KORVEN_ANALYSIS_VECTORS
    switch (path_to_run(path, vector_paths)) {
    case CodePath::avx512: return place_avx512;
    case CodePath::avx2: return place_avx2;
    default: break;
    }
#endif
    return place_portable;
}

}  // namespace korven::analysis_dots

namespace korven {

std::vector<CodePath> analysis_paths_here() { return paths_here(analysis_dots::vector_paths); }

}  // namespace korven
