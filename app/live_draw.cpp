#include "app/live_draw.h"

#include <utility>

#include "app/layouts.h"
#include "colour/draw_button.h"
#include "state/state.h"

namespace korven {

namespace {

struct LiveDraw {
    bool on = false;
    bool pass_waiting = false;
};

LiveDraw& live()
{
    static LiveDraw instance;
    return instance;
}

}  // namespace

void KEY_LIVE_DRAW()
{
    live().on = !live().on;
    const std::string& title = main_form_layout().caption;
    fe::set_window_text(ui().MAINFORM, live().on ? title + " (live)" : title);
}

void ask_for_live_pass()
{
    if (!live().on || live().pass_waiting) return;
    live().pass_waiting = true;
    fe::post_event({.handler = "LIVE_DRAW_PASS"});
}

void finish_live_pass() { LIVE_DRAW_PASS(); }

void LIVE_DRAW_PASS()
{
    if (std::exchange(live().pass_waiting, false)) BUTTON1_ON();
}

void reset_live_draw() { live() = LiveDraw{}; }

}  // namespace korven
