#pragma once
// Plain tables that describe a window and its controls; the form runtime turns
// them into real windows. The application owns the tables themselves.

#include <string>
#include <vector>

namespace fe {

enum class ControlKind { PushButton, TextField, Label, CheckBox, RadioButton, HScrollBar, VScrollBar };

struct ControlLayout {
    std::string name;
    ControlKind kind = ControlKind::Label;
    std::string text;  // caption or initial text
    int x = 0, y = 0, width = 0, height = 0;
    int max_length = 0;      // text fields: 0 means no limit
    bool digits_only = false;  // text fields: only 0 to 9 may be typed
    bool checked = false;      // check boxes and radio buttons
    int minimum = 0, maximum = 0, small_step = 1, large_step = 1;  // scroll bars
    int font_size = 11;
    bool font_flag = false;  // the one extra style flag (shown bold)
};

struct WindowLayout {
    std::string name;
    std::string caption;
    int x = 0, y = 0;           // outer position
    int width = 0, height = 0;  // outer size
    bool resizable = false;
    bool closable = true;        // has a system menu and close button
    bool accepts_drops = false;
    bool keeps_drawing = false;  // drawing goes into a kept, screen-sized canvas
    std::vector<ControlLayout> controls;
};

}  // namespace fe
