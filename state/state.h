#pragma once
// The global state every handler shares (the photo document and the rest),
// the control handles looked up at start-up, the setters that keep a
// document value and its control together, and the shared routines INICHNG
// and NMCUT.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/form.h"
#include "state/photo_document.h"

namespace korven {

// The state every handler shares: the photo document, and what belongs to
// the session rather than to the photo (the chart, the view's size, the tools).
struct State : PhotoDocument {
    fe::Bitmap analysis_picture;  // the chart, slot 2, drawn over in place
    std::int16_t view_width = 360;
    std::int16_t view_height = 360;
    std::int16_t measure_on = 0;  // 0 off, 1 armed, 2 first point recorded
    std::int16_t measure_from_x = 0;  // picture point of the first measuring click
    std::int16_t measure_from_y = 0;
    std::int16_t line_color = 0;

    std::array<std::array<float, 3>, 3> chroma_matrix{};

    // Whether the picture window converts a photo's colours to sRGB (Ctrl+M).
    bool colour_managed_view = true;
    // The photo whose metadata a save has said it could not keep; it says so once.
    std::shared_ptr<const PhotoMetadata> metadata_loss_told;

    // The document part, as an undo step keeps it.
    PhotoDocument& document() { return *this; }
    const PhotoDocument& document() const { return *this; }
};

// Handles of every control a handler reads or writes, looked up once.
struct Controls {
    fe::Window MAINFORM, FORM2;
    fe::Control HSCROLL1, VSCROLL1;
    fe::Control TEXT1, EDIT1, CHECK3, TEXT9, CHECK5, TEXT16, CHECK2, EDIT8, CHECK7, EDIT44;
    fe::Control EDIT2, EDIT3, EDIT9, EDIT45, EDIT46, RADIO1, RADIO2, RADIO3, RADIO4;
    std::array<fe::Control, curve_points> curve_sliders;  // slot k: VSCROLL(k+2)
    std::array<fe::Control, curve_points> curve_fields;   // slot k: EDIT(k+10)
    fe::Control CHECK1, CHECK4, EDIT4, EDIT5, EDIT6, EDIT7, CHECK6, TEXT18, EDIT43;
};

State& state();
Controls& ui();

// The picture in `slot`: the original, the adjusted picture or the chart.
const fe::Bitmap& picture_in_slot(int slot);

// A value the document keeps (`kept`) set together with the control that
// shows it: a text, a check box's state, whether a field takes input.
void show_text(fe::Control control, std::string& kept, std::string text);
void show_check(fe::Control box, bool& kept, bool checked);
void show_enabled(fe::Control control, bool& kept, bool enabled);

// Frame of the picture window around its drawing area: 14 for a scroll bar
// plus 8 of frame across, 14 for a scroll bar plus 34 of caption and frame down.
constexpr int picture_frame_width = 22;
constexpr int picture_frame_height = 48;
// The drawing area starts at this client point, right of and below the bars.
constexpr int drawing_area_origin = 14;

// The view rule, the one place the view's size is computed:
// view_width = INT((picture_window_width - 22) / zoom_in_factor x zoom_out_divisor),
// view_height likewise with 48. The factors are those of the view to be made.
void set_view_size(double zoom_in_factor, double zoom_out_divisor);

// Both scroll bars after the view or the shown picture changed, the one place
// they are set: a bar is disabled with its offset at 0 when the view covers
// the picture; otherwise the offset is kept inside the picture and the bar
// enabled with the range 0..(shown - view) at it. True when an offset had to
// move: back to stay inside, or to 0.
bool fit_scroll_bars();

// Back to the values a fresh process has (used by start-up and by tests).
void reset_state();

// Resets the trimming box (reset_box = 1) and the zooms (reset_zoom > 0, and
// scrolls home for 2), then recomputes the view size and both scroll bars.
void INICHNG(float reset_box, float reset_zoom);

// The file name part of a path: what follows the last '\' or '/'.
std::string NMCUT(std::string_view path);

}  // namespace korven
