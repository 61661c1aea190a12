#include "geometry/picture_clicks.h"

#include <string>

#include "state/state.h"
#include "display/cursor_readout.h"
#include "display/view_geometry.h"
#include "geometry/click_texts.h"
#include "core/numbers.h"

namespace korven {

namespace {

struct PicturePoint {
    std::int16_t x, y;
};

PicturePoint picture_point_of(const fe::Event& click)
{
    const State& s = state();
    return {picture_coordinate(click.x, s.view_left), picture_coordinate(click.y, s.view_top)};
}

void show_and_copy(const std::string& text)
{
    fe::set_window_text(ui().TEXT16, text);
    fb::set_cb_text(text);
}

// "in x" is armed: the clicked point becomes the centre of the enlarged view.
void zoom_in_click(const fe::Event& click)
{
    State& s = state();
    // The clicked picture point at the present scale: view_left + x - 14 at one to one.
    const PicturePoint centre = picture_point_of(click);
    s.zoom_in_factor = round_to_int16(read_number(fe::get_window_text(ui().EDIT8)));
    // A reduction still waiting for its ending click ends here, so the two
    // zooms never act together and the view stays on the picture.
    if (s.zoom_out_divisor > 1) {
        s.zoom_out_divisor = 1;
        show_enabled(ui().EDIT44, s.zoom_out_field_enabled, true);
    }
    centre_view_on(centre.x, centre.y, s.zoom_in_factor, 1);
}

// "out  1/" was cleared while reduced: back to one to one around the clicked point.
void reduction_ending_click(const fe::Event& click)
{
    State& s = state();
    const PicturePoint centre = picture_point_of(click);  // (x - 14) x divisor + view_left
    s.zoom_out_divisor = 1;
    centre_view_on(centre.x, centre.y, 1, 1);
    show_enabled(ui().EDIT44, s.zoom_out_field_enabled, true);
}

void first_measuring_click(const fe::Event& click)
{
    State& s = state();
    s.measure_on = 2;
    const PicturePoint from = picture_point_of(click);
    s.measure_from_x = from.x;
    s.measure_from_y = from.y;
    show_and_copy(measure_from_text(from.x, from.y));
}

void second_measuring_click(const fe::Event& click)
{
    State& s = state();
    const PicturePoint to = picture_point_of(click);
    // In int: two far 16-bit points are more than 32767 apart.
    show_and_copy(measure_text(to.x - s.measure_from_x, to.y - s.measure_from_y));
    s.measure_on = 0;
    fe::set_check(ui().CHECK5, 0);
}

// The coordinates go to the clipboard when asked; the colour of a pixel of
// the picture is shown.
void plain_click(const fe::Event& click)
{
    const State& s = state();
    const Controls& c = ui();
    const PicturePoint at = picture_point_of(click);
    const std::int16_t width = s.picture_width[s.shown_picture];
    const std::int16_t height = s.picture_height[s.shown_picture];
    if (fe::get_check(c.CHECK3) == 1)
        fb::set_cb_text(coordinate_text(at.x, width) + "," + coordinate_text(at.y, height));
    if (at.x >= 0 && at.x < width && at.y >= 0 && at.y < height)
        fe::set_window_text(c.TEXT16, colour_readout_text(fe::get_pixel(picture_in_slot(s.shown_picture), at.x, at.y)));
}

}  // namespace

// A click on the picture window: the first branch whose condition holds.
void FORM2_CLICK(const fe::Event& click)
{
    const State& s = state();
    if (s.zoom_in_factor == 1 && s.zoom_in_on == 1) zoom_in_click(click);
    else if (s.zoom_out_divisor > 1 && s.zoom_out_on == 0) reduction_ending_click(click);
    else if (s.measure_on == 1) first_measuring_click(click);
    else if (s.measure_on == 2) second_measuring_click(click);
    else plain_click(click);
}

// "Measure"
void CHECK5_ON() { state().measure_on = static_cast<std::int16_t>(fe::get_check(ui().CHECK5)); }

}  // namespace korven
