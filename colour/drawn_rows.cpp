#include "colour/drawn_rows.h"

#include <algorithm>

#include "colour/apply_curve.h"

namespace korven {

DrawnRows::DrawnRows(const Picture& original, const Picture& previous, const DrawRecipe& recipe)
    : original_(original),
      previous_(previous),
      mode_(recipe.mode),
      table_(build_level_table(recipe.levels,
                               recipe.mode == DrawMode::all ? CurveMode::all_channels : CurveMode::one_channel)),
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
        const PictureView band{band_.row(0), band_.width(), rows, band_.width()};
        if (mode_ == DrawMode::all) {
            apply_all_channels(part(original_), band, table_);
        } else {
            const int channel = static_cast<int>(mode_) - static_cast<int>(DrawMode::red);
            apply_one_channel(part(original_), part(previous_), band, table_, channel);
        }
    }
    return band_.row(y - first);
}

}  // namespace korven
