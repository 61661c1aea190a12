#include "tests/geometry/geometry_reference.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "core/numbers.h"

namespace korven::reference {

Picture average_reduce(const Picture& source, int width, int height)
{
    const int source_width = source.width(), source_height = source.height();
    struct Sums { std::int64_t red = 0, green = 0, blue = 0, count = 0; };
    std::vector<Sums> column_sums(static_cast<std::size_t>(width));
    Picture target(width, height);
    int t = 0, e = 0;
    for (int j = 0; j < source_height; ++j) {
        int u = 0, f = 0;
        for (int i = 0; i < source_width; ++i) {
            const Colour c = source.at(i, j);
            Sums& entry = column_sums[static_cast<std::size_t>(u)];
            entry.red += c & 255;
            entry.green += c & 65280;
            entry.blue += (c & 16711680) / 65536;
            entry.count += 1;
            f += width;
            if (f >= source_width) {
                u += 1;
                f -= source_width;
            }
        }
        e += height;
        if (e >= source_height) {
            for (int k = 0; k < width; ++k) {
                Sums& entry = column_sums[static_cast<std::size_t>(k)];
                const double count = static_cast<double>(entry.count);
                target.at(k, t) = rgb(round_to_int(static_cast<double>(entry.red) / count),
                                      round_to_int(static_cast<double>(entry.green) / 256 / count),
                                      round_to_int(static_cast<double>(entry.blue) / count));
                entry = Sums{};
            }
            t += 1;
            e -= source_height;
        }
    }
    return target;
}

Picture stretch(const Picture& source, int width, int height)
{
    Picture target(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            target.at(x, y) = source.at(
                static_cast<int>(std::floor((x + 0.5) * source.width() / width)),
                static_cast<int>(std::floor((y + 0.5) * source.height() / height)));
    return target;
}

Picture rotate(const Picture& source, float rotation_angle, int* dropped)
{
    const int W = source.width(), H = source.height();
    const float a = rotation_angle;
    int quarter_turns, turn_sign;
    float residual_angle;
    if (a <= 45) { quarter_turns = 0; turn_sign = +1; residual_angle = a; }
    else if (a >= 315) { quarter_turns = 0; turn_sign = -1; residual_angle = 360 - a; }
    else if (a < 90) { quarter_turns = 1; turn_sign = -1; residual_angle = 90 - a; }
    else if (a <= 135) { quarter_turns = 1; turn_sign = +1; residual_angle = a - 90; }
    else if (a < 180) { quarter_turns = 2; turn_sign = -1; residual_angle = 180 - a; }
    else if (a <= 225) { quarter_turns = 2; turn_sign = +1; residual_angle = a - 180; }
    else if (a < 270) { quarter_turns = 3; turn_sign = -1; residual_angle = 270 - a; }
    else { quarter_turns = 3; turn_sign = +1; residual_angle = a - 270; }

    const float r = residual_angle / 180 * 3.141593f;
    const int row_tilt = round_to_int(W * std::tan(static_cast<double>(r)));
    const int column_tilt = round_to_int(H * std::tan(static_cast<double>(r)));
    const int W2 = W + column_tilt, H2 = H + row_tilt;
    const bool upright = quarter_turns % 2 == 0;
    Picture target(upright ? W2 : H2, upright ? H2 : W2);
    if (dropped) *dropped = 0;
    const auto write = [&](int X, int Y, Colour c) {
        int x = X, y = Y;
        if (quarter_turns == 1) { x = H2 - 1 - Y; y = X; }
        if (quarter_turns == 2) { x = W2 - 1 - X; y = H2 - 1 - Y; }
        if (quarter_turns == 3) { x = Y; y = W2 - 1 - X; }
        if (x < 0 || y < 0 || x >= target.width() || y >= target.height()) {
            if (dropped) ++*dropped;
            return;
        }
        target.at(x, y) = c;
    };

    // Each step counter starts at half of the side it is compared with.
    int row_shift = turn_sign > 0 ? column_tilt : 0;
    int row_counter = round_to_int(H / 2.0);
    int shifted_row = 0;
    for (int y = 0; y < H; ++y) {
        int column_lift = turn_sign > 0 ? 0 : row_tilt;
        int column_counter = round_to_int(W / 2.0);
        int lifted_column = 0;
        for (int x = 0; x < W; ++x) {
            const int X = row_shift + x, Y = column_lift + y;
            write(X, Y, source.at(x, y));
            if (lifted_column == 1 && shifted_row == 1) {
                const Colour four[4] = {source.at(x, y), source.at(x - 1, y), source.at(x, y - 1),
                                        source.at(x - 1, y - 1)};
                double red = 0, green = 0, blue = 0;
                for (const Colour c : four) {
                    red += c & 255;
                    green += c & 65280;
                    blue += c & 16711680;
                }
                const Colour hole = rgb(round_to_int(red / 4), round_to_int(green / 1024),
                                        round_to_int(blue / 262144));
                if (turn_sign > 0)
                    write(X, Y - 1, hole);
                else
                    write(X - 1, Y, hole);
            }
            if (x < W - 1) {
                column_counter += row_tilt;
                lifted_column = 0;
                if (column_counter >= W) {
                    column_counter -= W;
                    column_lift += turn_sign;
                    lifted_column = 1;
                }
            }
        }
        row_counter += column_tilt;
        shifted_row = 0;
        if (row_counter >= H) {
            row_counter -= H;
            row_shift -= turn_sign;
            shifted_row = 1;
        }
    }
    return target;
}

Picture random_picture(std::mt19937& random, int width, int height)
{
    std::uniform_int_distribution<int> level(0, 255);
    Picture picture(width, height);
    for (Colour& pixel : picture.pixels()) pixel = rgb(level(random), level(random), level(random)) | 1u;
    return picture;
}

}  // namespace korven::reference
