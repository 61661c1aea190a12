#include "app/keys.h"

#include <algorithm>
#include <string_view>

#include "state/state.h"

namespace korven {

std::span<const CommandKey> command_keys()
{
    static constexpr CommandKey keys[] = {
        {"Ctrl+O", "BUTTON2_ON", "LOAD a photo"},
        {"Ctrl+S", "BUTTON6_ON", "SAVE the picture shown"},
        {"Ctrl+D", "BUTTON1_ON", "DRAW"},
        {"Ctrl+Z", "KEY_UNDO", "undo"},
        {"Ctrl+Shift+Z", "KEY_REDO", "redo"},
        {"Ctrl+Y", "KEY_REDO", "redo"},
        {"Ctrl+L", "KEY_LIVE_DRAW", "live DRAW on or off: every curve change draws"},
        {"Ctrl+Shift+O", "KEY_LOAD_CURVE", "load a curve file (.kcurve, or a GIMP curves file)"},
        {"Ctrl+Shift+S", "KEY_SAVE_CURVE", "save the curve and its mode as a .kcurve file"},
        {"Ctrl+M", "KEY_COLOUR_VIEW", "colour-managed view on or off"},
        {"Ctrl+Q", "KEY_QUIT", "quit"},
    };
    return keys;
}

std::string keys_help()
{
    std::size_t widest = 0;
    for (const CommandKey& k : command_keys()) widest = std::max(widest, std::string_view(k.key).size());
    std::string text = "Keys, in either window:\n";
    for (const CommandKey& k : command_keys())
        text += "  " + std::string(k.key) + std::string(widest + 2 - std::string_view(k.key).size(), ' ') + k.what + "\n";
    return text;
}

void bind_command_keys()
{
    for (fe::Window window : {ui().MAINFORM, ui().FORM2})
        for (const CommandKey& k : command_keys()) fe::bind_key(window, k.key, k.handler);
}

void KEY_QUIT() { fe::close_window(ui().MAINFORM); }

}  // namespace korven
