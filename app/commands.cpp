#include "app/commands.h"

#include <string>
#include <string_view>
#include <unordered_map>

#include "app/live_draw.h"
#include "history/history.h"

namespace korven {

namespace {

// The handlers that change a picture or the curve, and how the history keeps each.
const std::unordered_map<std::string, StepKind>& recorded_handlers()
{
    static const auto table = [] {
        std::unordered_map<std::string, StepKind> t{
            {"BUTTON1_ON", StepKind::picture_command},          // "DRAW"
            {"BUTTON2_ON", StepKind::picture_command},          // "LOAD"
            {"MAINFORM_DROPFILES", StepKind::picture_command},  // a dropped file
            {"BUTTON8_ON", StepKind::picture_command},          // "back to Original"
            {"BUTTON12_ON", StepKind::picture_command},         // "Change Original"
            {"BUTTON11_ON", StepKind::picture_command},         // "Trimming"
            {"BUTTON13_ON", StepKind::picture_command},         // "Resizing"
            {"BUTTON14_ON", StepKind::picture_command},         // "Rotating"
            {"BUTTON3_ON", StepKind::curve_command},            // "Linear"
            {"BUTTON4_ON", StepKind::curve_command},            // "log"
            {"BUTTON5_ON", StepKind::curve_command},            // "exp"
        };
        for (int k = 0; k < curve_points; ++k) {
            t["VSCROLL" + std::to_string(k + 2) + "_CHANGE"] = StepKind::curve_edit;
            t["EDIT" + std::to_string(k + 10) + "_CHANGE"] = StepKind::curve_edit;
        }
        return t;
    }();
    return table;
}

// A click, a drop or a key: it ends a run of curve edits, and finds a waiting
// live pass drawn. Changes of fields and bars, pointer moves and resizes do neither.
bool is_command(std::string_view handler)
{
    return handler.ends_with("_ON") || handler.ends_with("_CLICK") || handler.ends_with("_DROPFILES") ||
           handler.starts_with("KEY_");
}

History& history()
{
    static History instance;
    return instance;
}

int handlers_running = 0;

struct Running {
    Running() { ++handlers_running; }
    ~Running() { --handlers_running; }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;
};

}  // namespace

void dispatch(const HandlerTable& table, const fe::Event& event)
{
    const auto handler = table.find(event.handler);
    const auto run = [&] {
        if (handler != table.end()) handler->second(event);
    };
    // Raised inside a running handler (a field's change after its text was
    // set, a resize after the window fit): part of that handler's work.
    if (handlers_running > 0) {
        run();
        return;
    }
    const Running running;
    const bool command = is_command(event.handler);
    if (command) finish_live_pass();
    const auto recorded = recorded_handlers().find(event.handler);
    if (recorded == recorded_handlers().end()) {
        if (command) history().end_curve_run();
        run();
    } else {
        history().record(recorded->second, run);
        if (recorded->second != StepKind::picture_command) ask_for_live_pass();
    }
    // Also after events without a handler: the user may have typed into a field.
    // A pointer move changes only the readout, which no step keeps.
    if (!event.handler.ends_with("_MOUSEMOVE")) history().settle();
}

void KEY_UNDO() { history().undo(); }

void KEY_REDO() { history().redo(); }

void reset_history()
{
    history() = History{};
    history().settle();
}

}  // namespace korven
