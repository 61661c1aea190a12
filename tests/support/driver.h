#pragma once
// Talks to the running program the way a person would: by control name.
// Each test gets a freshly started program with scripted dialogs.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "state/state.h"
#include "platform/testing.h"

namespace korven::test {

// Starts the program afresh (offscreen) before each test, with the test hook on.
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

fe::Control control(std::string_view name);  // on either window

void click(std::string_view name);
void type(std::string_view name, std::string_view text);  // appended, key by key
void clear(std::string_view name);
void retype(std::string_view name, std::string_view text);  // clear, then type
void move_slider(std::string_view name, int position);
void drop(const std::vector<std::string>& paths);
// Keys ("Ctrl+Z") pressed while the main window, or `window`, is the active window.
void press(std::string_view keys);
void press(std::string_view keys, fe::Window window);
void answer_next_dialog(std::string answer);
void answer_next_question(bool yes);

// Puts `picture` in the document's slot (original or adjusted), as a command
// would; or sets one pixel of the picture there, in a new picture.
void put_picture(int slot, Picture picture);
void mark_pixel(int slot, int x, int y, Colour colour);

std::string text(std::string_view name);
bool checked(std::string_view name);
bool enabled(std::string_view name);
int slider(std::string_view name);
std::string caption(fe::Window window);  // as the window system shows it
const std::vector<std::string>& messages();

// A picture file of tests/data, the folder the build names in KORVEN_TEST_DATA.
std::string testdata(std::string_view relative);

}  // namespace korven::test
