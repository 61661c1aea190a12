// The runtime's event rules, on a small window of its own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/form.h"
#include "platform/testing.h"
#include "tests/support/script.h"

namespace fe {
namespace {

WindowLayout test_layout(bool closable)
{
    WindowLayout layout{.name = closable ? "MAIN" : "PICTURE", .caption = "Test", .x = 10, .y = 10,
                        .width = 300, .height = 200, .resizable = !closable, .closable = closable,
                        .accepts_drops = closable, .keeps_drawing = !closable};
    layout.controls = {
        {.name = "BUTTON1", .kind = ControlKind::PushButton, .text = "Go", .x = 5, .y = 5, .width = 60, .height = 23},
        {.name = "CHECK1", .kind = ControlKind::CheckBox, .text = "Box", .x = 5, .y = 30, .width = 80, .height = 20},
        {.name = "EDIT1", .kind = ControlKind::TextField, .text = "12", .x = 5, .y = 55, .width = 60, .height = 23,
         .max_length = 3, .digits_only = true},
        {.name = "VSCROLL1", .kind = ControlKind::VScrollBar, .x = 100, .y = 5, .width = 17, .height = 150,
         .minimum = 0, .maximum = 255, .small_step = 1, .large_step = 8},
    };
    return layout;
}

class RuntimeEvents : public ::testing::Test {
protected:
    void SetUp() override
    {
        testing::destroy_windows();
        testing::script() = testing::Script{};
        set_event_sink([this](const Event& event) { events.push_back(event); });
        main = create_window(test_layout(true));
        picture = create_window(test_layout(false));
    }
    void TearDown() override
    {
        set_event_sink(nullptr);
        testing::destroy_windows();
        testing::script() = testing::Script{};
    }
    std::vector<std::string> names() const
    {
        std::vector<std::string> result;
        for (const Event& event : events) result.push_back(event.handler);
        return result;
    }
    Control item(const char* name) { return get_dlg_item(main, name); }

