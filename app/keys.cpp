#include "app/keys.h"

#include <utility>

#include "state/state.h"

namespace korven {

void bind_command_keys()
{
    static constexpr std::pair<const char*, const char*> keys[] = {
        {"Ctrl+O", "BUTTON2_ON"},  // "LOAD"
        {"Ctrl+S", "BUTTON6_ON"},  // "SAVE"
        {"Ctrl+D", "BUTTON1_ON"},  // "DRAW"
        {"Ctrl+Q", "KEY_QUIT"},
        {"Ctrl+Z", "KEY_UNDO"},
        {"Ctrl+Shift+Z", "KEY_REDO"},
        {"Ctrl+Y", "KEY_REDO"},
        {"Ctrl+L", "KEY_LIVE_DRAW"},
        {"Ctrl+M", "KEY_COLOUR_VIEW"},
    };
    for (fe::Window window : {ui().MAINFORM, ui().FORM2})
        for (const auto& [key, handler] : keys) fe::bind_key(window, key, handler);
}

void KEY_QUIT() { fe::close_window(ui().MAINFORM); }

}  // namespace korven
