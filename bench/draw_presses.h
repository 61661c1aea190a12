#pragma once
// DRAW, undo and redo as the user presses them, each run in a fresh process.

namespace korven::bench {

// When the arguments ask for one run of presses, does it, prints its times
// and returns the exit code; otherwise returns -1.
int run_draw_presses_child(int argc, char** argv);

// Runs the presses with the history on and off on every code path, each in
// a fresh process, and prints the ratios.
void report_draw_presses();

}  // namespace korven::bench
