#pragma once
// The keys of the commands, on the main window and on the picture window.

namespace korven {

// Binds every command key on both windows; a field with the focus keeps its editing keys.
void bind_command_keys();

// Ctrl+Q: ends the program as closing the main window does.
void KEY_QUIT();

}  // namespace korven
