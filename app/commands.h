#pragma once
// Every event reaches its handler through `dispatch`. The table below it names
// the handlers that change a picture or the curve; around those the history
// keeps a step, and after a change of the curve live DRAW asks for a pass.

#include "state/handler_table.h"

namespace korven {

// Runs the handler of `event`, if `table` has one.
void dispatch(const HandlerTable& table, const fe::Event& event);

// Ctrl+Z and Ctrl+Shift+Z (or Ctrl+Y).
void KEY_UNDO();
void KEY_REDO();

// An empty history that starts from the program as it is now.
void reset_history();

}  // namespace korven
