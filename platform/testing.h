#pragma once
// For tests and benchmarks only: simulated user actions, delivered as the
// toolkit delivers them, and read-back of what the windows show. (Dialogs,
// messages and questions are scripted by tests/support/script.h.)

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/form.h"

namespace fe::testing {

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// User actions, delivered as the toolkit would deliver them.
void click(Control control);                        // mouse click on a button or box
void type_text(Control control, std::string_view text);  // key presses at the end; '\b' is Backspace
void clear_text(Control control);                    // select all and delete
void move_slider(Control control, int position);     // the user drags the thumb
void drop_files(Window window, const std::vector<std::string>& paths);
// Pointer events go through the window system path: Qt routes them to
// whatever lies under the point, as it does for a real pointer.
void click_at(Window window, int x, int y);          // left button, client coordinates
void move_mouse(Window window, int x, int y);
void resize_by_user(Window window, int outer_width, int outer_height);
void close_by_user(Window window);
// Keys ("Ctrl+Z") pressed with `window` active, through the window system's key
// path, so shortcuts and a focused field's claims on keys apply as for a person.
void press_keys(Window window, std::string_view keys);
void focus(Control control);  // activates the control's window and gives it the focus
// Runs `action` from inside the event loop once it is running.
void post(std::function<void()> action);
void process_events();

// What the windows show.
Rect geometry(Control control);                 // position and size in the client area
Rect window_geometry(Window window);            // outer position and size
std::string shown_caption(Window window);      // the title the window system shows
bool is_resizable(Window window);
bool has_close_button(Window window);
bool accepts_drops(Window window);
bool caption_fits(Control control);             // the caption is drawn unclipped
bool is_radio_checked(Control control);
int slider_maximum(Control control);
int slider_minimum(Control control);
Colour canvas_pixel(Window window, int x, int y);  // the kept drawing, client coordinates
// What the window system shows of the window's client area, once it has
// shown everything drawn so far (for tests on a real X server).
korven::Picture screen_shot(Window window);
std::string clipboard_text();
// A PNG file's pixels, read channel by channel through Qt's own colour
// accessors (so a check does not share the writer's view of our byte order);
// false, with `picture` untouched, when it cannot be read.
bool read_png(const std::string& path, Bitmap& picture);
std::string font_family(Control control);

// Destroys every window, so the next test starts from nothing.
void destroy_windows();

}  // namespace fe::testing
