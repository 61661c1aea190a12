#include "tests/support/driver.h"

#include <cstdlib>
#include <stdexcept>
#include <utility>

#include "tests/support/random_session.h"
#include "tests/support/script.h"

namespace korven::test {

void ProgramTest::SetUp() { start_program_afresh(); }

void ProgramTest::TearDown()
{
    fe::testing::destroy_windows();
    fe::testing::script() = fe::testing::Script{};
}

fe::Control control(std::string_view name)
{
    for (fe::Window window : {ui().MAINFORM, ui().FORM2})
        if (fe::Control found = fe::get_dlg_item(window, name)) return found;
    throw std::invalid_argument("no control named " + std::string(name));
}

void click(std::string_view name) { fe::testing::click(control(name)); }
void type(std::string_view name, std::string_view text) { fe::testing::type_text(control(name), text); }
void clear(std::string_view name) { fe::testing::clear_text(control(name)); }

void retype(std::string_view name, std::string_view text)
{
    clear(name);
    type(name, text);
}

void move_slider(std::string_view name, int position) { fe::testing::move_slider(control(name), position); }
void drop(const std::vector<std::string>& paths) { fe::testing::drop_files(ui().MAINFORM, paths); }
void press(std::string_view keys) { press(keys, ui().MAINFORM); }
void press(std::string_view keys, fe::Window window) { fe::testing::press_keys(window, keys); }
void answer_next_dialog(std::string answer) { fe::testing::script().dialog_answers.push_back(std::move(answer)); }
void answer_next_question(bool yes) { fe::testing::script().question_answers.push_back(yes); }

void put_picture(int slot, Picture picture) { state().pictures.set(slot, std::move(picture)); }

void mark_pixel(int slot, int x, int y, Colour colour)
{
    Picture marked = state().pictures[slot];
    marked.at(x, y) = colour;
    put_picture(slot, std::move(marked));
}

std::string text(std::string_view name) { return fe::get_window_text(control(name)); }
bool checked(std::string_view name) { return fe::get_check(control(name)) == 1; }
bool enabled(std::string_view name) { return fe::is_window_enabled(control(name)); }
int slider(std::string_view name) { return fe::get_scroll_pos(control(name)); }
std::string caption(fe::Window window) { return fe::testing::shown_caption(window); }
const std::vector<std::string>& messages() { return fe::testing::script().messages; }

std::string testdata(std::string_view relative)
{
    return std::string(KORVEN_TEST_DATA) + "/" + std::string(relative);
}

}  // namespace korven::test
