#include "tests/colour/analysis_reference.h"

#include <cmath>

#include "platform/draw.h"
#include "core/numbers.h"

namespace korven::reference {

std::array<std::array<float, 3>, 3> chroma_matrix()
{
    const double root2 = std::sqrt(2.0), root6 = std::sqrt(6.0);
    return {{{static_cast<float>(root2 / 3), static_cast<float>(-1 / root2 / 3),
              static_cast<float>(-1 / root2 / 3)},
             {0.0f, static_cast<float>(1 / root6), static_cast<float>(-1 / root6)},
             {static_cast<float>(1.0 / 3), static_cast<float>(1.0 / 3), static_cast<float>(1.0 / 3)}}};
}

Histogram dots(const fe::Bitmap& source, float panel_top, fe::Bitmap& chart)
{
    const auto matrix = chroma_matrix();
    Histogram brightness_histogram{};
    for (int y = 0; y <= source.height() - 1; ++y) {
        for (int x = 0; x <= source.width() - 1; ++x) {
            const Colour c = fe::get_pixel(source, x, y);
            const std::int16_t level[3] = {static_cast<std::int16_t>(c & 255),
                                           static_cast<std::int16_t>((c & 65280) / 256),
                                           static_cast<std::int16_t>((c & 16711680) / 65536)};
            float q[3];
            for (int i = 0; i <= 2; ++i) {
                q[i] = 0;
                for (int j = 0; j <= 2; ++j) q[i] = q[i] + matrix[i][j] * static_cast<float>(level[j]);
            }
            std::int16_t dot[3];
            if (q[2] == 0) {
                q[0] = q[1] = 0;
                dot[0] = dot[1] = dot[2] = 85;
            } else {
                float t = 141.4f / q[2];
                q[0] = q[0] * t;
                q[1] = q[1] * t;
                t = 85.0f / q[2];
                for (int k = 0; k <= 2; ++k) dot[k] = round_to_int16(static_cast<float>(level[k]) * t);
            }
            const float dot_x = 451.0f - q[1];
            const float dot_y = panel_top + 214.0f - q[0];
            fe::set_pixel(chart, dot_x, dot_y, fb::rgb(dot[0], dot[1], dot[2]));
            const std::int16_t m = round_to_int16(q[2]);
            brightness_histogram[static_cast<std::size_t>(m)] += 1;
        }
    }
    return brightness_histogram;
}

void analy(const fe::Bitmap& source, int source_slot, fe::Bitmap& chart)
{
    const float top = static_cast<float>(648 / 2 * source_slot);
    draw::line(chart, 0, top, 638, 322, 15, draw::filled_box_mode);
    draw::line(chart, 0, 647, 639, 0, 0);
    draw::line(chart, 639, 0, 0, 647, 0);
    draw::line(chart, 451, top + 214, 0, -200, 1);
    draw::line(chart, 451, top + 214, -173, 100, 1);
    draw::line(chart, 451, top + 214, 173, 100, 1);

    const Histogram brightness_histogram = dots(source, top, chart);
    std::int32_t histogram_peak = 0;
    for (std::int32_t count : brightness_histogram)
        if (count > histogram_peak) histogram_peak = count;

    draw::line(chart, 4, top, 0, 320, 0);
    draw::line(chart, 4, top + 320, 257, 0, 0);
    draw::line(chart, 261, top, 0, 320, 0);
    for (int i = 1; i <= 15; ++i)
        draw::line(chart, 16 * i + 5, top, 0, 319, 1, draw::line_mode,
                   i == 4 || i == 8 || i == 12 ? draw::solid : draw::dashed);

    const float s = 320.0f / static_cast<float>(histogram_peak);
    for (int i = 0; i <= 255; ++i) {
        const std::int16_t height = round_to_int16(static_cast<float>(brightness_histogram[i]) * s);
        if (brightness_histogram[i] > 0) draw::line(chart, i + 5, top + 319, 0, -height, 9);
    }
}

}  // namespace korven::reference
