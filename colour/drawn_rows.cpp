#include "colour/drawn_rows.h"

#include <algorithm>

#include "colour/apply_curve.h"

namespace korven {

LevelTable level_table_of(const DrawRecipe& recipe)
{
    return build_level_table(recipe.levels,
                             recipe.mode == DrawMode::all ? CurveMode::all_channels : CurveMode::one_channel);
}

void draw_into(ConstPictureView original, ConstPictureView previous, PictureView target, const LevelTable& table,
               DrawMode mode)
{
    if (mode == DrawMode::all) {
        apply_all_channels(original, target, table);
    } else {
        const int channel = static_cast<int>(mode) - static_cast<int>(DrawMode::red);
        apply_one_channel(original, previous, target, table, channel);
    }
}

DrawnRows::DrawnRows(const Picture& original, const Picture& previous, const DrawRecipe& recipe)
    : original_(original),
      previous_(previous),
      mode_(recipe.mode),
      table_(level_table_of(recipe)),
      band_(Picture::for_overwrite(original.width(), std::min(band_rows, original.height())))
{
}

const Colour* DrawnRows::row(int y)
{
    const int first = y / band_rows * band_rows;
    if (first != band_first_) {
        band_first_ = first;
        const int rows = std::min(band_rows, original_.height() - first);
        const auto part = [&](const Picture& picture) {
            return ConstPictureView(picture.row(first), picture.width(), rows, picture.width());
        };
        draw_into(part(original_), part(previous_), PictureView{band_.row(0), band_.width(), rows, band_.width()},
                  table_, mode_);
    }
    return band_.row(y - first);
}

}  // namespace korven
