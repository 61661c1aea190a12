#include "colour/analysis_button.h"

#include <algorithm>

#include "colour/analysis.h"
#include "display/picture_window.h"
#include "platform/draw.h"
#include "core/numbers.h"
#include "state/state.h"

namespace korven {

namespace {

// Palette colours of the chart.
constexpr int frame_colour = 0, axis_colour = 1, bar_colour = 9, background_colour = 15;

// The picture in `slot` over its recorded size.
ConstPictureView recorded_picture(int slot)
{
    const State& s = state();
    const fe::Bitmap& picture = picture_in_slot(slot);
    return {picture.pixels().data(), std::min<int>(s.picture_width[slot], picture.width()),
            std::min<int>(s.picture_height[slot], picture.height()), picture.width()};
}

}  // namespace

// "Analysis"
void BUTTON7_ON()
{
    State& s = state();
    if (!s.picture_window_shown || s.shown_picture == analysis_slot) return;
    ANALY(s.shown_picture);
    s.shown_width = s.picture_width[analysis_slot];
    s.shown_height = s.picture_height[analysis_slot];
    s.shown_picture = analysis_slot;
    INICHNG(0, 2);
    DRAW2();
}

void ANALY(std::int16_t source)
{
    State& s = state();
    fe::Bitmap& chart = s.analysis_picture;
    const double width = s.picture_width[analysis_slot], height = s.picture_height[analysis_slot];
    const float top = static_cast<float>(height / 2 * source);

    // Panel background; the chart's bottom and right borders; the red, green and blue axes.
    draw::line(chart, 0, top, width - 2, height / 2 - 2, background_colour, draw::filled_box_mode);
    draw::line(chart, 0, height - 1, width - 1, 0, frame_colour);
    draw::line(chart, width - 1, 0, 0, height - 1, frame_colour);
    draw::line(chart, 451, top + 214, 0, -200, axis_colour);
    draw::line(chart, 451, top + 214, -173, 100, axis_colour);
    draw::line(chart, 451, top + 214, 173, 100, axis_colour);

    // The dots, over the axes, and the counts, in one pass over the picture.
    const BrightnessHistogram counts =
        analyse(recorded_picture(source), s.chroma_matrix, top, chart.view());

    // The histogram's frame and its 15 grid lines, solid at every fourth.
    draw::line(chart, 4, top, 0, 320, frame_colour);
    draw::line(chart, 4, top + 320, 257, 0, frame_colour);
    draw::line(chart, 261, top, 0, 320, frame_colour);
    for (int i = 1; i <= 15; ++i)
        draw::line(chart, 16 * i + 5, top, 0, 319, axis_colour, draw::line_mode,
                   i % 4 == 0 ? draw::solid : draw::dashed);

    // The bars, the tallest 320 high: from the base up to the row above the
    // frame, which for the upper panel lies beyond the chart's edge and is clipped.
    // An empty picture has no bar, and nothing is divided by 0.
    const std::int32_t peak = *std::max_element(counts.begin(), counts.end());
    if (peak == 0) return;
    const float scale = 320.0f / static_cast<float>(peak);
    for (int level = 0; level < 256; ++level) {
        const std::int32_t count = counts[static_cast<std::size_t>(level)];
        if (count == 0) continue;
        const std::int16_t bar_height = round_to_int16(static_cast<float>(count) * scale);
        draw::line(chart, level + 5, top + 319, 0, -bar_height, bar_colour);
    }
}

}  // namespace korven
