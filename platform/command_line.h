#pragma once
// The program's command line, read with the toolkit's parser behind a
// Qt-free interface. Needs no display, so --help and the batch work anywhere.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fe {

// `korven --apply CURVE [--out DIR] [--quality Q] [--overwrite] [--jobs N] PHOTO...`:
// the curve file applied to every photo, with no window.
struct BatchRequest {
    std::string curve_file;
    std::string out_folder;  // empty: each result beside its photo
    int quality = 92;
    bool overwrite = false;
    int jobs = 0;  // 0: one per core
    std::vector<std::string> photos;
};

struct CommandLine {
    bool run = true;      // false: print `text` and end with `exit_code`
    std::string text;     // help or version (standard output), or a one-line error (standard error)
    int exit_code = 0;    // 0, or 2 for arguments the program does not take
    std::string file;     // absolute path of a picture to load at start; empty for none
    std::optional<BatchRequest> batch;  // run the batch instead of the program's windows
};

// Reads the arguments (the program's name first): -h/--help, -v/--version,
// the batch, or at most one picture file. Anything else is an error. The
// help ends with `more_help` (the keys).
CommandLine read_command_line(const std::vector<std::string>& arguments, std::string_view version,
                              std::string_view more_help = {});

}  // namespace fe
