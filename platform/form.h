#pragma once
// The form runtime: windows made from layouts, their controls and events,
// bitmaps, copying, files, dialogs, clipboard, fonts and the event loop.
// Qt-free on purpose: only platform/ sees the toolkit.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/layout.h"
#include "core/picture.h"
#include "core/screen_conversion.h"

namespace fe {

// Outer size = client size + this frame, on every platform.
constexpr int frame_width = 8;
constexpr int frame_height = 34;

// The text a dialog returns when the user cancels: one character, code 27.
inline const std::string cancel_text = "\x1b";

struct Window {
    int id = -1;
    explicit operator bool() const { return id >= 0; }
    friend bool operator==(Window, Window) = default;
};

struct Control {
    int id = -1;
    explicit operator bool() const { return id >= 0; }
    friend bool operator==(Control, Control) = default;
};

// One event as the runtime delivers it. `handler` is the name of the
// procedure it is for: control or window name + "_ON", "_CHANGE", "_CLICK",
// "_MOUSEMOVE", "_RESIZE" or "_DROPFILES". x and y are client coordinates of
// mouse events; `files` are the dropped paths.
struct Event {
    std::string handler;
    int x = 0;
    int y = 0;
    std::vector<std::string> files;
};

using EventSink = std::function<void(const Event&)>;

// Starts the toolkit once per process; later calls do nothing.
void init(int argc, char** argv);
// Every event goes to `sink`; events without a handler are simply ignored there.
void set_event_sink(EventSink sink);
// Delivers `event` to the sink once the event loop runs, like one from the window system.
void post_event(Event event);

// Windows and controls.
Window create_window(const WindowLayout& layout);
Control get_dlg_item(Window window, std::string_view name);
void show_window(Window window);
void hide_window(Window window);
bool is_window_visible(Window window);
// Closes the window as its close button does (closing the main window ends the program).
void close_window(Window window);
void enable_window(Control control, bool enabled);
bool is_window_enabled(Control control);
void set_window_size(Window window, double width, double height);  // outer size
int get_width(Window window);   // outer width
int get_height(Window window);  // outer height

// Text and state.
std::string get_window_text(Control control);
void set_window_text(Control control, std::string_view text);  // raises its _CHANGE
std::string get_window_text(Window window);                    // caption
void set_window_text(Window window, std::string_view text);
int get_check(Control control);
void set_check(Control control, int checked);
int get_scroll_pos(Control control);
void set_scroll_pos(Control control, int position);  // raises nothing
void set_scroll_range(Control control, int minimum, int maximum);  // raises nothing
void set_font_name(Control control, std::string_view family);
// Installed font names one at a time: "" starts, "" after the last ends.
std::string enum_font_names(Window window, std::string_view previous);

// Bitmaps are our own pictures.
using Bitmap = korven::Picture;
using korven::Colour;

void create_bitmap(Bitmap& bitmap, double width, double height);  // black
void delete_bitmap(Bitmap& bitmap);
int get_bitmap_width(const Bitmap& bitmap);
int get_bitmap_height(const Bitmap& bitmap);
// The pixel (x, y) falls on by `pixel_coordinate`; reading outside gives 0,
// writing outside does nothing.
Colour get_pixel(const Bitmap& bitmap, double x, double y);
void set_pixel(Bitmap& bitmap, double x, double y, Colour colour);

// Copying onto a bitmap or onto a window that keeps its drawing. Real
// coordinates fall on pixels by `pixel_coordinate` (core/picture.h), real
// sizes are rounded to nearest; everything is clipped to the target.
void bit_blt(Bitmap& target, double x, double y, double width, double height,
             const Bitmap& source, double source_x, double source_y);
void stretch_blt(Bitmap& target, double x, double y, double width, double height,
                 const Bitmap& source, double source_x, double source_y,
                 double source_width, double source_height);
// Onto a window, `conversion` (if any) turns the colours of what is put on
// its canvas, and only those, into the screen's. A bitmap drawn whole on a
// window again with nothing drawn or cleared in between must hold the same
// pixels as before: the window moves what it shows of it already (a scroll).
void stretch_blt(Window target, double x, double y, double width, double height,
                 const Bitmap& source, double source_x, double source_y,
                 double source_width, double source_height,
                 const korven::ScreenConversion* conversion = nullptr);
void draw_bitmap(Bitmap& target, double x, double y, const Bitmap& source);
void draw_bitmap(Window target, double x, double y, const Bitmap& source,
                 const korven::ScreenConversion* conversion = nullptr);
void stretch_bitmap(Bitmap& target, double x, double y, double width, double height,
                    const Bitmap& source);

// Dialogs return the chosen path or `cancel_text`. `filter` lists entries
// "Label(*.ext)" separated by ';'.
std::string win_open_dlg(Window owner, std::string_view title, std::string_view default_name,
                         std::string_view filter);
std::string win_save_dlg(Window owner, std::string_view title, std::string_view default_name,
                         std::string_view filter);
// A clear message to the user, and a yes/no question (true for yes). Both
// show the usual pointer, also while a busy cursor is up.
void message(std::string_view text);
bool ask(std::string_view question);
// A small dialog asking for a whole number from `lowest` to `highest`, offering
// `value`: Enter takes it, Escape cancels and gives nothing.
std::optional<int> ask_number(std::string_view title, std::string_view label, int value, int lowest, int highest);

// Settings that last across runs, in one file under $XDG_CONFIG_HOME (or
// ~/.config). A file that cannot be read counts as holding none.
int read_setting(std::string_view key, int fallback);
void keep_setting(std::string_view key, int value);

// Keys: pressing `keys` ("Ctrl+Z", "Ctrl+Shift+Z") while `window` is the
// active window raises the event `handler`, as a click raises a button's. A
// field with the focus keeps the keys it edits with; its undo and redo keys
// reach the window only once the field has no typing left to undo or redo.
void bind_key(Window window, std::string_view keys, std::string_view handler);

// While it lives, and if `shown`, the pointer over the program's windows is
// the busy cursor: for the long waits of a large picture.
class BusyCursor {
public:
    explicit BusyCursor(bool shown);
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    bool shown_;
};

// Dispatches events until the main window is closed; returns the exit code.
int wait_event();

}  // namespace fe

namespace fb {

constexpr korven::Colour rgb(int red, int green, int blue) { return korven::rgb(red, green, blue); }
int get_drop_file_count(const fe::Event& drop);
std::string get_drop_file_name(const fe::Event& drop, int index);
void set_cb_text(std::string_view text);

}  // namespace fb
