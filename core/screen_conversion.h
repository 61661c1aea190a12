#pragma once
// The conversion that shows a photo's colours as sRGB on the screen when the
// photo says they mean something else (Adobe RGB, a wide-gamut or a
// table-based profile). A builder that reads the profile supplies the
// numbers; this class only applies them, to what each paint puts on the
// canvas, never to the pixels in memory.

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "core/code_path.h"
#include "core/picture.h"

namespace korven {

class ScreenConversion {
public:
    // A matrix-shaper profile's conversion: each input channel's 256 levels
    // as linear light, the matrix from those to linear sRGB (rows: sRGB red,
    // green, blue; columns: input red, green, blue), and sRGB's curve: the
    // sRGB value 0 .. 1 of linear light 0 .. 1. Light outside 0 .. 1 shows
    // as 0 or 1. The curve is sampled finely enough that every colour comes
    // out within a level of its exact value.
    struct MatrixShaper {
        std::array<std::array<float, 256>, 3> linear{};
        std::array<std::array<float, 3>, 3> matrix{};
        std::function<float(float)> encode;
    };
    static ScreenConversion matrix_shaper(const MatrixShaper& numbers);

    // Any conversion, sampled: node (r, g, b), at (r * grid_points + g) *
    // grid_points + b, holds the 16-bit sRGB red, green and blue of the input
    // colour whose 16-bit levels are round((r, g, b) x 65535 / (grid_points -
    // 1)). Colours between nodes are interpolated within the tetrahedron of
    // the grid cell they fall in. Fewer nodes than grid_points^3 give black.
    static constexpr int grid_points = 33;
    using GridNode = std::array<std::uint16_t, 3>;
    static ScreenConversion grid(std::span<const GridNode> nodes);

    // Converts every pixel of `area` in place; the top byte of each becomes 0.
    // A large area is shared with a helper thread. Every path gives the same
    // colours (the grid has only the plain one).
    void convert(PictureView area, CodePath path = CodePath::fastest) const;

    // Whether colours come from the sampled grid rather than matrix and curves.
    bool uses_grid() const { return by_grid_; }

    // The code paths the matrix-shaper form has vector code for, fastest first.
    static std::span<const CodePath> vector_paths();

private:
    ScreenConversion() = default;
    void convert_rows(PictureView area, int first, int end, CodePath path) const;

    bool by_grid_ = false;
    // The matrix-shaper form; `levels_` holds the 8-bit sRGB level of linear
    // light by the index a float's exponent and top mantissa bits give it.
    std::array<std::array<float, 256>, 3> light_{};
    std::array<std::array<float, 3>, 3> matrix_{};
    std::vector<std::uint8_t> levels_;
    // The grid form: per input level along each axis its cell's first node
    // (as an offset) and how far into the cell, and the nodes' levels in
    // 1/64, 21 bits apart, red lowest.
    std::array<std::array<std::uint64_t, 256>, 3> grid_steps_{};
    std::vector<std::uint64_t> nodes_;
};

}  // namespace korven
