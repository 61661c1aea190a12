#pragma once
// What tests put in place of the world outside the program: scripted answers
// to dialogs and questions, captured messages, a machine with as much memory
// as a test says, a disk that fills up on request, and a count of busy
// cursors. Linked into tests instead of the program's own versions.

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace fe::testing {

struct Script {
    std::deque<std::string> dialog_answers;   // empty: a dialog returns cancel_text
    std::deque<bool> question_answers;        // empty: a question is answered "no"
    std::deque<std::optional<int>> number_answers;  // empty: the number offered is taken; nullopt: Escape
    std::vector<int> numbers_offered;         // the number each number dialog offered, in order
    std::vector<std::string> dialog_titles;   // every dialog shown, in order
    std::vector<std::string> messages;        // every message and question shown, in order
    bool fail_next_write = false;             // the next file written stops part-way, the disk full
    std::uint64_t memory_bytes = 0;           // not 0: the memory the machine seems to have
    int busy_cursors_shown = 0;               // how often the busy cursor went up
    int busy_cursors_up = 0;                  // how many are up now
};

// The script in force; tests fill it and read it back.
Script& script();

inline bool busy_cursor_up() { return script().busy_cursors_up > 0; }

}  // namespace fe::testing
