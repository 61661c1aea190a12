#pragma once
// Live DRAW: while it is on, every change of the curve runs DRAW as the button
// does. The program has one thread, so a pass runs inside the event loop: a
// change asks for one and it is queued once; changes that arrive before it
// runs join it, and it draws the curve the sliders show when it runs.

namespace korven {

// Ctrl+L: switches live DRAW on or off; the main window's title says "KORVEN
// (live)" while it is on.
void KEY_LIVE_DRAW();

// After a change of the curve: queues a pass while live DRAW is on, unless one waits already.
void ask_for_live_pass();

// Runs a waiting pass now, so that what comes next finds the curve drawn.
void finish_live_pass();

// The queued pass.
void LIVE_DRAW_PASS();

// Off, with no pass waiting, as in a fresh program.
void reset_live_draw();

}  // namespace korven
