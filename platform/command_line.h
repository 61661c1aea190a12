#pragma once
// The program's command line, read with the toolkit's parser behind a
// Qt-free interface. Needs no display, so --help works anywhere.

#include <string>
#include <string_view>
#include <vector>

namespace fe {

struct CommandLine {
    bool run = true;      // false: print `text` and end with `exit_code`
    std::string text;     // help or version (standard output), or a one-line error (standard error)
    int exit_code = 0;    // 0, or 2 for arguments the program does not take
    std::string file;     // absolute path of a picture to load at start; empty for none
};

// Reads the arguments (the program's name first): -h/--help, -v/--version
// and at most one picture file. Anything else is an error.
CommandLine read_command_line(const std::vector<std::string>& arguments, std::string_view version);

}  // namespace fe
