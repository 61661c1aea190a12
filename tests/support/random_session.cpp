#include "tests/support/random_session.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <type_traits>

#include "app/layouts.h"
#include "app/startup.h"
#include "files/bmp_format.h"
#include "files/colour_profile.h"
#include "files/curve_file.h"
#include "files/image_files.h"
#include "files/png_file.h"
#include "core/numbers.h"
#include "core/screen_conversion.h"
#include "platform/testing.h"
#include "tests/support/camera_photo.h"
#include "tests/support/jpeg_writer.h"
#include "tests/support/script.h"
#include "state/state.h"

namespace korven::test {

namespace fs = std::filesystem;

std::uint32_t ByteChoices::below(std::uint32_t below)
{
    std::uint32_t value = 0;
    for (std::uint32_t range = 1; range < below && at_ < bytes_.size(); range <<= 8)
        value = (value << 8) | bytes_[at_++];
    return value % below;
}

void start_program_afresh()
{
    fe::testing::destroy_windows();
    fe::testing::script() = fe::testing::Script{};
    start_up();
    fe::testing::process_events();
}

namespace {

// A picture whose every pixel differs from its neighbours.
Picture pattern(int width, int height)
{
    Picture picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.at(x, y) = rgb(x * 7, y * 5, (x + y) * 3);
    return picture;
}

void write_bytes(const fs::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

// The files the session loads and drops: good pictures of several shapes, a
// photo (both endings), a camera's photo in Adobe RGB and a PNG with a
// wide-gamut profile, cut-off and fake files, a wrong ending, a folder.
void write_session_files(const fs::path& folder)
{
    write_bytes(folder / "small.bmp", bmp::encode(pattern(40, 30).view()));
    write_bytes(folder / "wide.BMP", bmp::encode(pattern(700, 90).view()));
    write_bytes(folder / "tall.bmp", bmp::encode(pattern(25, 600).view()));
    write_bytes(folder / "widest.bmp", bmp::encode(pattern(32750, 2).view()));
    write_bytes(folder / "highest.bmp", bmp::encode(pattern(3, 32767).view()));
    std::vector<std::uint8_t> large = bmp::encode(pattern(900, 700).view());
    write_bytes(folder / "large.bmp", large);
    large.resize(large.size() / 2);
    write_bytes(folder / "cut.bmp", large);
    write_bytes(folder / "fake.bmp", {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'});
    korven::write_jpeg(pattern(120, 80), (folder / "photo.jpg").string(), 90);
    fs::copy_file(folder / "photo.jpg", folder / "snap.JPG", fs::copy_options::overwrite_existing);
    fs::copy_file(folder / "photo.jpg", folder / "cut.jpg", fs::copy_options::overwrite_existing);
    fs::resize_file(folder / "cut.jpg", fs::file_size(folder / "photo.jpg") / 2);
    fs::copy_file(folder / "small.bmp", folder / "bmp.jpg", fs::copy_options::overwrite_existing);
    fs::copy_file(folder / "small.bmp", folder / "small.Bmp", fs::copy_options::overwrite_existing);
    fs::create_directories(folder / "folder.bmp");
    write_camera_photo(pattern(90, 60), (folder / "camera.jpeg").string(), 6, adobe_rgb_profile_bytes());
    std::vector<std::uint8_t> png;
    encode_png(pattern(70, 50), adobe_rgb_profile_bytes(), png);
    write_bytes(folder / "wide.png", png);
    ToneCurve red{identity_levels(), DrawMode::red};
    for (int k = 0; k < curve_points; ++k) red.levels[k] = static_cast<std::int16_t>(255 - red.levels[k]);
    save_curve_file(red, (folder / "curve.kcurve").string());
}

// What the open and save dialogs may answer.
constexpr std::array dialog_names = {"small.bmp",   "wide.BMP",  "tall.bmp",  "widest.bmp", "highest.bmp",
                                     "large.bmp",   "cut.bmp",   "fake.bmp",  "photo.jpg",  "snap.JPG",
                                     "cut.jpg",     "bmp.jpg",   "small.Bmp", "folder.bmp", "missing.bmp",
                                     "saved.bmp",   "saved.PNG", "no-folder/saved.bmp",     "photo.bmp",
                                     "camera.jpeg", "wide.png",  "saved.jpg", "curve.kcurve", "saved.kcurve"};

// Texts a person may leave in a field: empty, long, signs, dots, exponents,
// non-ASCII, and plain numbers of every size.
constexpr std::array field_pieces = {"",     "0",    "1",  "2",   "7",    "17",  "255", "256",  "-",
                                     "+",    ".",    "e",  "E",   "e-",   "e+",  "5.5", "-3",   "1e308",
                                     "1e-400", "99999", "32767", "32768", "-32769", " ", "\t", "x",
                                     "\xc3\xa9", "\xef\xbc\x91\xef\xbc\x92", "\xd9\xa3", "\xf0\x9f\x98\x80"};

// The command keys, all but the one that ends the program.
constexpr std::array command_keys = {"Ctrl+O", "Ctrl+S", "Ctrl+D", "Ctrl+Z", "Ctrl+Shift+Z",
                                     "Ctrl+Y", "Ctrl+L", "Ctrl+M", "Ctrl+Shift+O", "Ctrl+Shift+S"};

}  // namespace

RandomSession::RandomSession(std::string folder) : folder_(std::move(folder))
{
    write_session_files(folder_);
    for (const fe::ControlLayout& control : main_form_layout().controls) {
        if (control.kind == fe::ControlKind::PushButton || control.kind == fe::ControlKind::CheckBox ||
            control.kind == fe::ControlKind::RadioButton)
            main_window_clickables_.push_back(control.name);
        if (control.kind == fe::ControlKind::TextField) fields_.push_back(control.name);
    }
}

std::string RandomSession::dialog_answer(Choices& choices) const
{
    const std::uint32_t pick = choices.below(dialog_names.size() + 1);
    if (pick == dialog_names.size()) return fe::cancel_text;
    return (fs::path(folder_) / dialog_names[pick]).string();
}

std::string RandomSession::field_text(Choices& choices) const
{
    std::string text;
    const std::uint32_t pieces = choices.below(4) == 0 ? 20 + choices.below(40) : 1 + choices.below(3);
    for (std::uint32_t i = 0; i < pieces; ++i) text += field_pieces[choices.below(field_pieces.size())];
    return text;
}

std::string RandomSession::step(Choices& choices)
{
    const Controls& c = ui();
    fe::testing::Script& script = fe::testing::script();
    // A dialog or question the event raises gets a random answer; the rest are dropped.
    script.dialog_answers = {dialog_answer(choices)};
    script.question_answers = {choices.below(2) == 1};
    const fe::testing::Rect window = fe::testing::window_geometry(c.FORM2);
    const int client_width = window.width - fe::frame_width;
    const int client_height = window.height - fe::frame_height;
    // A person reaches the picture window only while it is shown.
    const bool picture_window_shown = fe::is_window_visible(c.FORM2);
    std::string event;
    switch (choices.below(picture_window_shown ? 10 : 7)) {
    case 0:
    case 1: {
        const std::string& name = main_window_clickables_[choices.below(main_window_clickables_.size())];
        event = "click " + name + " (dialog answer " + script.dialog_answers.front() + ")";
        fe::testing::click(fe::get_dlg_item(c.MAINFORM, name));
        break;
    }
    case 2: {
        const int k = static_cast<int>(choices.below(curve_points));
        const int position = static_cast<int>(choices.below(256));
        event = "slider " + std::to_string(k) + " to " + std::to_string(position);
        fe::testing::move_slider(c.curve_sliders[k], position);
        break;
    }
    case 3:
    case 4: {
        const std::string& name = fields_[choices.below(fields_.size())];
        const std::string text = field_text(choices);
        event = "type \"" + text + "\" into " + name;
        const fe::Control field = fe::get_dlg_item(c.MAINFORM, name);
        if (choices.below(2) == 0) fe::testing::clear_text(field);
        fe::testing::type_text(field, text);
        break;
    }
    case 5: {
        std::vector<std::string> files = {dialog_answer(choices)};
        if (choices.below(4) == 0) files.push_back(dialog_answer(choices));
        event = "drop " + files.front() + (files.size() > 1 ? " and another" : "");
        fe::testing::drop_files(c.MAINFORM, files);
        break;
    }
    case 6: {
        const char* key = command_keys[choices.below(command_keys.size())];
        const bool in_picture_window = picture_window_shown && choices.below(2) == 0;
        event = "press " + std::string(key) + (in_picture_window ? " in FORM2" : " in MAINFORM") +
                " (dialog answer " + script.dialog_answers.front() + ")";
        fe::testing::press_keys(in_picture_window ? c.FORM2 : c.MAINFORM, key);
        break;
    }
    case 7: {
        const int x = static_cast<int>(choices.below(client_width + 8)) - 4;
        const int y = static_cast<int>(choices.below(client_height + 8)) - 4;
        const bool click = choices.below(3) == 0;
        event = std::string(click ? "click" : "move") + " at " + std::to_string(x) + "," + std::to_string(y);
        if (click) fe::testing::click_at(c.FORM2, x, y);
        else fe::testing::move_mouse(c.FORM2, x, y);
        break;
    }
    case 8: {
        const fe::Control bar = choices.below(2) == 0 ? c.HSCROLL1 : c.VSCROLL1;
        const int position = static_cast<int>(choices.below(fe::testing::slider_maximum(bar) + 2));
        event = std::string(bar == c.HSCROLL1 ? "HSCROLL1" : "VSCROLL1") + " to " + std::to_string(position);
        fe::testing::move_slider(bar, position);
        break;
    }
    default: {
        const int width = 10 + static_cast<int>(choices.below(1000));
        const int height = 30 + static_cast<int>(choices.below(1000));
        event = "resize the picture window to " + std::to_string(width) + " x " + std::to_string(height);
        fe::testing::resize_by_user(c.FORM2, width, height);
        break;
    }
    }
    fe::testing::process_events();
    script.dialog_answers.clear();
    script.question_answers.clear();
    script.messages.clear();
    return event;
}

namespace {

std::string size_words(int width, int height) { return std::to_string(width) + " x " + std::to_string(height); }

// One scroll bar against its side of the view.
std::string broken_bar(const char* name, fe::Control bar, int offset, int view, int shown)
{
    const std::string says = std::string(name) + " (offset " + std::to_string(offset) + ", view " +
                             std::to_string(view) + ", picture " + std::to_string(shown) + "): ";
    if (view >= shown) {
        if (offset != 0) return says + "the view covers the picture but does not start at 0";
        if (fe::is_window_enabled(bar)) return says + "the bar is enabled though the view covers the picture";
        return {};
    }
    if (offset < 0 || offset > shown - view) return says + "the offset lies outside the picture";
    if (!fe::is_window_enabled(bar)) return says + "the bar is disabled though the picture is larger";
    if (fe::testing::slider_minimum(bar) != 0 || fe::testing::slider_maximum(bar) != shown - view)
        return says + "the bar's range is " + std::to_string(fe::testing::slider_minimum(bar)) + ".." +
               std::to_string(fe::testing::slider_maximum(bar));
    if (fe::get_scroll_pos(bar) != offset)
        return says + "the bar stands at " + std::to_string(fe::get_scroll_pos(bar));
    return {};
}

// A size label reads the size of its picture; before the first load, its layout text.
std::string broken_label(const char* name, fe::Control label, const std::string& prefix, int width, int height)
{
    const std::string shown = fe::get_window_text(label);
    const std::string expected = prefix + "Size:(" + display_text(width) + "," + display_text(height) + ")";
    if (shown == expected || (width == 0 && height == 0 && shown == prefix + "Size:(0000,0000)")) return {};
    return std::string(name) + " reads \"" + shown + "\" instead of \"" + expected + "\"";
}

// A colour as the window shows it: a photo's converted unless Ctrl+M turned that off.
Colour shown_colour(const State& s, Colour colour)
{
    const ScreenConversion* conversion = s.metadata->screen_conversion.get();
    if (!conversion || !s.colour_managed_view || s.shown_picture == analysis_slot) return colour;
    Picture one(1, 1);
    one.at(0, 0) = colour;
    conversion->convert(one.view());
    return one.at(0, 0);
}

// At one to one, the drawing area shows the picture from the view's offsets:
// its first, middle and last pixels that lie near the window's corner.
std::string broken_drawing()
{
    const State& s = state();
    const Controls& c = ui();
    const bool outline_shown = s.trim_box_on == 1 && s.shown_picture == adjusted_slot;
    if (!fe::is_window_visible(c.FORM2) || s.zoom_in_factor != 1 || s.zoom_out_divisor != 1 || outline_shown)
        return {};
    const int width = std::min({static_cast<int>(s.view_width), s.shown_width - s.view_left, 400});
    const int height = std::min({static_cast<int>(s.view_height), s.shown_height - s.view_top, 400});
    const fe::Bitmap& picture = picture_in_slot(s.shown_picture);
    for (const auto& [x, y] : {std::pair{0, 0}, {width / 2, height / 2}, {width - 1, height - 1}}) {
        if (x < 0 || y < 0 || x >= width || y >= height) continue;
        const Colour drawn = fe::testing::canvas_pixel(c.FORM2, 14 + x, 14 + y);
        const Colour expected = shown_colour(s, picture.at(s.view_left + x, s.view_top + y));
        if (drawn != expected)
            return "the drawing area shows " + std::to_string(drawn) + " at " + std::to_string(x) + "," +
                   std::to_string(y) + " where it should show " + std::to_string(expected);
    }
    return {};
}

// A control that shows a value of the document and shows another.
std::string broken_document_view()
{
    const State& s = state();
    const Controls& c = ui();
    const auto differ = [](const std::string& what, const auto& shown, const auto& kept) -> std::string {
        const auto words = [](const auto& value) {
            if constexpr (std::is_convertible_v<decltype(value), std::string>) return "\"" + std::string(value) + "\"";
            else return std::to_string(static_cast<int>(value));
        };
        return "the document keeps " + what + " " + words(kept) + ", the window shows " + words(shown);
    };
    for (std::size_t k = 0; k < curve_points; ++k) {
        if (fe::get_window_text(c.curve_fields[k]) != s.curve_field_texts[k])
            return differ("field " + std::to_string(k), fe::get_window_text(c.curve_fields[k]), s.curve_field_texts[k]);
        if (const int shown = 255 - fe::get_scroll_pos(c.curve_sliders[k]); shown != s.curve_levels[k])
            return differ("level " + std::to_string(k), shown, s.curve_levels[k]);
    }
    const std::pair<fe::Control, const std::string*> texts[] = {
        {c.TEXT1, &s.original_size_label}, {c.TEXT18, &s.adjusted_size_label}, {c.EDIT1, &s.file_field}};
    for (const auto& [control, kept] : texts)
        if (fe::get_window_text(control) != *kept) return differ("a label", fe::get_window_text(control), *kept);
    const fe::Control mode_button = std::array{c.RADIO1, c.RADIO2, c.RADIO3, c.RADIO4}[static_cast<int>(s.draw_mode)];
    const std::pair<bool, bool> states[] = {{fe::get_check(c.CHECK1) == 1, s.trim_box_checked},
                                            {fe::get_check(c.CHECK2) == 1, s.zoom_in_checked},
                                            {fe::get_check(c.CHECK7) == 1, s.zoom_out_checked},
                                            {fe::is_window_enabled(c.EDIT8), s.zoom_in_field_enabled},
                                            {fe::is_window_enabled(c.EDIT44), s.zoom_out_field_enabled},
                                            {fe::is_window_visible(c.FORM2), s.picture_window_shown},
                                            {fe::get_check(mode_button) == 1, true}};
    for (const auto& [shown, kept] : states)
        if (shown != kept) return differ("a check, enabled or shown state", shown, kept);
    if (fe::get_window_text(c.FORM2) != s.picture_window_caption)
        return differ("the caption", fe::get_window_text(c.FORM2), s.picture_window_caption);
    return {};
}

}  // namespace

std::string broken_invariant()
{
    const State& s = state();
    const Controls& c = ui();
    for (int slot = 0; slot < 3; ++slot) {
        const fe::Bitmap& picture = picture_in_slot(slot);
        if (picture.width() != s.picture_width[slot] || picture.height() != s.picture_height[slot])
            return "slot " + std::to_string(slot) + " holds " + size_words(picture.width(), picture.height()) +
                   " but records " + size_words(s.picture_width[slot], s.picture_height[slot]);
    }
    if (s.shown_picture > 2) return "shown_picture is " + std::to_string(s.shown_picture);
    if (s.shown_width != s.picture_width[s.shown_picture] || s.shown_height != s.picture_height[s.shown_picture])
        return "the shown size " + size_words(s.shown_width, s.shown_height) + " is not that of slot " +
               std::to_string(s.shown_picture);
    if (fe::is_window_visible(c.FORM2) && (fe::get_width(c.FORM2) != s.picture_window_width ||
                                           fe::get_height(c.FORM2) != s.picture_window_height))
        return "the picture window is " + size_words(fe::get_width(c.FORM2), fe::get_height(c.FORM2)) +
               " but records " + size_words(s.picture_window_width, s.picture_window_height);
    if (s.zoom_in_factor < 1 || s.zoom_out_divisor < 1 || (s.zoom_in_factor > 1 && s.zoom_out_divisor > 1))
        return "zoom in " + std::to_string(s.zoom_in_factor) + ", out " + std::to_string(s.zoom_out_divisor);
    if (std::string broken = broken_bar("HSCROLL1", c.HSCROLL1, s.view_left, s.view_width, s.shown_width);
        !broken.empty())
        return broken;
    if (std::string broken = broken_bar("VSCROLL1", c.VSCROLL1, s.view_top, s.view_height, s.shown_height);
        !broken.empty())
        return broken;
    if (std::string broken = broken_label("TEXT1", c.TEXT1, "", s.picture_width[0], s.picture_height[0]); !broken.empty())
        return broken;
    if (std::string broken = broken_label("TEXT18", c.TEXT18, "Adjasted>", s.picture_width[1], s.picture_height[1]);
        !broken.empty())
        return broken;
    if (std::string broken = broken_drawing(); !broken.empty()) return broken;
    if (std::string broken = broken_document_view(); !broken.empty()) return broken;
    for (int k = 0; k < curve_points; ++k) {
        const int from_field = std::clamp(round_to_int(255 - read_number(fe::get_window_text(c.curve_fields[k]))), 0, 255);
        if (fe::get_scroll_pos(c.curve_sliders[k]) != from_field)
            return "curve point " + std::to_string(k) + ": the slider stands at " +
                   std::to_string(fe::get_scroll_pos(c.curve_sliders[k])) + ", its field \"" +
                   fe::get_window_text(c.curve_fields[k]) + "\" says " + std::to_string(from_field);
    }
    return {};
}

}  // namespace korven::test
