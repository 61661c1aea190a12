#pragma once
// What a command that changes a picture or the curve may change, kept so that
// it can be put back: the original and the adjusted picture with their sizes,
// the curve, the labels and the file name, and the picture window's view.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "state/state.h"

namespace korven {

// Everything but the pixels.
struct SnapshotFacts {
    std::array<std::int16_t, 2> picture_width{};   // original, adjusted
    std::array<std::int16_t, 2> picture_height{};
    std::int16_t shown_width = 0;
    std::int16_t shown_height = 0;
    std::uint8_t shown_picture = 0;
    std::string file_path, file_title;
    std::string original_size_label, adjusted_size_label, file_field;  // TEXT1, TEXT18, EDIT1

    std::array<int, curve_points> slider_positions{};
    std::array<std::string, curve_points> field_texts;

    bool picture_window_shown = false;
    std::string picture_window_caption;
    std::int16_t picture_window_width = 0;
    std::int16_t picture_window_height = 0;
    std::int16_t view_left = 0;
    std::int16_t view_top = 0;
    std::int16_t zoom_in_on = 0;
    std::int16_t zoom_in_factor = 1;
    std::int16_t zoom_out_on = 0;
    std::int16_t zoom_out_divisor = 1;
    bool zoom_in_checked = false, zoom_in_field_enabled = true;    // CHECK2, EDIT8
    bool zoom_out_checked = false, zoom_out_field_enabled = true;  // CHECK7, EDIT44
    std::int16_t trim_box_on = 0;
    bool trim_box_checked = false;  // CHECK1

    friend bool operator==(const SnapshotFacts&, const SnapshotFacts&) = default;
};

// A kept picture is never changed again, so snapshots may share it.
using KeptPicture = std::shared_ptr<Picture>;

struct Snapshot {
    SnapshotFacts facts;
    std::array<KeptPicture, 2> pictures;  // original, adjusted
};

SnapshotFacts current_facts();

// A number that tells two pictures apart without keeping them.
std::uint64_t fingerprint(const Picture& picture);

// Puts `facts` and `pictures` (original, adjusted) back, and shows them through
// the routines the commands use: INICHNG and DRAW2, or the hidden picture
// window of a program that has loaded nothing yet.
void restore(const SnapshotFacts& facts, std::array<Picture, 2> pictures);

}  // namespace korven