    std::vector<Event> events;
    Window main, picture;
};

using Names = std::vector<std::string>;

TEST_F(RuntimeEvents, ProgramTextChangesRaiseChangeAtOnceButPositionsAndChecksDoNot)
{
    set_window_text(item("EDIT1"), "300");
    EXPECT_EQ(names(), Names{"EDIT1_CHANGE"});  // delivered before set_window_text returns
    events.clear();
    set_scroll_pos(item("VSCROLL1"), 40);
    set_scroll_range(item("VSCROLL1"), 0, 20);  // clamps the position, quietly
    set_check(item("CHECK1"), 1);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(get_scroll_pos(item("VSCROLL1")), 20);
    EXPECT_EQ(get_check(item("CHECK1")), 1);
}

TEST_F(RuntimeEvents, UserActionsRaiseOnAndChange)
{
    testing::click(item("BUTTON1"));
    testing::click(item("CHECK1"));
    testing::move_slider(item("VSCROLL1"), 7);
    testing::type_text(item("EDIT1"), "3");
    EXPECT_EQ(names(), (Names{"BUTTON1_ON", "CHECK1_ON", "VSCROLL1_CHANGE", "EDIT1_CHANGE"}));
    EXPECT_EQ(get_check(item("CHECK1")), 1);
    EXPECT_EQ(get_scroll_pos(item("VSCROLL1")), 7);
    EXPECT_EQ(get_window_text(item("EDIT1")), "123");
}

TEST_F(RuntimeEvents, DigitsOnlyFieldsRefuseLettersAndExtraDigits)
{
    testing::type_text(item("EDIT1"), "a");
    EXPECT_EQ(get_window_text(item("EDIT1")), "12");
    testing::type_text(item("EDIT1"), "34");
    EXPECT_EQ(get_window_text(item("EDIT1")), "123");  // at most 3 characters
    testing::clear_text(item("EDIT1"));
    EXPECT_EQ(get_window_text(item("EDIT1")), "");
    // Text the program sets is neither cut nor filtered; the user still may
    // not lengthen it or add letters, but may shorten it.
    set_window_text(item("EDIT1"), "-15000");
    EXPECT_EQ(get_window_text(item("EDIT1")), "-15000");
    testing::type_text(item("EDIT1"), "7a");
    EXPECT_EQ(get_window_text(item("EDIT1")), "-15000");
    testing::type_text(item("EDIT1"), "\b");
    EXPECT_EQ(get_window_text(item("EDIT1")), "-1500");
}

TEST_F(RuntimeEvents, DisabledControlsTakeNoUserInput)
{
    enable_window(item("BUTTON1"), false);
    testing::click(item("BUTTON1"));
    EXPECT_TRUE(events.empty());
    EXPECT_FALSE(is_window_enabled(item("BUTTON1")));
}

TEST_F(RuntimeEvents, WindowSizesAreOuterSizesAndResizingIsReportedAtOnce)
{
    EXPECT_EQ(get_width(picture), 300);
    EXPECT_EQ(get_height(picture), 200);
    EXPECT_EQ(testing::window_geometry(picture).width, 300);
    set_window_size(picture, 122, 98);
    EXPECT_EQ(names(), Names{"PICTURE_RESIZE"});
    EXPECT_EQ(get_width(picture), 122);
    EXPECT_EQ(get_height(picture), 98);
    events.clear();
    set_window_size(picture, 122, 98);  // no change, no event
    testing::process_events();
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(testing::is_resizable(picture));
    EXPECT_FALSE(testing::is_resizable(main));
    set_window_size(main, 300, 125);  // the program may resize a fixed window; the user may not
    EXPECT_EQ(get_height(main), 125);
    EXPECT_FALSE(testing::is_resizable(main));
}

TEST_F(RuntimeEvents, MouseAndDropEventsCarryTheirData)
{
    show_window(picture);
    testing::click_at(picture, 20, 30);  // the pointer's move there is reported first
    testing::move_mouse(picture, 40, 50);
    // Over a child control the window hears the pointer too, and the control still works.
    testing::move_mouse(picture, 108, 100);
    testing::click_at(picture, 108, 100);
    testing::drop_files(main, {"/tmp/a.bmp", "/tmp/b.bmp"});
    ASSERT_EQ(names(), (Names{"PICTURE_MOUSEMOVE", "PICTURE_CLICK", "PICTURE_MOUSEMOVE", "PICTURE_MOUSEMOVE",
                              "VSCROLL1_CHANGE", "PICTURE_CLICK", "MAIN_DROPFILES"}));
    EXPECT_EQ(events[1].x, 20);
    EXPECT_EQ(events[1].y, 30);
    EXPECT_EQ(events[2].x, 40);
    EXPECT_EQ(events[3].x, 108);
    EXPECT_EQ(events[5].y, 100);
    EXPECT_EQ(fb::get_drop_file_count(events[6]), 2);
    EXPECT_EQ(fb::get_drop_file_name(events[6], 1), "/tmp/b.bmp");
    EXPECT_EQ(fb::get_drop_file_name(events[6], 2), "");

    // A disabled control lets the click through to the window alone.
    enable_window(get_dlg_item(picture, "VSCROLL1"), false);
    events.clear();
    testing::click_at(picture, 108, 100);
    EXPECT_EQ(names(), Names{"PICTURE_CLICK"});
}

TEST_F(RuntimeEvents, DialogsFollowTheScriptAndCancelWithEscape)
{
    testing::script().dialog_answers.push_back("/tmp/x.bmp");
    EXPECT_EQ(win_open_dlg(main, "Load Image", "*.bmp", "bmp-Image(*.bmp);jpg-Image(*.jpg)"), "/tmp/x.bmp");
    const std::string cancelled = win_save_dlg(main, "Save as bitmap", "image.bmp", "Bitmap Image(*.bmp)");
    EXPECT_EQ(cancelled, cancel_text);
    ASSERT_EQ(cancelled.size(), 1u);
    EXPECT_EQ(cancelled[0], 27);
    EXPECT_EQ(testing::script().dialog_titles, (Names{"Load Image", "Save as bitmap"}));
    message("Cannot read x.bmp");
    EXPECT_EQ(testing::script().messages, Names{"Cannot read x.bmp"});
    EXPECT_FALSE(ask("Replace?"));  // no scripted answer means "no"
}

TEST_F(RuntimeEvents, ClosingTheMainWindowEndsTheLoopButThePictureWindowCannotClose)
{
    show_window(main);
    show_window(picture);
    testing::close_by_user(picture);
    EXPECT_TRUE(is_window_visible(picture));
    EXPECT_FALSE(testing::has_close_button(picture));
    testing::post([this] { testing::close_by_user(main); });
    EXPECT_EQ(wait_event(), 0);  // returns: the loop ended although the picture window is shown
}

TEST_F(RuntimeEvents, ClipboardTakesText)
{
    fb::set_cb_text("(X,Y)=(  12,  34)");
    EXPECT_EQ(testing::clipboard_text(), "(X,Y)=(  12,  34)");
}

}  // namespace
}  // namespace fe
