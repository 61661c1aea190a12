#include "app/layouts.h"

#include <array>
#include <string>

namespace korven {

namespace {

using fe::ControlKind;
using fe::ControlLayout;

ControlLayout button(std::string name, std::string caption, int x, int y, int w, int h)
{
    return {.name = std::move(name), .kind = ControlKind::PushButton, .text = std::move(caption),
            .x = x, .y = y, .width = w, .height = h};
}

ControlLayout label(std::string name, std::string caption, int x, int y, int w, int h, bool flag = false)
{
    return {.name = std::move(name), .kind = ControlKind::Label, .text = std::move(caption),
            .x = x, .y = y, .width = w, .height = h, .font_flag = flag};
}

ControlLayout field(std::string name, std::string text, int x, int y, int w, int h, int max_length,
                    bool digits_only = false)
{
    return {.name = std::move(name), .kind = ControlKind::TextField, .text = std::move(text),
            .x = x, .y = y, .width = w, .height = h, .max_length = max_length, .digits_only = digits_only};
}

ControlLayout check(std::string name, std::string caption, int x, int y, int w, int h, bool checked,
                    bool flag)
{
    return {.name = std::move(name), .kind = ControlKind::CheckBox, .text = std::move(caption),
            .x = x, .y = y, .width = w, .height = h, .checked = checked, .font_flag = flag};
}

ControlLayout radio(std::string name, std::string caption, int x, int y, bool checked)
{
    return {.name = std::move(name), .kind = ControlKind::RadioButton, .text = std::move(caption),
            .x = x, .y = y, .width = 39, .height = 15, .checked = checked};
}

ControlLayout scroll_bar(std::string name, ControlKind kind, int x, int y, int w, int h, int maximum,
                         int large_step)
{
    return {.name = std::move(name), .kind = kind, .x = x, .y = y, .width = w, .height = h,
            .minimum = 0, .maximum = maximum, .small_step = 1, .large_step = large_step};
}

constexpr std::array<int, 33> slider_x = {9,   26,  43,  60,  78,  95,  112, 129, 146, 164, 181,
                                          198, 215, 233, 250, 267, 284, 301, 319, 336, 353, 370,
                                          388, 405, 422, 439, 457, 474, 491, 508, 525, 543, 560};
constexpr std::array<int, 33> curve_field_x = {0,   17,  34,  52,  69,  86,  103, 121, 138, 155, 172,
                                               189, 207, 224, 241, 258, 276, 293, 310, 327, 345, 362,
                                               379, 396, 413, 431, 448, 465, 482, 500, 517, 534, 551};

fe::WindowLayout make_main_form()
{
    fe::WindowLayout form{.name = "MAINFORM", .caption = "KORVEN", .x = 418, .y = -7, .width = 593,
                          .height = 522, .resizable = false, .closable = true, .accepts_drops = true};
    form.controls = {
        button("BUTTON2", "LOAD", 9, 60, 52, 23),
        {.name = "EDIT1", .kind = ControlKind::TextField, .x = 112, .y = 9, .width = 349, .height = 26,
         .font_size = 12},
        label("TEXT1", "Size:(0000,0000)", 465, 9, 113, 17),
        button("BUTTON3", "Linear", 284, 189, 49, 25),
        button("BUTTON4", "log", 336, 189, 49, 25),
        field("EDIT2", "1", 241, 189, 39, 23, 6),
        field("EDIT3", "0", 78, 189, 39, 23, 6),
        label("TEXT2", "factor", 241, 172, 43, 15),
        label("TEXT3", "the lower limit", 17, 172, 94, 15),
        button("BUTTON5", "exp", 388, 189, 49, 25),
        button("BUTTON6", "SAVE", 60, 60, 52, 23),
        label("TEXT4", "Original Image", 0, 9, 108, 17, true),
        button("BUTTON1", "DRAW", 517, 189, 65, 25),
        button("BUTTON7", "Analysis", 78, 86, 66, 23),
        button("BUTTON8", "back to Original", 345, 86, 118, 23),
        button("BUTTON9", "Switch", 9, 86, 66, 23),
        radio("RADIO1", "All", 439, 189, true),
        radio("RADIO2", "R", 482, 189, false),
        radio("RADIO3", "G", 439, 207, false),
        radio("RADIO4", "B", 482, 207, false),
        button("BUTTON12", "Change Original", 465, 86, 118, 23),
        label("TEXT44", "0", 9, 215, 12, 15),
        label("TEXT45", "64", 146, 215, 17, 15),
        label("TEXT46", "128", 276, 215, 25, 15),
        label("TEXT47", "192", 413, 215, 25, 15),
        label("TEXT48", "255", 551, 215, 25, 15),
        label("TEXT49", "the upper limit", 129, 172, 96, 15),
        field("EDIT9", "256", 189, 189, 39, 23, 6),
        label("TEXT9", "(X,Y)=(0000,0000)", 457, 34, 121, 17),
        field("EDIT8", "4", 112, 34, 31, 23, 2, true),
        check("CHECK2", "in x", 60, 34, 50, 20, false, true),
        check("CHECK3", "Copy the Coordinate", 276, 34, 170, 16, false, true),
        check("CHECK4", "Adjastment", 121, 60, 102, 20, true, true),
        field("EDIT4", "100", 155, 121, 48, 23, 4, true),
        field("EDIT5", "100", 224, 121, 48, 23, 4, true),
        field("EDIT6", "64", 319, 121, 48, 23, 4, true),
        field("EDIT7", "64", 422, 121, 48, 23, 4, true),
        label("TEXT11", "X:", 138, 121, 12, 15),
        label("TEXT12", "Y:", 207, 121, 12, 15),
        label("TEXT13", "Width:", 276, 121, 41, 17),
        label("TEXT14", "Height:", 370, 121, 47, 17),
        check("CHECK1", "Trimming Box", 9, 121, 126, 21, false, true),
        check("CHECK5", "Measure", 224, 60, 84, 20, false, true),
        label("TEXT16", "", 319, 60, 261, 17),
        button("BUTTON13", "Resizing", 276, 146, 78, 22),
        field("EDIT43", "0", 482, 121, 68, 23, 7),
        button("BUTTON14", "Rotating", 500, 146, 78, 22),
        label("TEXT17", "deg", 551, 121, 27, 20),
        {.name = "CHECK6", .kind = ControlKind::CheckBox, .text = "Avarage Color", .x = 362, .y = 146,
         .width = 118, .height = 20},
        button("BUTTON15", "Line Color", 9, 146, 78, 22),
        button("BUTTON11", "Trimming", 86, 146, 78, 22),
        label("TEXT18", "Adjasted>Size:(0000,0000)", 155, 86, 187, 17),
        button("BUTTON16", "True Ratio", 198, 146, 76, 22),
        check("CHECK7", "out  1/", 146, 34, 70, 20, false, true),
        field("EDIT44", "2", 224, 34, 31, 23, 2, true),
        label("TEXT19", "Zoom", 9, 34, 44, 16, true),
        field("EDIT45", "0", 17, 189, 39, 23, 6),
        label("TEXT20", ">>", 60, 189, 17, 17),
        field("EDIT46", "256", 129, 189, 39, 23, 6),
        label("TEXT21", ">>", 172, 189, 17, 15),
    };
    for (int k = 0; k < 33; ++k)
        form.controls.push_back(scroll_bar("VSCROLL" + std::to_string(k + 2), ControlKind::VScrollBar,
                                           slider_x[k], 233, 17, 197, 255, 8));
    for (int k = 0; k < 33; ++k)
        form.controls.push_back(field("EDIT" + std::to_string(k + 10), "", curve_field_x[k],
                                      k % 2 == 0 ? 431 : 457, 34, 23, 3, true));
    return form;
}

fe::WindowLayout make_picture_form()
{
    fe::WindowLayout form{.name = "FORM2", .caption = "KORVEN-Picture", .x = 351, .y = 346,
                          .width = 382, .height = 408, .resizable = true, .closable = false,
                          .accepts_drops = false, .keeps_drawing = true};
    form.controls = {
        scroll_bar("HSCROLL1", ControlKind::HScrollBar, 14, 0, 360, 14, 10000, 16),
        scroll_bar("VSCROLL1", ControlKind::VScrollBar, 0, 14, 14, 360, 10000, 16),
    };
    return form;
}

}  // namespace

const fe::WindowLayout& main_form_layout()
{
    static const fe::WindowLayout layout = make_main_form();
    return layout;
}

const fe::WindowLayout& picture_form_layout()
{
    static const fe::WindowLayout layout = make_picture_form();
    return layout;
}

}  // namespace korven
