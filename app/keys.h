#pragma once
// The keys of the commands, on the main window and on the picture window:
// one table, which binds them and which the help lists.

#include <span>
#include <string>

namespace korven {

struct CommandKey {
    const char* key;      // as the toolkit spells it: "Ctrl+Shift+O"
    const char* handler;  // the handler it runs, by name
    const char* what;     // what it does, for the help
};

// Every command key, in the order the help lists them.
std::span<const CommandKey> command_keys();

// The keys as the help lists them: a title line, then one line a key.
std::string keys_help();

// Binds every command key on both windows; a field with the focus keeps its editing keys.
void bind_command_keys();

// Ctrl+Q: ends the program as closing the main window does.
void KEY_QUIT();

}  // namespace korven
