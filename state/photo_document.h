#pragma once
// The photo document: everything about the photo being corrected that an undo
// step puts back. Its pictures are kept by reference and never written once
// they are here, so a copy of the document (an undo step) costs no pixels and
// shares them; "did it change" is a comparison of references, never of pixels.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/picture.h"
#include "files/photo_metadata.h"
#include "files/tone_curve.h"

namespace korven {

// Slots of the pictures: the document's two, and the analysis chart.
enum PictureSlot { original_slot = 0, adjusted_slot = 1, analysis_slot = 2 };

// A picture nothing writes again; its reference is its identity.
using SharedPicture = std::shared_ptr<const Picture>;

// What DRAW made an adjusted picture from, besides the original.
using DrawRecipe = ToneCurve;

// The original and the adjusted picture. Replacing one is the only way to
// change it; the adjusted picture remembers the DRAW that made it until
// anything else replaces either picture.
class PhotoPictures {
public:
    const Picture& operator[](int slot) const { return *pictures_[static_cast<std::size_t>(slot)]; }
    const SharedPicture& shared(int slot) const { return pictures_[static_cast<std::size_t>(slot)]; }

    void set(int slot, SharedPicture picture)
    {
        pictures_[static_cast<std::size_t>(slot)] = std::move(picture);
        drawn_with_.reset();
    }
    void set(int slot, Picture picture) { set(slot, std::make_shared<const Picture>(std::move(picture))); }

    // The adjusted picture that DRAW made from the present original.
    void set_drawn(Picture adjusted, const DrawRecipe& recipe)
    {
        set(adjusted_slot, std::move(adjusted));
        drawn_with_ = recipe;
    }
    const std::optional<DrawRecipe>& drawn_with() const { return drawn_with_; }

    friend bool operator==(const PhotoPictures&, const PhotoPictures&) = default;

private:
    std::array<SharedPicture, 2> pictures_{empty(), empty()};
    std::optional<DrawRecipe> drawn_with_;

    static SharedPicture empty()
    {
        static const SharedPicture none = std::make_shared<const Picture>();
        return none;
    }
};

struct PhotoDocument {
    // The photo.
    PhotoPictures pictures;
    std::array<std::int16_t, 3> picture_width{0, 0, 640};  // by slot; the chart's is fixed
    std::array<std::int16_t, 3> picture_height{0, 0, 648};
    std::string file_path;
    std::string file_title;
    // What the photo's file carried beside its pixels (none for a BMP file),
    // written into every JPEG and PNG file saved of it.
    std::shared_ptr<const PhotoMetadata> metadata = std::make_shared<const PhotoMetadata>();

    // The curve: level k is 255 minus slider k's position; the field of point
    // k keeps its text as typed, so "300" stays "300" at level 255.
    CurveLevels curve_levels{};
    std::array<std::string, curve_points> curve_field_texts;
    DrawMode draw_mode = DrawMode::all;

    // The labels the commands set, and the check boxes and fields they switch.
    std::string original_size_label;  // TEXT1
    std::string adjusted_size_label;  // TEXT18
    std::string file_field;           // EDIT1, "(Changed)" after "Change Original"
    bool trim_box_checked = false;    // CHECK1
    bool zoom_in_checked = false;     // CHECK2
    bool zoom_in_field_enabled = true;  // EDIT8
    bool zoom_out_checked = false;    // CHECK7
    bool zoom_out_field_enabled = true;  // EDIT44

    // The view.
    std::int16_t shown_width = 0;
    std::int16_t shown_height = 0;
    std::uint8_t shown_picture = 0;
    std::int16_t picture_window_width = 382;
    std::int16_t picture_window_height = 408;
    bool picture_window_shown = false;
    std::string picture_window_caption;
    std::int16_t view_left = 0;
    std::int16_t view_top = 0;
    std::int16_t zoom_in_on = 0;
    std::int16_t zoom_in_factor = 1;
    std::int16_t zoom_out_on = 0;
    std::int16_t zoom_out_divisor = 1;
    std::int16_t trim_box_on = 0;

    friend bool operator==(const PhotoDocument&, const PhotoDocument&) = default;
};

}  // namespace korven
