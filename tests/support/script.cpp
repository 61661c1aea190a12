// The stand-ins tests link in place of the program's dialogs, messages,
// questions, number dialogs, busy cursor, memory probe and file writes (platform/prompts.cpp,
// core/memory_probe.cpp, files/write_all.cpp). Each does what the script says.
#include "tests/support/script.h"

#include <cerrno>

#include "core/memory_budget.h"
#include "files/output_file.h"
#include "platform/form.h"

namespace fe {

namespace testing {

Script& script()
{
    static Script instance;
    return instance;
}

}  // namespace testing

namespace {

std::string next_dialog_answer(std::string_view title)
{
    testing::Script& s = testing::script();
    s.dialog_titles.emplace_back(title);
    if (s.dialog_answers.empty()) return cancel_text;
    std::string answer = std::move(s.dialog_answers.front());
    s.dialog_answers.pop_front();
    return answer;
}

}  // namespace

std::string win_open_dlg(Window, std::string_view title, std::string_view, std::string_view)
{
    return next_dialog_answer(title);
}

std::string win_save_dlg(Window, std::string_view title, std::string_view, std::string_view)
{
    return next_dialog_answer(title);
}

void message(std::string_view text) { testing::script().messages.emplace_back(text); }

bool ask(std::string_view question)
{
    testing::Script& s = testing::script();
    s.messages.emplace_back(question);
    if (s.question_answers.empty()) return false;
    const bool answer = s.question_answers.front();
    s.question_answers.pop_front();
    return answer;
}

std::optional<int> ask_number(std::string_view title, std::string_view, int value, int, int)
{
    testing::Script& s = testing::script();
    s.dialog_titles.emplace_back(title);
    s.numbers_offered.push_back(value);
    if (s.number_answers.empty()) return value;
    const std::optional<int> answer = s.number_answers.front();
    s.number_answers.pop_front();
    return answer;
}

BusyCursor::BusyCursor(bool shown) : shown_(shown)
{
    if (!shown_) return;
    ++testing::script().busy_cursors_shown;
    ++testing::script().busy_cursors_up;
}

BusyCursor::~BusyCursor()
{
    if (shown_) --testing::script().busy_cursors_up;
}

}  // namespace fe

namespace korven {

MemoryLimits current_memory_limits()
{
    if (const std::uint64_t memory = fe::testing::script().memory_bytes; memory != 0)
        return {.physical_bytes = memory};
    return measured_memory_limits();
}

// A full disk takes half of the write it fills up on, then refuses the rest.
bool write_all(int descriptor, const std::byte* bytes, std::size_t length)
{
    bool& fail = fe::testing::script().fail_next_write;
    if (!fail) return write_bytes_to_system(descriptor, bytes, length);  // read only: threads may share it
    fail = false;
    write_bytes_to_system(descriptor, bytes, length / 2);
    errno = ENOSPC;
    return false;
}

}  // namespace korven
