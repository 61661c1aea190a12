#include "app/startup.h"

#include <cmath>
#include <string>

#include "app/commands.h"
#include "app/handlers.h"
#include "app/keys.h"
#include "app/layouts.h"
#include "app/live_draw.h"
#include "state/document_controls.h"
#include "files/photo_metadata.h"
#include "core/numbers.h"

namespace korven {

namespace {

fe::Control find(fe::Window window, const std::string& name) { return fe::get_dlg_item(window, name); }

void look_up_main_controls(Controls& c)
{
    const fe::Window main = c.MAINFORM;
    for (auto [handle, name] : {std::pair{&c.TEXT1, "TEXT1"}, {&c.EDIT1, "EDIT1"}, {&c.CHECK3, "CHECK3"},
                                {&c.TEXT9, "TEXT9"}, {&c.CHECK5, "CHECK5"}, {&c.TEXT16, "TEXT16"},
                                {&c.CHECK2, "CHECK2"}, {&c.EDIT8, "EDIT8"}, {&c.CHECK7, "CHECK7"},
                                {&c.EDIT44, "EDIT44"}, {&c.EDIT2, "EDIT2"}, {&c.EDIT3, "EDIT3"},
                                {&c.EDIT9, "EDIT9"}, {&c.EDIT45, "EDIT45"}, {&c.EDIT46, "EDIT46"},
                                {&c.RADIO1, "RADIO1"}, {&c.RADIO2, "RADIO2"}, {&c.RADIO3, "RADIO3"},
                                {&c.RADIO4, "RADIO4"}})
        *handle = find(main, name);
    for (int k = 0; k < curve_points; ++k) c.curve_sliders[k] = find(main, "VSCROLL" + std::to_string(k + 2));
    for (int k = 0; k < curve_points; ++k) c.curve_fields[k] = find(main, "EDIT" + std::to_string(k + 10));
    for (auto [handle, name] : {std::pair{&c.CHECK1, "CHECK1"}, {&c.CHECK4, "CHECK4"}, {&c.EDIT4, "EDIT4"},
                                {&c.EDIT5, "EDIT5"}, {&c.EDIT6, "EDIT6"}, {&c.EDIT7, "EDIT7"},
                                {&c.CHECK6, "CHECK6"}, {&c.TEXT18, "TEXT18"}, {&c.EDIT43, "EDIT43"}})
        *handle = find(main, name);
}

// The file-name field uses "MS UI Gothic" where that font is installed.
void choose_file_name_font(const Controls& c)
{
    std::string name = fe::enum_font_names(c.MAINFORM, "");
    while (!name.empty()) {
        if (name == "MS UI Gothic") {
            fe::set_font_name(c.EDIT1, name);
            return;
        }
        name = fe::enum_font_names(c.MAINFORM, name);
    }
}

void fill_chroma_matrix(std::array<std::array<float, 3>, 3>& m)
{
    const double root2 = std::sqrt(2.0), root6 = std::sqrt(6.0);
    m[0] = {static_cast<float>(root2 / 3), static_cast<float>(-1 / root2 / 3), static_cast<float>(-1 / root2 / 3)};
    m[1] = {0.0f, static_cast<float>(1 / root6), static_cast<float>(-1 / root6)};
    m[2] = {static_cast<float>(1.0 / 3), static_cast<float>(1.0 / 3), static_cast<float>(1.0 / 3)};
}

}  // namespace

int identity_point_value(int point) { return curve_point_input(point); }

void start_up()
{
    prepare_metadata_library();  // before any file job, which may run on any thread
    reset_state();
    State& s = state();
    Controls& c = ui();
    connect_handlers();
    c.MAINFORM = fe::create_window(main_form_layout());

    // 1-2: the picture slots start empty; the analysis picture is made at its fixed size.
    fe::create_bitmap(s.analysis_picture, s.picture_width[analysis_slot],
                      s.picture_height[analysis_slot]);
    // 3-4: the hidden picture window and its scroll bars, disabled at 0.
    c.FORM2 = fe::create_window(picture_form_layout());
    c.HSCROLL1 = find(c.FORM2, "HSCROLL1");
    c.VSCROLL1 = find(c.FORM2, "VSCROLL1");
    for (fe::Control bar : {c.HSCROLL1, c.VSCROLL1}) {
        fe::set_scroll_pos(bar, 0);
        fe::enable_window(bar, false);
    }
    // 5-6: handles of the main window's controls, and the file-name font.
    look_up_main_controls(c);
    choose_file_name_font(c);
    // 7: the view and tool state have their start values from State's initialisers.
    // 8: the identity curve.
    for (int k = 0; k < curve_points; ++k) show_curve_level(k, identity_point_value(k));
    // The document's labels start as the layouts show them.
    s.original_size_label = fe::get_window_text(c.TEXT1);
    s.adjusted_size_label = fe::get_window_text(c.TEXT18);
    s.file_field = fe::get_window_text(c.EDIT1);
    s.picture_window_caption = fe::get_window_text(c.FORM2);
    // 9: the chroma matrix.
    fill_chroma_matrix(s.chroma_matrix);
    bind_command_keys();
    fe::show_window(c.MAINFORM);
    // Undo goes back no further than the program as start-up leaves it; live DRAW starts off.
    reset_history();
    reset_live_draw();
}

void load_at_start(const std::string& file)
{
    fe::post_event({.handler = "MAINFORM_DROPFILES", .files = {file}});
}

}  // namespace korven
