#include "app/commands.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "app/live_draw.h"
#include "curve/curve_files.h"
#include "history/history.h"
#include "history/put_back.h"
#include "core/memory_budget.h"
#include "state/state.h"

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
            {"KEY_LOAD_CURVE", StepKind::curve_command},
        };
        for (int k = 0; k < curve_points; ++k) {
            t["VSCROLL" + std::to_string(k + 2) + "_CHANGE"] = StepKind::curve_edit;
            t["EDIT" + std::to_string(k + 10) + "_CHANGE"] = StepKind::curve_edit;
        }
        return t;
    }();
    return table;
}

// How the history keeps what `event` does, if it changes a picture or the
// curve: a dropped curve file is a curve command, any other drop a picture command.
std::optional<StepKind> recorded_kind(const fe::Event& event)
{
    if (event.handler == "MAINFORM_DROPFILES" && drops_curve_file(event)) return StepKind::curve_command;
    const auto recorded = recorded_handlers().find(event.handler);
    if (recorded == recorded_handlers().end()) return std::nullopt;
    return recorded->second;
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

// The document as the last event left it: where the next step starts. A
// control the user changes holds its new value by the time its event
// arrives, and its handler puts that into the document.
PhotoDocument& settled()
{
    static PhotoDocument instance;
    return instance;
}

// The next command that makes a picture (DRAW above all) finds a buffer of
// the adjusted picture's size ready, where the history's budget has room for
// it: the replaced picture often stays in an undo step, so without this every
// press would wait for the system to hand out a new picture's pages.
void prepare_next_picture()
{
    const PhotoDocument& now = state().document();
    const Picture& adjusted = now.pictures[adjusted_slot];
    const std::uint64_t bytes = picture_bytes(adjusted.width(), adjusted.height());
    // Most events find the memory in hand; only the others weigh the budget,
    // which asks the system.
    if (pixel_memory_in_hand(bytes)) return;
    if (history().kept_bytes(now) + spare_pixel_bytes() + bytes > history_budget_bytes()) return;
    if (allocation_fits(bytes)) prepare_pixel_memory(bytes);
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
    run();
    if (const std::optional<StepKind> recorded = recorded_kind(event); !recorded) {
        if (command) history().end_curve_run();
    } else {
        history().record(*recorded, settled(), state().document());
        if (*recorded != StepKind::picture_command) ask_for_live_pass();
    }
    // After every event but a pointer move, which changes only the readout.
    if (event.handler.ends_with("_MOUSEMOVE")) return;
    settled() = state().document();
    prepare_next_picture();
}

void KEY_UNDO()
{
    if (std::optional<PhotoDocument> back = history().undo(state().document())) put_back(std::move(*back));
    else if (history().take_change_not_kept())
        fe::message("The last change cannot be undone: its pictures did not fit in the memory undo may use.");
}

void KEY_REDO()
{
    if (std::optional<PhotoDocument> back = history().redo(state().document())) put_back(std::move(*back));
}

void reset_history()
{
    history() = History{};
    settled() = state().document();
}

}  // namespace korven
