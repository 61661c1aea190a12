// The matrix-shaper form runs in three passes over a short run of pixels:
// table lookups into linear light, the matrix and the index of each result's
// sRGB level (plain arithmetic on whole arrays, which the compiler turns into
// vector code), and table lookups of the levels. The lookups stay scalar:
// vector gathers are slower here than plain loads. The loop is written once
// and compiled for every processor and for AVX2; each step is the same
// single-precision operation in the same order (never fused: this file
// compiles with -ffp-contract=off), so both paths give the same colours.
// The grid form is one tight loop of whole numbers and lookups, with no
// branches for noise to mispredict.
#include "core/screen_conversion.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "core/shared_runs.h"

namespace korven {

namespace {

// The index of linear light v in the table of sRGB levels: its float's
// exponent and top 10 mantissa bits, counted from 2^-13. Steps of 1/1024 of
// an octave move a level by 0.11 at most; everything below 2^-13 is level 0
// (0.4 at most) and everything from 1 up is the top entry. Negative light
// has the sign bit set and so reads as a negative number: index 0.
constexpr int level_shift = 23 - 10;
constexpr int lowest_octave = 13;
constexpr int level_base = (127 - lowest_octave) << 10;
constexpr int top_level_index = lowest_octave << 10;  // the index of 1.0

[[gnu::always_inline]] inline int level_index(float light)
{
    const int bits = std::bit_cast<std::int32_t>(light);
    return std::clamp((bits >> level_shift) - level_base, 0, top_level_index);
}

// The light a level index stands for: the middle of its step.
float light_of_level_index(int index)
{
    if (index <= 0) return 0.0f;
    if (index >= top_level_index) return 1.0f;
    return std::bit_cast<float>(((level_base + index) << level_shift) | (1 << (level_shift - 1)));
}

// Pixels per pass: the work arrays stay in the first-level cache.
constexpr int pass_pixels = 256;

struct MatrixTables {
    const float* light[3];
    float matrix[3][3];
    const std::uint8_t* levels;
};

[[gnu::always_inline]] inline void convert_by_matrix(const MatrixTables& tables, Colour* __restrict pixels, int count)
{
    alignas(64) float light[3][pass_pixels];
    alignas(64) std::uint16_t index[3][pass_pixels];
    const float* __restrict red_light = tables.light[0];
    const float* __restrict green_light = tables.light[1];
    const float* __restrict blue_light = tables.light[2];
    const std::uint8_t* __restrict levels = tables.levels;
    const float m00 = tables.matrix[0][0], m01 = tables.matrix[0][1], m02 = tables.matrix[0][2];
    const float m10 = tables.matrix[1][0], m11 = tables.matrix[1][1], m12 = tables.matrix[1][2];
    const float m20 = tables.matrix[2][0], m21 = tables.matrix[2][1], m22 = tables.matrix[2][2];
    for (int start = 0; start < count; start += pass_pixels) {
        Colour* __restrict run = pixels + start;
        const int length = std::min(pass_pixels, count - start);
        for (int x = 0; x < length; ++x) {
            const Colour c = run[x];
            light[0][x] = red_light[c & 255];
            light[1][x] = green_light[(c >> 8) & 255];
            light[2][x] = blue_light[(c >> 16) & 255];
        }
        for (int x = 0; x < length; ++x) {
            const float r = light[0][x], g = light[1][x], b = light[2][x];
            index[0][x] = static_cast<std::uint16_t>(level_index(m00 * r + m01 * g + m02 * b));
            index[1][x] = static_cast<std::uint16_t>(level_index(m10 * r + m11 * g + m12 * b));
            index[2][x] = static_cast<std::uint16_t>(level_index(m20 * r + m21 * g + m22 * b));
        }
        for (int x = 0; x < length; ++x)
            run[x] = static_cast<Colour>(levels[index[0][x]]) | static_cast<Colour>(levels[index[1][x]]) << 8 |
                     static_cast<Colour>(levels[index[2][x]]) << 16;
    }
}

void convert_by_matrix_portable(const MatrixTables& tables, Colour* pixels, int count)
{
    convert_by_matrix(tables, pixels, count);
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define KORVEN_SCREEN_CONVERSION_VECTORS 1

__attribute__((target("avx2"))) void convert_by_matrix_avx2(const MatrixTables& tables, Colour* pixels, int count)
{
    convert_by_matrix(tables, pixels, count);
}
#endif

// The same loop built for AVX-512 runs slower than for AVX2 on the
// processors measured: the lookups set the pace, and the wider arithmetic
// only costs more to start. AVX-512 processors take the AVX2 code.
constexpr CodePath matrix_vector_paths[] = {CodePath::avx2};

using MatrixLoop = void (*)(const MatrixTables&, Colour*, int);

MatrixLoop matrix_loop(CodePath path)
{
#ifdef KORVEN_SCREEN_CONVERSION_VECTORS
    switch (path_to_run(path, matrix_vector_paths)) {
    case CodePath::avx2: return convert_by_matrix_avx2;
    default: break;
    }
#endif
    return convert_by_matrix_portable;
}

// Values the builder gave that no real profile has (NaN, infinities, huge
// numbers) are kept within bounds, so that the arithmetic stays finite.
float bounded(float value, float limit)
{
    value = value >= -limit ? value : -limit;  // NaN too
    return std::min(value, limit);
}

// The grid: along each axis, level v lies at v x 32 / 255, in cells of 128
// steps (a step moves the input by 1/16 of a level). A step table entry
// holds the offset of the cell's first node along the axis in its top half,
// and in its bottom half the sort key of the axis: the steps into the cell
// (0 .. 128) above the axis's stride.
constexpr int cell_steps = 128;
constexpr int points = ScreenConversion::grid_points;
constexpr int node_count = points * points * points;
constexpr std::uint32_t red_stride = points * points, green_stride = points, blue_stride = 1;
constexpr std::uint32_t far_corner = red_stride + green_stride + blue_stride;

// A node holds its three 8-bit levels in 1/64 of a level, 21 bits apart, so
// one multiplication weighs all three: 128 steps of weight times 255 x 64
// stay below 2^21 with room for the rounding, and no field carries into the
// next.
constexpr int node_field_bits = 21;
constexpr int node_fraction_bits = 6;
constexpr int sum_shift = node_fraction_bits + 7;  // 7: log2(cell_steps)
constexpr std::uint64_t each_field = 1 | std::uint64_t{1} << node_field_bits | std::uint64_t{1} << 2 * node_field_bits;
constexpr std::uint64_t sum_rounding = (std::uint64_t{1} << (sum_shift - 1)) * each_field;
static_assert(cell_steps * (255 << node_fraction_bits) + (1 << (sum_shift - 1)) < (1 << node_field_bits));

// The larger and smaller of two ints by arithmetic: the compiler would turn
// std::max into a branch, which noisy pictures mispredict.
[[gnu::always_inline]] inline int larger(int a, int b) { return a ^ ((a ^ b) & -static_cast<int>(a < b)); }
[[gnu::always_inline]] inline int smaller(int a, int b) { return a ^ ((a ^ b) & -static_cast<int>(b < a)); }

void convert_by_grid(const std::array<std::array<std::uint64_t, 256>, 3>& steps, const std::uint64_t* nodes,
                     Colour* __restrict pixels, int count)
{
    for (int x = 0; x < count; ++x) {
        const Colour c = pixels[x];
        const std::uint64_t r = steps[0][c & 255], g = steps[1][(c >> 8) & 255], b = steps[2][(c >> 16) & 255];
        // The cell's tetrahedron: from the first node along the axis of the
        // largest fraction, then of the middle one, then of the smallest
        // (equal fractions by stride).
        const auto red_key = static_cast<int>(r & 0xFFFFFFFF), green_key = static_cast<int>(g & 0xFFFFFFFF),
                   blue_key = static_cast<int>(b & 0xFFFFFFFF);
        const int high = larger(red_key, larger(green_key, blue_key));
        const int low = smaller(red_key, smaller(green_key, blue_key));
        const int mid = red_key + green_key + blue_key - high - low;
        const auto largest = static_cast<std::uint64_t>(high >> 16), middle = static_cast<std::uint64_t>(mid >> 16),
                   smallest = static_cast<std::uint64_t>(low >> 16);
        const std::uint64_t* n0 = nodes + (r >> 32) + (g >> 32) + (b >> 32);
        const std::uint64_t sum = (cell_steps - largest) * n0[0] + (largest - middle) * n0[high & 0xFFFF] +
                                  (middle - smallest) * n0[far_corner - (low & 0xFFFF)] +
                                  smallest * n0[far_corner] + sum_rounding;
        pixels[x] = static_cast<Colour>((sum >> sum_shift) & 255) |
                    static_cast<Colour>((sum >> (sum_shift + node_field_bits - 8)) & 0xFF00) |
                    static_cast<Colour>((sum >> (sum_shift + 2 * node_field_bits - 16)) & 0xFF0000);
    }
}

// Rows per share of a large area: about 64 K pixels, so the helper thread
// and this one finish within a fraction of a millisecond of each other.
int rows_per_run(int width) { return std::max(1, 65536 / std::max(width, 1)); }

}  // namespace

ScreenConversion ScreenConversion::matrix_shaper(const MatrixShaper& numbers)
{
    ScreenConversion conversion;
    for (int channel = 0; channel < 3; ++channel)
        for (int level = 0; level < 256; ++level)
            conversion.light_[channel][level] = bounded(numbers.linear[channel][level], 16.0f);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) conversion.matrix_[i][j] = bounded(numbers.matrix[i][j], 256.0f);
    conversion.levels_.resize(top_level_index + 1);
    for (int index = 0; index <= top_level_index; ++index) {
        const float value = numbers.encode ? numbers.encode(light_of_level_index(index)) : 0.0f;
        const float within = std::max(bounded(value, 1.0f), 0.0f);
        conversion.levels_[index] = static_cast<std::uint8_t>(std::lround(within * 255.0f));
    }
    return conversion;
}

ScreenConversion ScreenConversion::grid(std::span<const GridNode> nodes)
{
    ScreenConversion conversion;
    conversion.by_grid_ = true;
    conversion.nodes_.assign(node_count, 0);
    // 16-bit levels to 8 bits and 6 bits of fraction, rounded.
    const auto field = [](std::uint16_t level) {
        return (std::uint64_t{level} * (255 << node_fraction_bits) + 32767) / 65535;
    };
    if (nodes.size() >= static_cast<std::size_t>(node_count))
        for (int i = 0; i < node_count; ++i)
            conversion.nodes_[i] = field(nodes[i][0]) | field(nodes[i][1]) << node_field_bits |
                                   field(nodes[i][2]) << 2 * node_field_bits;
    // Level 255 lies at the far end of the last cell, so that every cell's
    // far corner is a node.
    constexpr int cells = points - 1;
    constexpr std::uint32_t strides[3] = {red_stride, green_stride, blue_stride};
    for (int axis = 0; axis < 3; ++axis) {
        for (int level = 0; level < 256; ++level) {
            const int cell = std::min(level * cells / 255, cells - 1);
            const int remainder = level * cells - cell * 255;  // in 1/255 of a cell
            const auto into_cell = static_cast<std::uint32_t>((remainder * cell_steps + 127) / 255);
            conversion.grid_steps_[axis][level] =
                std::uint64_t{cell * strides[axis]} << 32 | into_cell << 16 | strides[axis];
        }
    }
    return conversion;
}

std::span<const CodePath> ScreenConversion::vector_paths() { return matrix_vector_paths; }

void ScreenConversion::convert_rows(PictureView area, int first, int end, CodePath path) const
{
    if (by_grid_) {
        for (int y = first; y < end; ++y) convert_by_grid(grid_steps_, nodes_.data(), area.row(y), area.width);
        return;
    }
    MatrixTables tables{{light_[0].data(), light_[1].data(), light_[2].data()}, {}, levels_.data()};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) tables.matrix[i][j] = matrix_[i][j];
    const MatrixLoop loop = matrix_loop(path);
    for (int y = first; y < end; ++y) loop(tables, area.row(y), area.width);
}

void ScreenConversion::convert(PictureView area, CodePath path) const
{
    if (area.width <= 0 || area.height <= 0) return;
    share_runs(area.height, rows_per_run(area.width), static_cast<long long>(area.width) * area.height,
               [&](int first, int end) { convert_rows(area, first, end, path); });
}

}  // namespace korven
